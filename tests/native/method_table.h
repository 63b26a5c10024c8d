// Every exported method that follows the call frame, as one table for every platform's tests:
// each row is the method's Java parameters after self, and the method must reach its own native
// function with each argument in the position the library expects, and bring every result back to
// Java (or back to the library) on success, on failure, and with null objects.
//
// A probe stands in for the native function: it notes each argument as a short text and fills
// each result with something that names it. The expected notes are built from the same layout.
//
// The Java side is a parameter, J, so that the same cases run in a JVM and in the test JNI
// environment under Wine:
//   J::Object                     an object as the tests hold it (null: J::Object{})
//   make(cls), str(utf8), ints({..}), block(bytes)
//   set(o, field, int32_t), set_long(o, field, v), set(o, field, J::Object)
//   get_int, get_long, get, get_bytes(o, field), ints_of(o)
//   call(self, op, args) -> status   the method through the JNI, args as below
//   thrown() -> what the call left pending, if anything; problems() -> the JNI's complaints
//   on<Fn>(function, handler)    the stand-in's function programmed
//   descriptor(op) -> the method's JNI descriptor, when the platform can tell it
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "method_layouts.h"
#include "standin.h"

namespace method_table {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

constexpr int32_t kFail = 0x0BAD0001;
constexpr int64_t kOld = 0x0DD0;                    // a handle object's value before the call
constexpr uint64_t kIssued = 0x5151000000000A1ull;  // what the library leaves in every handle
constexpr int32_t kStateIn = 51, kStateOut = -7;    // an int[] state word before and after

// The letters of a layout. `java` is a record class of LocalIface (lower case first) or a JNI
// descriptor. Records the library reads (upper case) get their int `fields` set to
// 10 * (position + 1) + index; records it fills (lower case) come back with `filled` in `fields`.
struct Kind {
  char letter;
  const char* java;
  const char* fields = nullptr;
  int64_t filled = 0;
};
// clang-format off
inline const Kind kKinds[] = {
    {'S', "sign_param_t", "flag"}, {'V', "verify_param_t", "flag info"},
    {'E', "encrypt_param_t", "flag"}, {'D', "decrypt_param_t", "flag info"},
    {'Q', "tsp_request_param_t", "flag index"}, {'R', "tsp_response_param_t", "flag"},
    {'Y', "tsp_verify_param_t", "flag index info"}, {'P', "ocsp_request_param_t", "flag"},
    {'K', "ocsp_response_param_t", "flag"}, {'Z', "ocsp_verify_param_t", "flag info"},
    {'M', "import_param_t", "flag"}, {'X', "export_param_t", "flag"}, {'A', "add_param_t", "flag"},
    {'F', "find_param_t", "flag info"}, {'L', "verify_policy_param_t", "flag"},
    {'C', "certificate_t"},                                   // read: its subject is noted
    {'I', "mem_blk_t"}, {'O', "mem_blk_t"},                   // an input and an output block
    {'N', "Ljava/lang/String;"}, {'W', "[I"}, {'T', "I"}, {'G', "J"},  // W: a state word
    {'H', "Ljava/lang/Object;"}, {'J', "Ljava/lang/Object;"},  // a handle by address, by value
    {'_', "Ljava/lang/Object;"},                               // never read: the library gets null
    {'r', "verify_result_t", "sign_num", 2}, {'d', "decrypt_result_t", "sender", 0x3FF},
    {'e', "encrypted_info_result_t", "type", 7}, {'m', "cms_msginf_t", "type", 3},
    {'t', "tsp_verify_result_t", "timeEx", 0xFFFFFFFE},  // times widen without sign
    {'x', "ocsp_verify_result_t", "nextupdEx", 0xFFFFFFFF},
    {'s', "signed_info_result_t", "sign_num", 2}, {'p', "pkcs7_info_t", "signer_num", 2},
    {'c', "certificate_t", "fields", 0x3FF}, {'l', "crl_t", "revcert_num", 2},
    {'a', "altname_ex_t", "othername_num", 2}, {'b', "basic_constraints_ex_t", "pathlen", 107},
    {'f', "find_result_t", "num", 2},
};
// clang-format on

inline const Kind& kind(char l) {
  for (const Kind& k : kKinds)
    if (k.letter == l) return k;
  ADD_FAILURE() << "no kind " << l;
  return kKinds[0];
}
inline std::string descriptor(char l) {
  const char* java = kind(l).java;
  return std::islower(java[0]) ? std::string("LNorv1/LocalIface$") + java + ";" : java;
}

// ---- The native side ----------------------------------------------------------------------------

template <typename T>
bool zeroed(const T& rec) {
  const auto* b = reinterpret_cast<const unsigned char*>(&rec);
  for (size_t i = 0; i < sizeof rec; ++i)
    if (b[i] != 0) return false;
  return true;
}
inline std::string text_of(const char* s) { return s ? std::string(s) : "-"; }

// clang-format off
inline void fill(context_t c, verify_result_t* r) { standin::fill_verify_result(c, r, 2); }
inline void fill(context_t c, decrypt_result_t* r) { standin::fill_certificate(c, &r->sender, 4); }
inline void fill(context_t c, encrypted_info_result_t* r) { standin::fill_encrypted_info(c, r, 2); }
inline void fill(context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 3, 0); }
inline void fill(context_t c, tsp_verify_result_t* r) { *r = {0xFFFFFFFEu, standin::new_certificate(c, 9)}; }
inline void fill(context_t c, ocsp_verify_result_t* r) { standin::fill_ocsp_verify_result(c, r); }
inline void fill(context_t c, signed_info_result_t* r) { standin::fill_signed_info(c, r, 2); }
inline void fill(context_t c, pkcs7_info_t* p) { standin::fill_pkcs7_info(c, p, 2, 1); }
inline void fill(context_t c, certificate_t* r) { standin::fill_certificate(c, r, 3); }
inline void fill(context_t c, crl_t* r) { standin::fill_crl(c, r, 2); }
inline void fill(context_t c, altname_ex_t* r) { standin::fill_altname_ex(c, r, 2); }
inline void fill(context_t, basic_constraints_ex_t* r) { *r = {1, 7}; }
inline void fill(context_t c, find_result_t* r) { standin::fill_find_result(c, r, 2); }
// clang-format on

// Stands in for a native function: notes its arguments one by one, in the layout's letters.
struct Probe {
  std::string layout;
  int32_t status = 0;
  int outputs = 0;
  Texts seen;
  char letter() const { return seen.size() < layout.size() ? layout[seen.size()] : '?'; }
};

template <typename R>
concept Fillable = requires(context_t c, R* r) {
  fill(c, r);
};
template <typename P>
concept ParamRecord = requires(P* p) {
  p->flag;
  p->reserved;
};

// One argument as the library received it; results are filled.
template <ParamRecord P>
std::string note(Probe&, context_t, P* p) {
  if (p == nullptr) return "null";
  if (zeroed(*p)) return "P0";
  std::string out = "P" + std::to_string(p->flag);
  if constexpr (requires { p->index; }) out += "/" + std::to_string(p->index);
  if constexpr (requires { p->info; }) out += "/" + std::to_string(p->info);
  return p->reserved ? out + "+reserved" : out;
}
template <Fillable R>
std::string note(Probe& p, context_t c, R* r) {
  std::string out(1, p.letter());
  if (!zeroed(*r)) return out + " not zeroed";
  fill(c, r);
  return out;
}
inline std::string note(Probe& p, context_t c, certificate_t* cert) {
  return p.letter() == 'C' ? "C" + text_of(cert->subject) : note<certificate_t>(p, c, cert);
}
inline std::string note(Probe& p, context_t c, mem_blk_t* b) {
  if (p.letter() == 'I')
    return "I" + (b->buf ? std::string(reinterpret_cast<char*>(b->buf), size_t(b->len)) : "-");
  if (b->buf != nullptr || b->len != 0) return "O not zeroed";
  *b = mem_blk_t{2, standin::bytes(c, {'o', uint8_t('0' + ++p.outputs)})};
  return "O";
}
inline std::string note(Probe&, context_t, string_t s) { return "N" + text_of(s); }
inline std::string note(Probe&, context_t, strhandle_t* h) {
  std::string out = "H" + std::to_string(uint64_t(*h));
  *h = strhandle_t{kIssued};  // a new handle, or a moved one: the frame decides what Java sees
  return out;
}
inline std::string note(Probe&, context_t, strhandle_t h) {
  return "J" + std::to_string(uint64_t(h));
}
inline std::string note(Probe&, context_t, int32_t* w) {
  std::string out = "W" + std::to_string(*w);
  *w = kStateOut;
  return out;
}
inline std::string note(Probe&, context_t, int32_t v) { return "T" + std::to_string(v); }
inline std::string note(Probe&, context_t, int64_t v) { return "G" + std::to_string(v); }

template <typename J, auto Fn>
void probe(const char* function, std::shared_ptr<Probe> p) {
  J::template on<Fn>(function, [p]([[maybe_unused]] context_t c, auto... args) -> int32_t {
    (p->seen.push_back(note(*p, c, args)), ...);
    return p->status;
  });
}

template <typename J>
struct Row {
  const char* op;
  const char* layout;
  const char* function;  // the native function, by name
  void (*install)(const char*, std::shared_ptr<Probe>);
};
// Every method but those that depart from the frame, which have tests of their own
// (method_layouts.h).
#define TVJ_TABLE_ROW(op, layout) Row<J>{#op, layout, "QUMEN_" #op, &probe<J, QUMEN_##op>},
template <typename J>
inline const Row<J> kRows[] = {TVJ_FRAME_METHODS(TVJ_TABLE_ROW)};
#undef TVJ_TABLE_ROW

// The handle rules: an Init (or a session's creation) stores the new handle on success and 0
// otherwise; an Update keeps the caller's handle on success and leaves 0 after a failure; a Final
// (or a session's destruction) always leaves 0. The state word is read only by an Update.
enum class Stage { kPlain, kInit, kUpdate, kFinal };
inline Stage stage_of(const std::string& op) {
  if (op.ends_with("InitMem") || op == "TlsSessionCreate") return Stage::kInit;
  if (op.ends_with("UpdateMem")) return Stage::kUpdate;
  if (op.ends_with("FinalMem") || op == "TlsSessionDestroy") return Stage::kFinal;
  return Stage::kPlain;
}
inline int64_t handle_after(Stage stage, int32_t status) {
  if (stage == Stage::kInit) return status == 0 ? int64_t(kIssued) : 0;
  return stage == Stage::kUpdate && status == 0 ? kOld : 0;
}
// The attached signing and verification streams leave their output as it was after a failing
// Update; every other output is converted whatever the status.
inline bool keeps_output_on_failure(const std::string& op) {
  return op == "CmsStrAttSignUpdateMem" || op == "CmsStrAttVerifyUpdateMem";
}

// One Java argument of a row: an object, an int (T) or a long (G), and what the library should
// note for it.
template <typename J>
struct Argument {
  char letter;
  typename J::Object object{};
  int64_t number = 0;
  std::string expected;
};

// Argument `pos` of a layout: with a value of its own, or (`nulls`) a null object or an empty
// string, which reach the library as a zero record, a zero block, handle 0 or a null text.
template <typename J>
Argument<J> argument(typename J::Object self, const std::string& layout, size_t pos, Stage stage,
                     bool nulls) {
  const char l = layout[pos];
  const Kind& k = kind(l);
  const std::string tag = std::string(1, char(std::tolower(l))) + std::to_string(pos);
  Argument<J> a{l, {}, 0, std::string(1, l)};
  auto& o = a.object;
  std::string& e = a.expected;
  switch (l) {
    case 'C':
      if (!nulls) J::set(o = J::make(k.java), "subject", J::str(tag.c_str()));
      e += nulls ? "-" : tag;
      break;
    case 'I':
      if (!nulls) o = J::block(Bytes(tag.begin(), tag.end()));
      e += nulls ? "-" : tag;
      break;
    case 'O':
      if (!nulls) o = J::block({0xEE});
      break;
    case 'N':
      o = J::str(nulls ? "" : tag.c_str());
      e += nulls ? "-" : tag;
      break;
    case 'H':
    case 'J':
      if (!nulls) J::set_long(o = J::make("strhandle_t"), "handle", kOld);
      e += std::to_string(nulls || (l == 'H' && stage == Stage::kInit) ? 0 : kOld);
      break;
    case 'W':
      if (!nulls) o = J::ints({kStateIn});
      e += std::to_string(!nulls && stage == Stage::kUpdate ? kStateIn : 0);
      break;
    case '_':
      o = nulls ? typename J::Object{} : self;
      e = "null";
      break;
    case 'T':
      a.number = int64_t(100 + pos);
      e += std::to_string(a.number);
      break;
    case 'G':
      a.number = (int64_t(1) << 32) + int64_t(pos);  // a long the library must receive whole
      e += std::to_string(a.number);
      break;
    default:  // a record
      if (!nulls) o = J::make(k.java);
      if (std::islower(l)) break;  // the library fills it
      e = nulls ? "P0" : "P";
      std::istringstream fields(k.fields);
      std::string field;
      for (int32_t j = 0; !nulls && fields >> field; ++j) {
        J::set(o, field.c_str(), int32_t(10 * (pos + 1) + j));
        e += (j ? "/" : "") + std::to_string(10 * (pos + 1) + j);
      }
  }
  return a;
}

// What Java holds of a result the probe filled: the field named in its kind (the sender's
// fields for a decryption result, ca and pathlen together for basic constraints).
template <typename J>
int64_t produced(const Kind& k, typename J::Object o) {
  if (k.letter == 'd') return J::get_int(J::get(o, k.fields), "fields");
  if (k.letter == 'b') return J::get_int(o, "ca") * 100 + J::get_int(o, k.fields);
  if (k.letter == 't' || k.letter == 'x') return J::get_long(o, k.fields);
  return J::get_int(o, k.fields);
}

// Calls the row's method through the JNI, its native function answering `status`, and checks
// what the library received and what Java holds after the call, and that the ledger is clean.
template <typename J>
void run(typename J::Object self, const Row<J>& row, int32_t status, bool nulls) {
  const char* how = nulls ? " with nulls" : status != 0 ? " failing" : " succeeding";
  SCOPED_TRACE(row.op + std::string(how));
  const std::string op = row.op, layout = row.layout;
  const Stage stage = stage_of(op);
  std::string desc = "(LNorv1/LocalIface;";
  std::vector<Argument<J>> args;
  Texts expected;
  for (size_t pos = 0; pos < layout.size(); ++pos) {
    desc += descriptor(layout[pos]);
    args.push_back(argument<J>(self, layout, pos, stage, nulls));
    expected.push_back(args.back().expected);
  }
  if (std::optional<std::string> declared = J::descriptor(row.op)) {
    EXPECT_EQ(*declared, desc + ")I") << "the row's layout is the Java declaration";
  }

  auto p = std::make_shared<Probe>();
  p->layout = layout;
  p->status = status;
  standin::reset();
  row.install(row.function, p);
  EXPECT_EQ(J::call(self, row.op, args), status);
  EXPECT_EQ(J::thrown(), std::nullopt);
  EXPECT_EQ(J::problems(), Texts{});
  EXPECT_EQ(p->seen, expected) << "the library's arguments, in order";
  Texts reached;
  for (const std::string& name : standin::call_names())
    if (name.find("Free") == std::string::npos) reached.push_back(name);
  EXPECT_EQ(reached, Texts{row.function});

  int outputs = 0;
  for (size_t pos = 0; pos < layout.size() && !nulls; ++pos) {
    const char l = layout[pos];
    auto o = args[pos].object;
    if (l == 'O') {
      bool kept = status != 0 && stage == Stage::kUpdate && keeps_output_on_failure(op);
      Bytes want = kept ? Bytes{0xEE} : Bytes{'o', uint8_t('0' + ++outputs)};
      EXPECT_EQ(J::get_bytes(o, "buf"), want) << "output at " << pos;
    } else if (l == 'H' || l == 'J') {
      EXPECT_EQ(J::get_long(o, "handle"), l == 'J' ? kOld : handle_after(stage, status))
          << "the handle rule";
    } else if (l == 'W') {
      EXPECT_EQ(J::ints_of(o), std::vector<int32_t>{kStateOut});
    } else if (std::islower(l)) {
      EXPECT_EQ(produced<J>(kind(l), o), kind(l).filled) << "result " << l;
    }
  }
  // Whatever Java did not take went back to the library within the call.
  Texts problems = standin::ledger_problems();
  EXPECT_EQ(problems, Texts{});
  if (!problems.empty()) standin::ledger_forget();  // reported here, not again for every row
}

}  // namespace method_table
