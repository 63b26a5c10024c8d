#include "scratch.h"

#include <pthread.h>

#include <cstdlib>
#include <new>

namespace tvj {
namespace {

constexpr size_t kFirstChunk = size_t(64) << 10;
constexpr size_t kMaxChunks = 48;  // chunks grow geometrically: far more than any call needs
constexpr size_t kAlign = 16;

struct Chunk {
  char* data;
  size_t size;
};

struct Arena {
  Chunk chunks[kMaxChunks] = {};
  size_t count = 0;    // chunks allocated
  size_t current = 0;  // chunk being filled
  size_t used = 0;     // bytes taken from the current chunk
  int depth = 0;       // CallMemory scopes open on this thread

  ~Arena() {
    for (size_t i = 0; i < count; ++i) std::free(chunks[i].data);
  }

  void* take(size_t size) {
    size = (size + kAlign - 1) & ~(kAlign - 1);
    if (size == 0) size = kAlign;
    if (count > 0 && chunks[current].size - used >= size) {
      void* p = chunks[current].data + used;
      used += size;
      return p;
    }
    size_t next = count == 0 ? 0 : current + 1;
    if (next < count && chunks[next].size < size) drop_from(next);
    if (next >= count && !grow(size)) return nullptr;
    current = next;
    used = size;
    return chunks[current].data;
  }

  bool grow(size_t size) {
    if (count == kMaxChunks) return false;
    size_t want = count == 0 ? kFirstChunk : chunks[count - 1].size * 2;
    if (want < size) want = size;
    void* p = std::malloc(want);
    if (p == nullptr && want > size) p = std::malloc(want = size);
    if (p == nullptr) return false;
    chunks[count++] = Chunk{static_cast<char*>(p), want};
    return true;
  }

  void drop_from(size_t first) {
    for (size_t i = first; i < count; ++i) std::free(chunks[i].data);
    count = first;
  }

  // After the outermost call: keep one chunk big enough for what the call needed, within
  // the retention limit, so the next call of the same size takes no new memory.
  void settle() {
    current = 0;
    used = 0;
    if (count <= 1 && (count == 0 || chunks[0].size <= kRetainLimit)) return;
    size_t total = 0;
    for (size_t i = 0; i < count; ++i) total += chunks[i].size;
    drop_from(0);
    if (total > kRetainLimit) total = kFirstChunk;
    if (void* p = std::malloc(total)) chunks[count++] = Chunk{static_cast<char*>(p), total};
  }
};

// The arena of this thread. Initial-exec TLS: one pointer of static TLS, reached without a
// call into the dynamic loader.
__thread Arena* t_arena __attribute__((tls_model("initial-exec"))) = nullptr;

pthread_key_t arena_key;
pthread_once_t arena_key_once = PTHREAD_ONCE_INIT;

void free_arena(void* arena) { delete static_cast<Arena*>(arena); }
void make_arena_key() { pthread_key_create(&arena_key, free_arena); }

// nullptr only when the arena itself cannot be allocated; every allocation then fails.
Arena* arena() {
  if (t_arena == nullptr) {
    pthread_once(&arena_key_once, make_arena_key);
    t_arena = new (std::nothrow) Arena();
    if (t_arena != nullptr) pthread_setspecific(arena_key, t_arena);  // freed at thread exit
  }
  return t_arena;
}

}  // namespace

void* scratch_alloc(size_t size) {
  Arena* a = arena();
  return a != nullptr ? a->take(size) : nullptr;
}

CallMemory::CallMemory() : arena_(arena()), chunk_(0), used_(0) {
  if (Arena* a = static_cast<Arena*>(arena_)) {
    chunk_ = a->current;
    used_ = a->used;
    ++a->depth;
  }
}

CallMemory::~CallMemory() {
  Arena* a = static_cast<Arena*>(arena_);
  if (a == nullptr) return;
  a->current = chunk_;
  a->used = used_;
  if (--a->depth == 0) a->settle();
}

}  // namespace tvj
