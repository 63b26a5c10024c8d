// How each stand-in function runs: log the call, raise a requested fault, then the test's
// handler if one is set, else the function's default behaviour.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "standin.h"

namespace standin::detail {

template <typename T>
uint64_t word(T value) {
  if constexpr (std::is_pointer_v<T>)
    return uint64_t(reinterpret_cast<uintptr_t>(value));
  else
    return uint64_t(value);
}

bool end_context(context_t context);  // false when it was not live
void log_call(const char* function, uint64_t context, std::vector<uint64_t> words);
bool logging();  // false in benchmarks
// TARVEX_STANDIN_QUIET is set; functions given a handler, fault, failure or output since the
// last reset, one bit per hash of the function (the others answer without taking a lock).
extern const bool quiet;
extern std::atomic<uint64_t> programmed;
inline uint64_t bit_of(const void* fn) {
  return uint64_t(1) << ((reinterpret_cast<uintptr_t>(fn) >> 4) % 64);
}
// Quiet and nothing programmed for fn (benchmarks): the function goes straight to its default
// behaviour, costing what a library's own entry would, so that what is measured is the bridge.
inline bool bare(const void* fn) {
  return quiet && !(programmed.load(std::memory_order_relaxed) & bit_of(fn));
}
void raise_requested_fault(const void* fn);
std::optional<int32_t> take_failure(const void* fn);
bool output_queued(const void* fn);
// Replaces the block's contents with fn's next queued output; false when none is queued.
bool give_queued_output(const void* fn, mem_blk_t* block);

// The stand-in function running on this thread: the ledger records it with every block.
extern thread_local const char* running;
struct Running {
  const char* previous;
  explicit Running(const char* function) : previous(running) { running = function; }
  ~Running() { running = previous; }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;
};

// A programmed failure of a stream's Update or Final stage ends the stream's handle.
template <typename... A>
void end_streams(const char* function, A... args) {
  if (std::strstr(function, "UpdateMem") == nullptr && std::strstr(function, "FinalMem") == nullptr)
    return;
  auto end = [](auto a) {
    if constexpr (std::is_same_v<decltype(a), strhandle_t*>)
      if (a != nullptr) end_handle(*a);
  };
  (end(args), ...);
}

// The first of the arguments' blocks that holds a buffer of the stand-in's allocator: the
// function's output, since a caller's inputs never come from it.
template <typename... A>
mem_blk_t* first_output(A... args) {
  mem_blk_t* found = nullptr;
  auto look = [&found](auto a) {
    if constexpr (std::is_same_v<decltype(a), mem_blk_t*>)
      if (found == nullptr && a != nullptr && a->buf != nullptr && owns(a->buf)) found = a;
  };
  (look(args), ...);
  return found;
}

template <typename First, typename... Rest>
void log_args(const char* function, First first, Rest... rest) {
  if constexpr (std::is_same_v<First, context_t>)
    log_call(function, uint64_t(first), {word(rest)...});
  else
    log_call(function, 0, {word(first), word(rest)...});
}

template <auto Fn, typename Default, typename... A>
auto enter(const char* function, Default&& fallback, A... args) {
  using R = decltype(fallback());
  const void* key = reinterpret_cast<const void*>(Fn);
  if (bare(key)) return fallback();
  Running scope(function);
  if (logging()) {
    if constexpr (sizeof...(A) > 0)
      log_args(function, args...);
    else
      log_call(function, 0, {});
  }
  raise_requested_fault(key);
  if (std::optional<int32_t> status = take_failure(key)) {
    end_streams(function, args...);
    if constexpr (std::is_pointer_v<R>)
      return R(nullptr);
    else
      return R(*status);
  }
  R result;
  if (std::shared_ptr<void> h = get_handler(key)) {
    using Handler = typename Signature<Fn>::Handler;
    result = (*std::static_pointer_cast<Handler>(h))(args...);
  } else {
    result = fallback();
  }
  if constexpr (sizeof...(A) > 0) {
    if (output_queued(key))
      if (mem_blk_t* out = first_output(args...)) give_queued_output(key, out);
  }
  return result;
}

// The stand-in's digest, fed piece by piece.
struct Hasher {
  uint64_t state = 0xcbf29ce484222325ULL;
  void update(const uint8_t* data, size_t len);
  std::vector<uint8_t> finish() const;
};

// The default of a function that only checks its context.
inline auto live(context_t context) {
  return [context] { return context_live(context) ? 0 : kBadContext; };
}

// Streams, sessions, enumerations and stamps (services.cpp).
int32_t stream_init(context_t c, strhandle_t* h);
int32_t stream_update(context_t c, strhandle_t* h, const mem_blk_t* in, mem_blk_t* out,
                      int32_t* state = nullptr);
int32_t stream_final(context_t c, strhandle_t* h, mem_blk_t* out);
int32_t session_destroy(context_t c, strhandle_t* h);
int32_t session_call(context_t c, strhandle_t h, int32_t selector, const mem_blk_t* in,
                     mem_blk_t* out);
int32_t enumerate(context_t c, strhandle_t* h, mem_blk_t* out);
int32_t stamp(context_t c, const char* url, const mem_blk_t* in, mem_blk_t* out);
int32_t verify_stamp(context_t c, const mem_blk_t* in, tsp_verify_result_t* result);

// Releases for the records the library fills, as the QUMEN_Free* functions do.
void free_string(context_t context, string_t* s, const char* by);
void free_certificate(context_t context, certificate_t* cert, const char* by);
void free_certid(context_t context, certid_t* id, const char* by);
void free_strings(context_t context, string_t** list, int32_t count, const char* by);

}  // namespace standin::detail
