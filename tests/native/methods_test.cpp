// Every exported method that follows the call frame, as one table: each row is the method's Java
// parameters after self, and the method must reach its own native function with each argument in
// the position the library expects, and bring every result back to Java (or back to the library)
// on success, on failure, and with null objects.
//
// A probe stands in for the native function: it notes each argument as a short text and fills
// each result with something that names it. The expected notes are built from the same layout.
#include <cctype>
#include <iterator>
#include <memory>
#include <sstream>

#include "helpers.h"
#include "method_layouts.h"

using namespace tj;

namespace {

constexpr int32_t kFail = 0x0BAD0001;
constexpr jlong kOld = 0x0DD0;                      // a handle object's value before the call
constexpr uint64_t kIssued = 0x5151000000000A1ull;  // what the library leaves in every handle
constexpr jint kStateIn = 51, kStateOut = -7;       // an int[] state word before and after

// The letters of a layout. `java` is a record class of LocalIface (lower case first) or a JNI
// descriptor. Records the library reads (upper case) get their int `fields` set to
// 10 * (position + 1) + index; records it fills (lower case) come back with `filled` in `fields`.
struct Kind {
  char letter;
  const char* java;
  const char* fields = nullptr;
  jlong filled = 0;
};
// clang-format off
const Kind kKinds[] = {
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

const Kind& kind(char l) {
  for (const Kind& k : kKinds)
    if (k.letter == l) return k;
  ADD_FAILURE() << "no kind " << l;
  return kKinds[0];
}
std::string descriptor(char l) {
  const char* java = kind(l).java;
  return std::islower(java[0]) ? std::string("LNorv1/LocalIface$") + java + ";" : java;
}

// What Java holds of a result the probe filled: the field named in its kind (the sender's
// fields for a decryption result, ca and pathlen together for basic constraints).
jlong produced(const Kind& k, jobject o) {
  if (k.letter == 'd') return get_int(get(o, k.fields), "fields");
  if (k.letter == 'b') return get_int(o, "ca") * 100 + get_int(o, k.fields);
  if (k.letter == 't' || k.letter == 'x') return get_long(o, k.fields);
  return get_int(o, k.fields);
}

// ---- The native side ----------------------------------------------------------------------------

// clang-format off
void fill(context_t c, verify_result_t* r) { standin::fill_verify_result(c, r, 2); }
void fill(context_t c, decrypt_result_t* r) { standin::fill_certificate(c, &r->sender, 4); }
void fill(context_t c, encrypted_info_result_t* r) { standin::fill_encrypted_info(c, r, 2); }
void fill(context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 3, 0); }
void fill(context_t c, tsp_verify_result_t* r) { *r = {0xFFFFFFFEu, standin::new_certificate(c, 9)}; }
void fill(context_t c, ocsp_verify_result_t* r) { standin::fill_ocsp_verify_result(c, r); }
void fill(context_t c, signed_info_result_t* r) { standin::fill_signed_info(c, r, 2); }
void fill(context_t c, pkcs7_info_t* p) { standin::fill_pkcs7_info(c, p, 2, 1); }
void fill(context_t c, certificate_t* r) { standin::fill_certificate(c, r, 3); }
void fill(context_t c, crl_t* r) { standin::fill_crl(c, r, 2); }
void fill(context_t c, altname_ex_t* r) { standin::fill_altname_ex(c, r, 2); }
void fill(context_t, basic_constraints_ex_t* r) { *r = {1, 7}; }
void fill(context_t c, find_result_t* r) { standin::fill_find_result(c, r, 2); }
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
std::string note(Probe& p, context_t c, certificate_t* cert) {
  return p.letter() == 'C' ? "C" + text_of(cert->subject) : note<certificate_t>(p, c, cert);
}
std::string note(Probe& p, context_t c, mem_blk_t* b) {
  if (p.letter() == 'I')
    return "I" + (b->buf ? std::string(reinterpret_cast<char*>(b->buf), size_t(b->len)) : "-");
  if (b->buf != nullptr || b->len != 0) return "O not zeroed";
  *b = mem_blk_t{2, standin::bytes(c, {'o', uint8_t('0' + ++p.outputs)})};
  return "O";
}
std::string note(Probe&, context_t, string_t s) { return "N" + text_of(s); }
std::string note(Probe&, context_t, strhandle_t* h) {
  std::string out = "H" + std::to_string(uint64_t(*h));
  *h = strhandle_t{kIssued};  // a new handle, or a moved one: the frame decides what Java sees
  return out;
}
std::string note(Probe&, context_t, strhandle_t h) { return "J" + std::to_string(uint64_t(h)); }
std::string note(Probe&, context_t, int32_t* w) {
  std::string out = "W" + std::to_string(*w);
  *w = kStateOut;
  return out;
}
std::string note(Probe&, context_t, int32_t v) { return "T" + std::to_string(v); }
std::string note(Probe&, context_t, int64_t v) { return "G" + std::to_string(v); }

template <auto Fn>
void probe(std::shared_ptr<Probe> p) {
  standin::on<Fn>([p]([[maybe_unused]] context_t c, auto... args) -> int32_t {
    (p->seen.push_back(note(*p, c, args)), ...);
    return p->status;
  });
}

struct Row {
  const char* op;
  const char* layout;
  void (*install)(std::shared_ptr<Probe>);
};
// Every method but those that depart from the frame, which have tests of their own
// (method_layouts.h).
#define ROW(op, layout) Row{#op, layout, &probe<QUMEN_##op>},
const Row kRows[] = {TVJ_FRAME_METHODS(ROW)};

// The handle rules: an Init (or a session's creation) stores the new handle on success and 0
// otherwise; an Update keeps the caller's handle on success and leaves 0 after a failure; a Final
// (or a session's destruction) always leaves 0. The state word is read only by an Update.
enum class Stage { kPlain, kInit, kUpdate, kFinal };
Stage stage_of(const std::string& op) {
  if (op.ends_with("InitMem") || op == "TlsSessionCreate") return Stage::kInit;
  if (op.ends_with("UpdateMem")) return Stage::kUpdate;
  if (op.ends_with("FinalMem") || op == "TlsSessionDestroy") return Stage::kFinal;
  return Stage::kPlain;
}
jlong handle_after(Stage stage, int32_t status) {
  if (stage == Stage::kInit) return status == 0 ? jlong(kIssued) : 0;
  return stage == Stage::kUpdate && status == 0 ? kOld : 0;
}
// The attached signing and verification streams leave their output as it was after a failing
// Update; every other output is converted whatever the status.
bool keeps_output_on_failure(const std::string& op) {
  return op == "CmsStrAttSignUpdateMem" || op == "CmsStrAttVerifyUpdateMem";
}

// One Java argument of a row and what the library should note for it.
struct Argument {
  jvalue value;
  jobject object;
  std::string expected;
};

// Argument `pos` of a layout: with a value of its own, or (`nulls`) a null object or an empty
// string, which reach the library as a zero record, a zero block, handle 0 or a null text.
Argument argument(jobject self, const std::string& layout, size_t pos, Stage stage, bool nulls) {
  const char l = layout[pos];
  const Kind& k = kind(l);
  const std::string tag = std::string(1, char(std::tolower(l))) + std::to_string(pos);
  jobject o = nullptr;
  std::string e(1, l);
  switch (l) {
    case 'C':
      if (!nulls) set(o = make(k.java), "subject", tag.c_str());
      e += nulls ? "-" : tag;
      break;
    case 'I':
      if (!nulls) o = block(Bytes(tag.begin(), tag.end()));
      e += nulls ? "-" : tag;
      break;
    case 'O':
      if (!nulls) o = block({0xEE});
      break;
    case 'N':
      o = str(nulls ? "" : tag.c_str());
      e += nulls ? "-" : tag;
      break;
    case 'H':
    case 'J':
      if (!nulls) set(o = make("strhandle_t"), "handle", L{kOld});
      e += std::to_string(nulls || (l == 'H' && stage == Stage::kInit) ? 0 : kOld);
      break;
    case 'W':
      if (!nulls) o = ints({kStateIn});
      e += std::to_string(!nulls && stage == Stage::kUpdate ? kStateIn : 0);
      break;
    case '_':
      o = nulls ? nullptr : self;
      e = "null";
      break;
    case 'T':
      e += std::to_string(100 + pos);
      return {arg(jint(100 + pos)), nullptr, e};
    case 'G': {
      jlong wide = (jlong(1) << 32) + jlong(pos);  // a long the library must receive whole
      return {arg(L{wide}), nullptr, e + std::to_string(wide)};
    }
    default:  // a record
      if (!nulls) o = make(k.java);
      if (std::islower(l)) break;  // the library fills it
      e = nulls ? "P0" : "P";
      std::istringstream fields(k.fields);
      std::string field;
      for (jint j = 0; !nulls && fields >> field; ++j) {
        set(o, field.c_str(), jint(10 * (pos + 1) + j));
        e += (j ? "/" : "") + std::to_string(10 * (pos + 1) + j);
      }
  }
  return {arg(o), o, e};
}

class Methods : public BridgeTest {
 protected:
  // Calls the row's method through Java, its native function answering `status`, and checks
  // what the library received and what Java holds after the call.
  void run(jobject self, const Row& row, int32_t status, bool nulls) {
    const char* how = nulls ? " with nulls" : status != 0 ? " failing" : " succeeding";
    SCOPED_TRACE(row.op + std::string(how));
    // A frame of its own: the table makes more local references than the test's frame takes.
    ASSERT_EQ(env_->PushLocalFrame(64), JNI_OK);
    const std::string op = row.op, layout = row.layout;
    const Stage stage = stage_of(op);
    std::string desc = "(LNorv1/LocalIface;";
    std::vector<jvalue> values{arg(self)};
    std::vector<Argument> args;
    Texts expected;
    for (size_t pos = 0; pos < layout.size(); ++pos) {
      desc += descriptor(layout[pos]);
      args.push_back(argument(self, layout, pos, stage, nulls));
      values.push_back(args.back().value);
      expected.push_back(args.back().expected);
    }
    EXPECT_EQ(method_descriptor(row.op), desc + ")I") << "the row's layout is the Java declaration";

    auto p = std::make_shared<Probe>();
    p->layout = layout;
    p->status = status;
    standin::reset();
    row.install(p);
    EXPECT_EQ(env_->CallStaticIntMethodA(cls("Norv1/LocalIface"), method(row.op), values.data()),
              status);
    EXPECT_NOTHING_THROWN();
    EXPECT_EQ(p->seen, expected) << "the library's arguments, in order";
    Texts reached;
    for (const std::string& name : standin::call_names())
      if (name.find("Free") == std::string::npos) reached.push_back(name);
    EXPECT_EQ(reached, Texts{"QUMEN_" + op});

    int outputs = 0;
    for (size_t pos = 0; pos < layout.size() && !nulls; ++pos) {
      const char l = layout[pos];
      jobject o = args[pos].object;
      if (l == 'O') {
        bool kept = status != 0 && stage == Stage::kUpdate && keeps_output_on_failure(op);
        Bytes want = kept ? Bytes{0xEE} : Bytes{'o', uint8_t('0' + ++outputs)};
        EXPECT_EQ(get_bytes(o, "buf"), want) << "output at " << pos;
      } else if (l == 'H' || l == 'J') {
        EXPECT_EQ(get_long(o, "handle"), l == 'J' ? kOld : handle_after(stage, status))
            << "the handle rule";
      } else if (l == 'W') {
        EXPECT_EQ(ints_of(static_cast<jintArray>(o)), std::vector<jint>{kStateOut});
      } else if (std::islower(l)) {
        EXPECT_EQ(produced(kind(l), o), kind(l).filled) << "result " << l;
      }
    }
    // Whatever Java did not take went back to the library within the call.
    Texts problems = standin::ledger_problems();
    EXPECT_EQ(problems, Texts{});
    if (!problems.empty()) standin::ledger_forget();  // reported here, not again for every row
    env_->PopLocalFrame(nullptr);
  }
};

TEST_F(Methods, EveryMethodPassesItsArgumentsInPlaceAndTakesItsResultsWhateverTheStatus) {
  jobject s = open();
  for (const Row& row : kRows) {
    run(s, row, 0, false);
    run(s, row, kFail, false);
  }
}

TEST_F(Methods, NullObjectsReachTheLibraryAsZerosAndResultsStillGoBack) {
  jobject s = open();
  for (const Row& row : kRows) run(s, row, 0, true);
}

}  // namespace
