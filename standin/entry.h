// How each stand-in function runs: log the call, raise a requested fault, then the test's
// handler if one is set, else the function's default behaviour.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "jvm.h"
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

// A call's place in the log: the log's generation (each clear starts one) and its index among
// the calls of that generation, counted from 0 (the log may have dropped it since).
struct CallRef {
  uint64_t generation = 0;
  int64_t index = -1;
};
// The thread that calls, as the log and the rules name it (thread_number(), and a Java thread's
// name).
struct Caller {
  uint64_t thread = 0;
  std::string name;
};
Caller caller();

// Where a context or a handle was opened: during which reset's epoch (reset() starts the next),
// by which call and thread, from which Java frames (where the kit started the stand-in in a
// JVM). What is still open of the current epoch is what a test left open.
struct Origin {
  uint64_t epoch = 0;
  const char* function = nullptr;
  CallRef call;
  uint64_t thread = 0;
  std::string thread_name;
  std::vector<jvm::Frame> frames;
};
Origin origin_here();
uint64_t current_epoch();
// What is open of the current epoch, oldest first: contexts (kind "context") and handles (their
// family), each with its value.
struct LeftOpen {
  std::string kind;
  uint64_t value;
  Origin origin;
};
std::vector<LeftOpen> contexts_left_open();
std::vector<LeftOpen> handles_left_open();
CallRef log_call(const char* function, uint64_t context, std::vector<uint64_t> words,
                 std::vector<Arg> args, Caller who);
// Records how the call ended, if the log still holds it.
void end_call(CallRef call, End end, int32_t status);
bool logging();  // false in benchmarks
bool recording_details();
bool recording_bytes();
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
// What the rules (rules.cpp) make a call of fn do; kProceed with no delay when none decides.
struct Decision {
  Action action = Action::kProceed;
  std::chrono::nanoseconds delay{0};
  int32_t status = 0;
  Fault fault = Fault::kNone;
  AnswerKind answer = AnswerKind::kNone;
  std::shared_ptr<const std::vector<uint8_t>> data;
  ~Decision();  // out of line, as Arg's
};
// `who` is the caller where the call knows it already (null: asked when a rule needs it).
Decision decide(const void* fn, const Caller* who);
// Waits `delay`, or less when a reset comes first.
void wait(std::chrono::nanoseconds delay);
// The text set_error_text programmed for `status`; false when none.
bool programmed_error_text(int32_t status, std::string* text);
void reset_rules();  // part of reset()
// Rules, queued outputs and error texts are numbered in one series, in the order programmed.
extern std::atomic<uint64_t> serials;
uint64_t next_serial();
void drop_rules_since(uint64_t mark);
// The status the bridge reports for a fault the stand-in raises.
int32_t fault_status(Fault f);
bool output_queued(const void* fn);
// Replaces the block's contents with fn's next queued output for this thread; false when none.
bool give_queued_output(const void* fn, mem_blk_t* block);
// Replaces the block's contents with these bytes, in a block of the same context.
void replace_output(mem_blk_t* block, const std::vector<uint8_t>& bytes);

// Programmed results (answers.cpp), put in place of the function's own; each returns the status.
int32_t answer_verification(context_t c, const std::vector<uint8_t>& encoded, mem_blk_t* content,
                            verify_result_t* result);
int32_t answer_find(context_t c, const std::vector<uint8_t>& encoded, find_result_t* result);
int32_t answer_enumeration(context_t c, const std::vector<uint8_t>& encoded, strhandle_t* position,
                           mem_blk_t* out);

// The stand-in function running on this thread, its call in the log and its caller: the ledger
// records them with every block, contexts and handles with where they were opened. Values, not
// references: a fault leaves a call without running its destructors, and what it set stays.
struct RunningCaller {
  uint64_t thread = 0;  // 0: not known (not logged)
  char name[120] = {};  // trivially destructible, as a thread's copy must be here
};
extern thread_local const char* running;
extern thread_local CallRef running_call;
extern thread_local RunningCaller running_caller;
struct Running {
  const char* previous;
  CallRef previous_call;
  RunningCaller previous_caller;
  CallRef call;
  explicit Running(const char* function)
      : previous(running), previous_call(running_call), previous_caller(running_caller) {
    running = function;
    running_call = CallRef{};
    running_caller = RunningCaller{};
  }
  void logged(CallRef ref, const Caller& who) {
    call = running_call = ref;
    running_caller.thread = who.thread;
    size_t n = std::min(who.name.size(), sizeof running_caller.name - 1);
    std::memcpy(running_caller.name, who.name.data(), n);
    running_caller.name[n] = '\0';
  }
  ~Running() {
    running = previous;
    running_call = previous_call;
    running_caller = previous_caller;
  }
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

// ---- Recording a call's arguments (recording.cpp) -------------------------------------------
// One overload per kind of argument the library reads; the template takes what is not recorded
// (contexts, results to be filled, raw pointers). A parameter record is recorded with its fields.
template <typename T>
void capture(std::vector<Arg>&, const char*, T) {}
void capture(std::vector<Arg>& out, const char* function, mem_blk_t* block);
void capture(std::vector<Arg>& out, const char* function, char* text);
void capture(std::vector<Arg>& out, const char* function, int32_t number);
void capture(std::vector<Arg>& out, const char* function, int64_t number);
void capture(std::vector<Arg>& out, const char* function, int32_t* word);
void capture(std::vector<Arg>& out, const char* function, strhandle_t handle);
void capture(std::vector<Arg>& out, const char* function, strhandle_t* handle);
void capture(std::vector<Arg>& out, const char* function, certificate_t* cert);
void capture(std::vector<Arg>& out, const char* function, local_param_t* param);
void capture(std::vector<Arg>& out, const char* function, sign_param_t* param);
void capture(std::vector<Arg>& out, const char* function, verify_param_t* param);
void capture(std::vector<Arg>& out, const char* function, verify_policy_param_t* param);
void capture(std::vector<Arg>& out, const char* function, encrypt_param_t* param);
void capture(std::vector<Arg>& out, const char* function, decrypt_param_t* param);
void capture(std::vector<Arg>& out, const char* function, import_param_t* param);
void capture(std::vector<Arg>& out, const char* function, export_param_t* param);
void capture(std::vector<Arg>& out, const char* function, add_param_t* param);
void capture(std::vector<Arg>& out, const char* function, find_param_t* param);
void capture(std::vector<Arg>& out, const char* function, tsp_request_param_t* param);
void capture(std::vector<Arg>& out, const char* function, tsp_response_param_t* param);
void capture(std::vector<Arg>& out, const char* function, tsp_verify_param_t* param);
void capture(std::vector<Arg>& out, const char* function, ocsp_request_param_t* param);
void capture(std::vector<Arg>& out, const char* function, ocsp_response_param_t* param);
void capture(std::vector<Arg>& out, const char* function, ocsp_verify_param_t* param);
// CreateCertificateStore takes two arrays of blocks, each with its count: every block is recorded.
void capture_block_arrays(std::vector<Arg>& out, const mem_blk_t* first, int32_t first_count,
                          const mem_blk_t* second, int32_t second_count);

template <typename... A>
std::vector<Arg> capture_all(const char* function, A... args) {
  std::vector<Arg> out;
  using Store =
      std::tuple<context_t, mem_blk_t*, int32_t, mem_blk_t*, int32_t, string_t, string_t, int32_t>;
  if constexpr (std::is_same_v<std::tuple<A...>, Store>) {
    auto [c, first, first_count, second, second_count, text1, text2, options] = std::tuple(args...);
    (void)c;
    capture_block_arrays(out, first, first_count, second, second_count);
    capture(out, function, first_count);
    capture(out, function, second_count);
    capture(out, function, text1);
    capture(out, function, text2);
    capture(out, function, options);
  } else {
    (capture(out, function, args), ...);
  }
  return out;
}

template <typename First, typename... Rest>
CallRef log_args(const char* function, std::vector<Arg> details, const Caller& who, First first,
                 Rest... rest) {
  if constexpr (std::is_same_v<First, context_t>)
    return log_call(function, uint64_t(first), {word(rest)...}, std::move(details), who);
  else
    return log_call(function, 0, {word(first), word(rest)...}, std::move(details), who);
}

// Whether a function's arguments can take programmed results: a verification, a search's
// certificates, an enumeration's objects.
template <typename... A>
inline constexpr bool kAnswers = (std::is_same_v<A, verify_result_t*> || ...) ||
                                 (std::is_same_v<A, find_result_t*> || ...) ||
                                 (std::is_same_v<A, strhandle_t*> || ...);

// Puts the programmed results of a kAnswer decision in place, by the types of the arguments:
// a verification into the verify_result_t and, as content, the last block before it; a store's
// certificates into a find_result_t, or its encodings one per step of an enumeration.
template <typename... A>
int32_t answer(const Decision& d, A... args) {
  context_t c{};
  bool has_context = false;
  verify_result_t* verification = nullptr;
  find_result_t* found = nullptr;
  strhandle_t* position = nullptr;
  mem_blk_t* first_block = nullptr;
  mem_blk_t* content = nullptr;
  auto look = [&](auto a) {
    using T = decltype(a);
    if constexpr (std::is_same_v<T, context_t>) {
      if (!has_context) c = a;
      has_context = true;
    } else if constexpr (std::is_same_v<T, verify_result_t*>) {
      if (verification == nullptr) verification = a;
    } else if constexpr (std::is_same_v<T, find_result_t*>) {
      found = a;
    } else if constexpr (std::is_same_v<T, strhandle_t*>) {
      position = a;
    } else if constexpr (std::is_same_v<T, mem_blk_t*>) {
      if (first_block == nullptr) first_block = a;
      if (verification == nullptr) content = a;
    }
  };
  (look(args), ...);
  if (!context_live(c)) return kBadContext;
  if (d.answer == AnswerKind::kVerification && verification != nullptr)
    return answer_verification(c, *d.data, content, verification);
  if (d.answer == AnswerKind::kStore && found != nullptr) return answer_find(c, *d.data, found);
  if (d.answer == AnswerKind::kStore && position != nullptr && first_block != nullptr)
    return answer_enumeration(c, *d.data, position, first_block);
  return 0;
}

template <typename R>
int32_t status_of(R result) {
  if constexpr (std::is_pointer_v<R>)
    return result == nullptr ? -1 : 0;
  else
    return int32_t(result);
}

template <auto Fn, typename Default, typename... A>
auto enter(const char* function, Default&& fallback, A... args) {
  using R = decltype(fallback());
  const void* key = reinterpret_cast<const void*>(Fn);
  if (bare(key)) return fallback();
  Running scope(function);
  Caller who;
  if (logging()) {
    who = caller();
    std::vector<Arg> details;
    if (recording_details()) details = capture_all(function, args...);
    if constexpr (sizeof...(A) > 0)
      scope.logged(log_args(function, std::move(details), who, args...), who);
    else
      scope.logged(log_call(function, 0, {}, std::move(details), who), who);
  }
  Decision d = decide(key, logging() ? &who : nullptr);
  if (d.delay.count() > 0) wait(d.delay);
  if (d.action == Action::kFault) {
    end_call(scope.call, End::kFaulted, fault_status(d.fault));
    crash(d.fault);  // returns only when the fault could not be raised: the call goes on
  }
  if (d.action == Action::kFail || d.action == Action::kNothing) {
    if (d.action == Action::kFail) end_streams(function, args...);
    if constexpr (std::is_pointer_v<R>) {
      end_call(scope.call, End::kReturned, -1);
      return R(nullptr);
    } else {
      int32_t status = d.action == Action::kFail ? d.status : 0;
      end_call(scope.call, End::kReturned, status);
      return R(status);
    }
  }
  R result = [&]() -> R {
    if constexpr (!std::is_pointer_v<R> && kAnswers<A...>)
      if (d.action == Action::kAnswer) return answer(d, args...);
    if (std::shared_ptr<void> h = get_handler(key)) {
      using Handler = typename Signature<Fn>::Handler;
      return (*std::static_pointer_cast<Handler>(h))(args...);
    }
    return fallback();
  }();
  if constexpr (sizeof...(A) > 0) {
    if (d.action == Action::kOutput) {
      if (mem_blk_t* out = first_output(args...)) replace_output(out, *d.data);
    } else if (output_queued(key)) {
      if (mem_blk_t* out = first_output(args...)) give_queued_output(key, out);
    }
  }
  end_call(scope.call, End::kReturned, status_of(result));
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

using Bytes = std::vector<uint8_t>;

// ---- The stand-in's messages (messages.cpp) ----------------------------------------------------

// A stream that makes or opens one of the stand-in's messages piece by piece.
class Piecewise {
 public:
  virtual ~Piecewise();
  // Takes the next piece and appends to `out` what the stream yields now; a status other than 0
  // ends the stream.
  virtual int32_t feed(const uint8_t* data, size_t len, Bytes* out) = 0;
  // The end: appends the last of what the stream yields, and to `second` (where the stage has a
  // second output) what goes there. Returns the stream's status.
  virtual int32_t finish(Bytes* out, Bytes* second) = 0;
  // After finish(): whether what it opened was one of the stand-in's messages (it then knows the
  // signer or the sender), changed or not.
  virtual bool well_formed() const { return true; }
};
std::unique_ptr<Piecewise> signing();                            // a signed message
std::unique_ptr<Piecewise> verifying();                          // its content
std::unique_ptr<Piecewise> detached_signing();                   // a detached signature
std::unique_ptr<Piecewise> detached_verifying(Bytes signature);  // checks content against it
std::unique_ptr<Piecewise> encrypting();                         // an envelope
std::unique_ptr<Piecewise> decrypting();                         // its content
std::unique_ptr<Piecewise> splitting();   // a signed message's content, then its signature
bool detached_signature(const Bytes& b);  // whether it is one of the stand-in's
// The signer of a verification (status 0: its signature verified) or the sender of an envelope.
void verification_result(context_t c, verify_result_t* result, int32_t status);
void decryption_result(context_t c, decrypt_result_t* result);

// What a one-call form reads: a block, or a file (which must be named where `required`).
struct In {
  const mem_blk_t* block = nullptr;
  const char* file = nullptr;
  bool required = false;
  bool read(Bytes* out) const;
};
inline In block_in(const mem_blk_t* block) { return In{block, nullptr, false}; }
inline In file_in(const char* name) { return In{nullptr, name, true}; }
inline In optional_file_in(const char* name) { return In{nullptr, name, false}; }
// What it writes: a block of the call's context, or a file; nothing where neither is given.
struct Out {
  mem_blk_t* block = nullptr;
  const char* file = nullptr;
  bool write(context_t c, const Bytes& data) const;
};
inline Out block_out(mem_blk_t* block) { return Out{block, nullptr}; }
inline Out file_out(const char* name) { return Out{nullptr, name}; }

// The one-call forms; each checks the context first, and answers kNoFile for a file it cannot
// read or write.
int32_t sign(context_t c, In content, Out signed_message);
int32_t verify(context_t c, In signed_message, In second, Out content, verify_result_t* result);
int32_t sign_detached(context_t c, In content, Out signature);
int32_t encrypt(context_t c, In content, Out encrypted);
int32_t decrypt(context_t c, In encrypted, Out content, decrypt_result_t* result);
int32_t attach(context_t c, In first, In second, Out signed_message);
int32_t detach(context_t c, In signed_message, Out first, Out second, bool content_first);
int32_t sign_and_encrypt(context_t c, In content, Out out);
int32_t decrypt_and_verify(context_t c, In in, Out content, decrypt_result_t* sender,
                           verify_result_t* result);

// ---- Streams, sessions, enumerations and stamps (services.cpp) ---------------------------------
// Every handle belongs to the family that opened it ("StrHash", "CmsStrAttSign", "TlsSession"):
// a call of another family, or with another context, answers kBadHandle.

// A stream whose stages do what the stand-in does for any stream: its output blocks receive the
// input back at each Update and the digest of everything fed at the Final stage.
int32_t stream_init(context_t c, strhandle_t* h, const char* family);
int32_t stream_update(context_t c, strhandle_t* h, const char* family, const mem_blk_t* in,
                      mem_blk_t* out, int32_t* state = nullptr);
int32_t stream_final(context_t c, strhandle_t* h, const char* family, mem_blk_t* out);
// A stream of the stand-in's messages. Init takes the first piece, where it has one; an Update
// without an output block keeps what the stream yields for the next stage that has one.
int32_t message_init(context_t c, strhandle_t* h, const char* family,
                     std::unique_ptr<Piecewise> stream, const mem_blk_t* first = nullptr);
int32_t message_update(context_t c, strhandle_t* h, const char* family, const mem_blk_t* in,
                       mem_blk_t* out, int32_t* state = nullptr);
// The Final stage: `after` runs when the stream has ended, with its status and whether what it
// opened was the stand-in's (to fill a verification or a sender).
int32_t message_final(context_t c, strhandle_t* h, const char* family, mem_blk_t* out,
                      mem_blk_t* second = nullptr,
                      const std::function<void(int32_t status, bool well_formed)>& after = {});
int32_t session_destroy(context_t c, strhandle_t* h);
int32_t session_call(context_t c, strhandle_t h, int32_t selector, const mem_blk_t* in,
                     mem_blk_t* out);
// One step through `objects` (the store's own when null).
int32_t enumerate(context_t c, strhandle_t* h, mem_blk_t* out,
                  const std::vector<std::vector<uint8_t>>* objects = nullptr);
int32_t stamp(context_t c, const char* url, const mem_blk_t* in, mem_blk_t* out);
int32_t verify_stamp(context_t c, const mem_blk_t* in, tsp_verify_result_t* result);

// Releases for the records the library fills, as the QUMEN_Free* functions do.
void free_string(context_t context, string_t* s, const char* by);
void free_certificate(context_t context, certificate_t* cert, const char* by);
void free_certid(context_t context, certid_t* id, const char* by);
void free_strings(context_t context, string_t** list, int32_t count, const char* by);

}  // namespace standin::detail
