// The bridge's own memory for one call: the narrow copies of Java strings, the element arrays
// of parameter records and the copies of input bytes.
//
// Each thread owns one arena. A call takes blocks from it as its arguments are converted and
// gives all of them back at once when the call ends (`CallMemory`), so nothing the bridge
// allocates can outlive a call, whichever path it leaves by.
//
// Memory kept between calls. Every chunk of an arena is mapped directly from the system (mmap,
// VirtualAlloc: core/system_memory.h), never taken from malloc, so a chunk given back really
// goes back to the system instead of staying in a malloc arena. Each thread keeps its first chunk
// (64 KiB, enough for every small call) for as long as it lives; larger chunks are kept for the
// thread's next call only within a budget shared by the whole process, so that a pool of many
// threads does not keep a copy of its largest block each. A chunk kept is warm: the next call of
// the same size copies its input into memory that is already mapped instead of page-faulting
// through fresh memory. A thread's chunks are all returned when the thread ends. The small-call
// path takes no lock and touches no shared state: the budget is settled with one atomic operation,
// and only after a call that mapped or gave back a chunk.
//
// The budget is kDefaultRetain, or the value of the system property `tarvexjni.scratch.retain`
// (else the environment variable TARVEXJNI_SCRATCH_RETAIN) read once when the library loads:
// a number of bytes with an optional suffix k, m or g (KiB, MiB, GiB); 0 keeps nothing beyond
// each thread's first chunk. A value that does not parse is ignored.
//
// Input bytes are copied rather than pinned. On HotSpot GetByteArrayElements copies anyway;
// a copy released without writing back is what unpinning with JNI_ABORT gives, so the native
// library can never write into a caller's array, and no array has to stay referenced until
// the clean-up.
#pragma once

#include <cstddef>

namespace tvj {

inline constexpr size_t kDefaultRetain = size_t(256) << 20;

// A block of `size` bytes, 16-byte aligned, from this thread's arena; nullptr when no memory.
// Valid until the outermost CallMemory of the thread ends.
void* scratch_alloc(size_t size);

// What a call marks of its thread's arena, and what the end of the outermost call looks at.
struct ArenaState {
  size_t current = 0;  // chunk being filled
  size_t used = 0;     // bytes taken from the current chunk
  size_t high = 0;     // the highest chunk the current call has taken from
  size_t charged = 0;  // bytes of the chunks beyond the first counted in the process's total
  size_t extra = 0;    // bytes of the chunks beyond the first
  int depth = 0;       // CallMemory scopes open on this thread
};

// This thread's arena once made (initial-exec TLS: reached without a call).
extern __thread ArenaState* t_arena __attribute__((tls_model("initial-exec")));
// This thread's arena, made on first use; null when it cannot be had.
ArenaState* make_arena();
// After the outermost call that took from or mapped a chunk beyond the first: keeps what the
// budget allows, unmaps the rest.
void settle_arena(ArenaState* arena);

// Marks the arena on entry and gives back everything taken since, on exit.
class CallMemory {
 public:
  CallMemory() : arena_(t_arena != nullptr ? t_arena : make_arena()) {
    if (arena_ == nullptr) return;
    chunk_ = arena_->current;
    used_ = arena_->used;
    ++arena_->depth;
  }
  ~CallMemory() {
    if (arena_ == nullptr) return;
    arena_->current = chunk_;
    arena_->used = used_;
    if (--arena_->depth == 0 && (arena_->high != 0 || arena_->extra != arena_->charged))
      settle_arena(arena_);
  }
  CallMemory(const CallMemory&) = delete;
  CallMemory& operator=(const CallMemory&) = delete;

 private:
  ArenaState* arena_;  // this thread's arena, or null when it could not be had
  size_t chunk_ = 0;
  size_t used_ = 0;
};

// The budget for chunks kept between calls by all threads together (beyond each thread's first
// chunk). Set when the library loads; a lower value later takes nothing back from a thread
// until one of its calls maps or gives back a chunk.
void set_scratch_budget(size_t bytes);
size_t scratch_budget();
// Bytes of chunks kept between calls now, by all threads (first chunks not counted).
size_t scratch_retained();

// "256m", "1g", "65536", "0": bytes; false for anything else (then `bytes` is unchanged).
bool parse_scratch_size(const char* text, size_t* bytes);

}  // namespace tvj
