// The stand-in for the native library `tarvex`: all of its functions with the contract's ABI,
// built as libtarvex.so so that the bridge loads it exactly where it would load the vendor's
// library. It is a test double, not cryptography:
//   - every call is logged (function, context, argument words);
//   - tests replace any function's behaviour with a handler that sees the live arguments
//     (`standin::on<QUMEN_HashMem>([](context_t c, mem_blk_t* in, mem_blk_t* out) {...})`);
//   - every block it hands out is in a ledger, and must come back exactly once, through
//     QUMEN_FreeMem or a QUMEN_Free* function, with the context that produced it; a foreign
//     or double free, or a free with another context, is recorded as an error;
//   - it can raise a real SIGSEGV, SIGFPE, SIGILL or SIGBUS inside a call, on request.
// With TARVEX_STANDIN_QUIET set (benchmarks) there is no call log and no ledger. Java tests
// program it through tarvexjni.standin.StandIn, whose natives are in kit.cpp.
// Without a handler a function checks its context (0x7E570001 for one that is not live) and
// does something plausible and deterministic: contexts are created and ended, HashMem returns
// a 32-byte digest that is NOT cryptographic, most other functions succeed with empty results.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../src/native/tarvex.h"

namespace standin {

// Statuses of the stand-in's own.
inline constexpr int32_t kBadContext = 0x7E570001;  // the context is not live
inline constexpr int32_t kBadHandle = 0x7E570002;   // unknown or ended stream/session handle
inline constexpr int32_t kMismatch = 0x7E570003;    // a verification found a difference
inline constexpr int32_t kNoFile = 0x7E570004;  // a file named to the stand-in could not be read
inline constexpr int32_t kEndOfStore = 0x7E570005;  // an enumeration has no more objects
inline constexpr int32_t kNoAddress = 0x7E570006;   // no URL was given where one is needed

// ---- Programming a function ------------------------------------------------------------------

template <auto Fn>
struct Signature;
template <typename R, typename... A, R (*Fn)(A...)>
struct Signature<Fn> {
  using Handler = std::function<R(A...)>;
};

void set_handler(const void* fn, std::shared_ptr<void> handler);
std::shared_ptr<void> get_handler(const void* fn);

// Replaces the behaviour of Fn until reset().
template <auto Fn, typename H>
void on(H handler) {
  using Handler = typename Signature<Fn>::Handler;
  set_handler(reinterpret_cast<const void*>(Fn), std::make_shared<Handler>(std::move(handler)));
}

// kSegv: a store through a null pointer; kFpe: an integer division by zero (FPE_INTDIV);
// kIll: an undefined instruction; kBus: a read past the end of a mapped file (BUS_ADRERR);
// kMisaligned: a misaligned exclusive load (BUS_ADRALN). aarch64 has no trap for a division by
// zero and x86_64 none for a misaligned access: there the signal is sent to the calling thread
// with that si_code, as the kernel would report the fault. kStack: recursion until the thread's
// stack runs out (EXCEPTION_STACK_OVERFLOW on Windows; on Linux a SIGSEGV with no stack left to
// handle it on).
enum class Fault { kNone, kSegv, kFpe, kIll, kBus, kMisaligned, kStack };

// The next `times` calls of Fn (every call if negative), on any thread, raise a real fault
// before doing anything else. Replaces the faults set this way before for Fn.
void set_fault(const void* fn, Fault fault, int times);
template <auto Fn>
void fault(Fault f, int times = 1) {
  set_fault(reinterpret_cast<const void*>(Fn), f, times);
}

// Raises the fault now, from inside a handler (after it has put results in place, say).
void crash(Fault f);
// How many requested faults could not be raised: a bus error needs a file mapping, which a
// loaded machine may refuse (the call then goes on as if no fault had been asked for).
size_t faults_not_raised();

// The next `times` calls of fn (every call if negative), on any thread, return `status` without
// doing their work; the two functions that return a pointer (AllocMem, GetErrorText) return null
// instead. A failing Update or Final stage of a stream ends its handle, as the library's contract
// says. Replaces the failures set this way before for fn.
void set_failure(const void* fn, int32_t status, int times);
// The next output block that fn hands out (the first block of its allocator among its mem_blk_t
// arguments after the call) on `thread` (0: any thread) is replaced by these bytes; queued, one
// per such call.
void queue_output(const void* fn, std::vector<uint8_t> bytes, uint64_t thread = 0);

// The calling thread's number. Once the Java kit has started the stand-in in a JVM, a Java
// thread's is its id (as Thread.getId() gives it), a virtual thread's apart from its carrier's;
// otherwise 1 for the first thread that asks or calls a function, 2 for the next...
uint64_t thread_number();

// What a rule makes a call do: its usual work (after the rule's delay), return a status, raise a
// fault, replace its first output block, answer with results the rule carries, or return 0
// without doing anything (null for a function that returns a pointer).
enum class Action : uint8_t { kProceed, kFail, kFault, kOutput, kAnswer, kNothing };
// The results a rule can carry (answers.cpp reads them): a verification (overall status, signers,
// content) for the functions that fill a verify_result_t; certificates for FindCert, whose
// encodings the store enumerations walk.
enum class AnswerKind : uint8_t { kNone, kVerification, kStore };

// A rule answers calls of `fn` in a window: the calls from the `from`-th (counted from 1) for
// `count` calls (every call after it if negative), counting only the calls made on `thread` (0:
// any thread) after the rule was added. Where the windows of several rules hold a call, the rule
// added last decides; every rule counts the call. A call waits `delay` before doing what its
// rule says (a reset ends the wait).
struct Rule {
  const void* fn = nullptr;
  uint64_t thread = 0;
  int64_t from = 1;
  int64_t count = -1;
  std::chrono::nanoseconds delay{0};
  Action action = Action::kProceed;
  int32_t status = 0;          // kFail
  Fault fault = Fault::kNone;  // kFault
  AnswerKind answer = AnswerKind::kNone;
  std::vector<uint8_t> data;  // kOutput: the bytes; kAnswer: the results, encoded
};
uint64_t add_rule(Rule rule);  // the rule's id: 1, 2, ... in the order added since the start
// For each rule, in the order added: how many calls it counted, and how many of them were in
// its window (whether it or a later rule decided them).
struct RuleUse {
  uint64_t id;
  int64_t counted;
  int64_t reached;
};
std::vector<RuleUse> rule_uses();
// The outputs queued by queue_output and not yet handed out, one entry per function and thread.
struct Queued {
  const void* fn;
  uint64_t thread;
  size_t count;
};
std::vector<Queued> queued_outputs();

// Ends the delays in progress (their calls go on to what their rules say); release_waits() also
// keeps every later delay from waiting, until reset().
void end_waits();
void release_waits();

// The text GetErrorText gives for `status` until reset(), in place of its own.
void set_error_text(int32_t status, std::string text);

// Forgets every handler, rule, fault, failure, queued output and error text, ends every delay in
// progress, and empties the call log. Contexts and the ledger stay.
void reset();
// A mark in the order of what is programmed; drop_programming_since() forgets the rules, queued
// outputs and error texts programmed from the mark on, and keeps what came before it.
uint64_t programming_mark();
void drop_programming_since(uint64_t mark);

// ---- The call log ----------------------------------------------------------------------------

// One argument of a call, as the library received it: a block (its len, and its bytes when they
// are recorded), a text, a number, a handle, or a parameter record (its type and its fields).
struct Field {
  std::string
      name;  // as the Java record names it: "flag", "certTemplate.subject", "policies[0].oid"
  bool is_text = false;
  int64_t number = 0;
  bool present = false;  // a text that is not null
  std::string text;
};
struct Arg {
  enum class Kind : uint8_t { kBlock = 1, kText, kNumber, kHandle, kRecord };
  explicit Arg(Kind k) : kind(k) {}
  // Out of line: every function of the stand-in builds and drops these, and inlined in each they
  // double the time its unit takes to compile.
  Arg(Arg&&) noexcept;
  Arg(const Arg&);
  Arg& operator=(Arg&&) noexcept;
  Arg& operator=(const Arg&);
  ~Arg();
  Kind kind;
  int64_t number = 0;          // a block's len, a number, a handle
  bool present = false;        // a text that is not null; a block whose bytes are recorded
  std::string text;            // a text; a record's type ("verify_param_t")
  std::vector<uint8_t> bytes;  // a block's bytes
  std::vector<Field> fields;   // a record's fields
};
enum class End : uint8_t { kRunning, kReturned, kFaulted };

struct Call {
  std::string function;
  uint64_t context;             // 0 for the functions that take none
  std::vector<uint64_t> words;  // every argument after the context, as a 64-bit word
  uint64_t thread = 0;          // thread_number() of the caller
  std::string thread_name;      // the Java thread's name, where the kit started the stand-in
  End end = End::kRunning;
  int32_t status = 0;     // returned; for a pointer 0, or -1 for null; after a fault its code
  std::vector<Arg> args;  // only while details are recorded
};
// The log keeps the last log_limit() calls since the last clear: calls() and call_names() give
// those, in order; first_logged() is the number of the first of them (1 until calls were dropped).
// count() counts every call since the clear, kept or not. The limit is TARVEX_STANDIN_LOG where
// that is a number, else 10000; setting it drops what it no longer keeps.
std::vector<Call> calls();
std::vector<Call> calls(uint64_t* first_number);  // with the number of the first, taken together
std::vector<std::string> call_names();
uint64_t first_logged();
size_t count(const std::string& function);
void clear_calls();
size_t log_limit();
void set_log_limit(size_t calls);
// Whether calls record their arguments (Call::args), and with them the bytes of their blocks.
// Off until asked for (the Java kit asks): they cost a copy of every argument.
void record_details(bool on);
void record_bytes(bool on);
// The log, encoded for the Java kit (recording.cpp says how).
std::vector<uint8_t> encode_calls();

// ---- Contexts --------------------------------------------------------------------------------

context_t open_context();  // as QUMEN_InitMinimal does
bool context_live(context_t context);
size_t live_contexts();
void end_all_contexts();

// ---- Streams, sessions and enumerations ------------------------------------------------------
// A stream or TLS session handle is open from the Init (or TlsSessionCreate) that issued it to the
// Final (or TlsSessionDestroy) that ends it; a failing Update ends it too, as the library's
// contract says. Using an ended or unknown handle answers kBadHandle.
size_t open_handles();
bool handle_open(strhandle_t handle);
void end_handle(strhandle_t handle);
void end_all_handles();
// The objects a store enumeration walks through: the encodings it returns, one per step.
std::vector<std::vector<uint8_t>> store_objects();

// ---- The ledger --------------------------------------------------------------------------------

// A block of the stand-in's allocator, recorded under `context`; null for a negative size.
void* alloc(context_t context, int64_t size);
char* text(context_t context, const std::string& s);  // a NUL-terminated copy
uint8_t* bytes(context_t context, const std::vector<uint8_t>& b);
// Gives a block back as QUMEN_FreeMem does, recording a foreign or double free as an error.
void release(context_t context, void* block, const char* by);
bool owns(const void* block);
size_t outstanding();
// Outstanding blocks and every error, one line each; empty when the ledger is clean.
std::vector<std::string> ledger_problems();
// Drops every record (after a deliberate leak, such as a fault that skipped the results).
void ledger_forget();
// Stops tracking the outstanding blocks without freeing them (a call on another thread may still
// be using one): their later release is accepted silently. Also drops the recorded errors.
void ledger_forgive();
// The outstanding blocks, oldest first: the function that handed each out, and its size.
struct Outstanding {
  std::string function;  // "QUMEN_HashMem"; "" for a block allocated outside any call
  int64_t size;
  int64_t call = -1;  // the index in calls() of the call that handed it out; -1: none logged
};
std::vector<Outstanding> outstanding_blocks();
// The foreign, double or cross-context releases recorded, one line each.
std::vector<std::string> release_errors();
// Gives back every outstanding block but keeps the errors: what a caller does with the results
// a fault left with it, before checking that nothing was released twice or wrongly.
void reclaim();

// ---- Fully populated results -----------------------------------------------------------------
// Every string, array and buffer below comes from the ledger under `context`, so a test can
// prove that each is given back exactly once. The values are deterministic in `seed`.

// A certificate with every text set (both alternative names complete), 3 policies (the last
// without notice text), 2 extended key usages, 2 extensions with data (3 and 5 bytes), a
// 40-byte encoding and a 32-byte hash. notAfterEx is 0xFFFFFFF0 (its top bit set).
void fill_certificate(context_t context, certificate_t* cert, int seed = 1);
// The same, in a block of its own (as sign_status_t.cert points to one).
certificate_t* new_certificate(context_t context, int seed = 1);
// `signers` signatures; signer i has status i, time 0x80000000 + i, and a certificate of seed
// i + 1, except the last, which has none.
void fill_verify_result(context_t context, verify_result_t* result, int signers = 3);

// A CRL with `revoked` entries (serial "R<i>", time 0xF0000000 + i, reason i), an encoding and
// a hash; nextUpdateEx 0xFFFFFFFF.
void fill_crl(context_t context, crl_t* crl, int revoked = 3);
// `count` otherName entries: oid "1.3.6.1.4.1.311.20.2.<i>", name "other-<i>".
void fill_altname_ex(context_t context, altname_ex_t* ext, int count = 3);
// One identifier of the given type: 0 issuer "CN=Issuer <seed>" and serial "S<seed>", 1 keyId
// "keyid-<seed>", 2 certHash of 20 bytes, 3 alias "alias-<seed>"; any other type: nothing.
void fill_certid(context_t context, certid_t* id, int32_t type, int seed = 1);
// `count` signatures whose certids cycle through the four types; time 0xFFFFFF00 + i.
void fill_signed_info(context_t context, signed_info_result_t* result, int count = 4);
// `count` recipients cycling through the four types, and a sender of type 0; type 7.
void fill_encrypted_info(context_t context, encrypted_info_result_t* result, int count = 4);
// `signers` signers (digest "sha256-<i>", two authenticated attributes of which the second is
// empty, one unauthenticated), cipher "aes256-cbc", `recipients` recipients.
void fill_pkcs7_info(context_t context, pkcs7_info_t* info, int signers = 2, int recipients = 2);

// CMS message information of `type` (1 signers, 2 recipients, other: no list) with `count`
// entries; signer i has a signerId of type 1 + i % 2, authenticated attributes of which the
// second is empty, a signing time 0xFFFFFFFF - i. Cipher "aes128-gcm", one unprotected attribute.
void fill_cms_msginf(context_t context, cms_msginf_t* info, int32_t type = 1, int count = 2);
// `count` certificates (seeds 11, 12, ...) in one block.
void fill_find_result(context_t context, find_result_t* result, int count = 2);
// Time 0x66554433; the authority's certificate (seed 5) unless `with_cert` is false.
void fill_tsp_verify_result(context_t context, tsp_verify_result_t* result, bool with_cert = true);
// Status 0, reason 0, thisupd 0x66000000, nextupd 0xFFFFFFFF, revtime 0; certificate seed 6.
void fill_ocsp_verify_result(context_t context, ocsp_verify_result_t* result,
                             bool with_cert = true);

struct CertificateText {  // what fill_certificate puts in the texts, for tests to compare
  static std::string issuer(int seed);
  static std::string subject(int seed);
  static std::string serial(int seed);
};

// ---- Results of any shape, for fuzzing
// ------------------------------------------------------------ Records as a library might fill
// them, every choice drawn from `choose` (a number below its bound): counts of zero, one, several,
// negative or far beyond any array (then with a null pointer), null parts at any depth, null,
// empty, long and non-ASCII texts, unknown identifier types. Whatever is allocated comes from the
// ledger and is reachable through the record the way the QUMEN_Free* functions walk it, so that a
// correct caller gives everything back.
using Choose = std::function<uint32_t(uint32_t bound)>;
void fill_any(context_t context, const Choose& choose, mem_blk_t* blk);
void fill_any(context_t context, const Choose& choose, certificate_t* cert);
void fill_any(context_t context, const Choose& choose, verify_result_t* result);
void fill_any(context_t context, const Choose& choose, decrypt_result_t* result);
void fill_any(context_t context, const Choose& choose, encrypted_info_result_t* result);
void fill_any(context_t context, const Choose& choose, signed_info_result_t* result);
void fill_any(context_t context, const Choose& choose, pkcs7_info_t* info);
void fill_any(context_t context, const Choose& choose, cms_msginf_t* info);
void fill_any(context_t context, const Choose& choose, crl_t* crl);
void fill_any(context_t context, const Choose& choose, altname_ex_t* ext);
void fill_any(context_t context, const Choose& choose, basic_constraints_ex_t* bc);
void fill_any(context_t context, const Choose& choose, find_result_t* result);
void fill_any(context_t context, const Choose& choose, tsp_verify_result_t* result);
void fill_any(context_t context, const Choose& choose, ocsp_verify_result_t* result);

// ---- Non-cryptographic digest ------------------------------------------------------------------

// The 32-byte digest HashMem returns by default: a deterministic mix, NOT a cryptographic hash.
std::vector<uint8_t> digest(const uint8_t* data, size_t len);

}  // namespace standin
