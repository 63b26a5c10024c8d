// The bridge's own memory for one call: the narrow copies of Java strings, the element arrays
// of parameter records and the copies of input bytes.
//
// Each thread owns one arena. A call takes blocks from it as its arguments are converted and
// gives all of them back at once when the call ends (`CallMemory`), so nothing the bridge
// allocates can outlive a call, whichever path it leaves by. The arena keeps its largest chunk
// for the thread's next call, up to kRetainLimit: a call's inputs are copied into warm memory
// instead of a fresh allocation, which matters most for large blocks (a fresh region above
// glibc's mmap threshold page-faults on every call).
//
// Input bytes are copied rather than pinned. On HotSpot GetByteArrayElements copies anyway;
// a copy released without writing back is what unpinning with JNI_ABORT gives, so the native
// library can never write into a caller's array, and no array has to stay referenced until
// the clean-up.
#pragma once

#include <cstddef>

namespace tvj {

inline constexpr size_t kRetainLimit = size_t(64) << 20;

// A block of `size` bytes, 16-byte aligned, from this thread's arena; nullptr when no memory.
// Valid until the outermost CallMemory of the thread ends.
void* scratch_alloc(size_t size);

// Marks the arena on entry and gives back everything taken since, on exit.
class CallMemory {
 public:
  CallMemory();
  ~CallMemory();
  CallMemory(const CallMemory&) = delete;
  CallMemory& operator=(const CallMemory&) = delete;

 private:
  void* arena_;  // this thread's arena, or null when it could not be had
  size_t chunk_;
  size_t used_;
};

}  // namespace tvj
