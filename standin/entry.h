// How each stand-in function runs: log the call, raise a requested fault, then the test's
// handler if one is set, else the function's default behaviour.
#pragma once

#include <cstdint>
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
void raise_requested_fault(const void* fn);

template <typename First, typename... Rest>
void log_args(const char* function, First first, Rest... rest) {
  if constexpr (std::is_same_v<First, context_t>)
    log_call(function, uint64_t(first), {word(rest)...});
  else
    log_call(function, 0, {word(first), word(rest)...});
}

template <auto Fn, typename Default, typename... A>
auto enter(const char* function, Default&& fallback, A... args) {
  const void* key = reinterpret_cast<const void*>(Fn);
  if (logging()) {
    if constexpr (sizeof...(A) > 0)
      log_args(function, args...);
    else
      log_call(function, 0, {});
  }
  raise_requested_fault(key);
  if (std::shared_ptr<void> h = get_handler(key)) {
    using Handler = typename Signature<Fn>::Handler;
    return (*std::static_pointer_cast<Handler>(h))(args...);
  }
  return fallback();
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
