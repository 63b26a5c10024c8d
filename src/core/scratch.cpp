#include "scratch.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

#include "system_memory.h"

namespace tvj {
namespace {

constexpr size_t kFirstChunk = size_t(64) << 10;
constexpr size_t kGrowthCap = size_t(4) << 20;  // chunks double up to this, then come as asked
constexpr size_t kMaxChunks = 64;
constexpr size_t kAlign = 16;

std::atomic<size_t> budget{kDefaultRetain};
std::atomic<size_t> retained{0};  // chunks beyond the first, kept between calls, all threads

struct Chunk {
  char* data;
  size_t size;
};

bool map_chunk(size_t size, Chunk* out) {
  size_t page = page_size();
  if (size > std::numeric_limits<size_t>::max() - page) return false;
  size = (size + page - 1) & ~(page - 1);
  void* p = map_pages(size);
  if (p == nullptr) return false;
  *out = Chunk{static_cast<char*>(p), size};
  return true;
}

void unmap_chunk(const Chunk& c) { unmap_pages(c.data, c.size); }

// chunks[0] is the thread's first chunk, kept for the thread's life and outside the budget.
// The chunks after `current` are free; a call takes the smallest free one that fits.
// current, used, high, charged (bytes of chunks[1..count) counted in `retained`), extra (bytes
// of chunks[1..count)) and depth: ArenaState.
struct Arena : ArenaState {
  Chunk chunks[kMaxChunks] = {};
  size_t count = 0;  // chunks mapped

  ~Arena() {
    for (size_t i = 0; i < count; ++i) unmap_chunk(chunks[i]);
    retained.fetch_sub(charged, std::memory_order_relaxed);
  }

  void* take(size_t size) {
    size = (size + kAlign - 1) & ~(kAlign - 1);
    if (size == 0) size = kAlign;
    if (chunks[current].size - used >= size) {
      void* p = chunks[current].data + used;
      used += size;
      return p;
    }
    size_t next = current + 1;
    size_t best = count;
    for (size_t i = next; i < count; ++i)
      if (chunks[i].size >= size && (best == count || chunks[i].size < chunks[best].size)) best = i;
    if (best == count) {
      if (count == kMaxChunks) return nullptr;
      size_t want = chunks[current].size * 2;
      if (want > kGrowthCap) want = kGrowthCap;
      if (want < size) want = size;
      if (!map_chunk(want, &chunks[count]) && (want == size || !map_chunk(size, &chunks[count])))
        return nullptr;
      extra += chunks[count].size;
      best = count++;
    }
    std::swap(chunks[next], chunks[best]);
    current = next;
    used = size;
    if (current > high) high = current;
    return chunks[current].data;
  }

  // After the outermost call. A call that mapped nothing changes nothing. Otherwise the chunks
  // beyond the first are kept as far as the process's budget allows, and the rest unmapped:
  // first those the call used (the likeliest needs of the next call), then older ones, each
  // group smallest first.
  void settle() {
    size_t last = high;
    current = used = high = 0;
    if (extra == charged) return;
    size_t order[kMaxChunks];
    size_t n = 0;
    auto before = [&](size_t a, size_t b) {
      if ((a <= last) != (b <= last)) return a <= last;
      return chunks[a].size < chunks[b].size;
    };
    for (size_t i = 1; i < count; ++i) {  // insertion sort: a few chunks at most
      size_t j = n++;
      for (; j > 0 && before(i, order[j - 1]); --j) order[j] = order[j - 1];
      order[j] = i;
    }
    bool keep[kMaxChunks] = {};
    size_t kept = 0;
    size_t now = retained.load(std::memory_order_relaxed);
    for (;;) {
      size_t others = now - charged;
      size_t limit = budget.load(std::memory_order_relaxed);
      size_t allowed = others < limit ? limit - others : 0;
      kept = 0;
      for (size_t k = 0; k < n; ++k) {
        size_t size = chunks[order[k]].size;
        keep[order[k]] = kept + size <= allowed;
        if (keep[order[k]]) kept += size;
      }
      if (retained.compare_exchange_weak(now, others + kept, std::memory_order_relaxed)) break;
    }
    size_t out = 1;
    for (size_t i = 1; i < count; ++i) {
      if (keep[i])
        chunks[out++] = chunks[i];
      else
        unmap_chunk(chunks[i]);
    }
    count = out;
    charged = extra = kept;
  }
};

// nullptr only when the arena itself cannot be had; every allocation then fails.
Arena* arena() {
  if (t_arena == nullptr) {
    auto* a = new (std::nothrow) Arena();
    if (a == nullptr) return nullptr;
    if (!map_chunk(kFirstChunk, &a->chunks[0])) {
      delete a;
      return nullptr;
    }
    a->count = 1;
    t_arena = a;
    free_at_thread_exit(a);
  }
  return static_cast<Arena*>(t_arena);
}

}  // namespace

// The arena of this thread. Initial-exec TLS: one pointer of static TLS, reached without a
// call into the dynamic loader.
__thread ArenaState* t_arena __attribute__((tls_model("initial-exec"))) = nullptr;

ArenaState* make_arena() { return arena(); }

// When the thread ends (core/system_memory.h).
void free_thread_arena(void* arena) {
  delete static_cast<Arena*>(arena);
  t_arena = nullptr;
}

void settle_arena(ArenaState* a) { static_cast<Arena*>(a)->settle(); }

void* scratch_alloc(size_t size) {
  Arena* a = arena();
  return a != nullptr ? a->take(size) : nullptr;
}

void set_scratch_budget(size_t bytes) { budget.store(bytes, std::memory_order_relaxed); }
size_t scratch_budget() { return budget.load(std::memory_order_relaxed); }
size_t scratch_retained() { return retained.load(std::memory_order_relaxed); }

bool parse_scratch_size(const char* text, size_t* bytes) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  size_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    size_t digit = size_t(*text - '0');
    if (value > (std::numeric_limits<size_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  int shift = 0;
  switch (*text) {
    case '\0':
      break;
    case 'k':
    case 'K':
      shift = 10;
      break;
    case 'm':
    case 'M':
      shift = 20;
      break;
    case 'g':
    case 'G':
      shift = 30;
      break;
    default:
      return false;
  }
  if (shift != 0 && *++text != '\0') return false;
  if (value > (std::numeric_limits<size_t>::max() >> shift)) return false;
  *bytes = value << shift;
  return true;
}

}  // namespace tvj
