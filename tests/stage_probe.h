// Shared by the streaming and CMS tests: a table of exported methods, each with the layout of
// its Java parameters, driven through one check. A probe answers the method's own native
// function: it notes every argument it receives, in order, as a short text, and fills every
// result it is handed with something that names its position. The check then compares what
// the library saw with what Java passed, and what Java got back with what the library gave,
// once with a successful native call and once with a failing one.
#pragma once

#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "records.h"

namespace tj {

inline constexpr int32_t kFail = 0x0BAD0001;
inline constexpr jlong kOldHandle = 0x0DD0;                // what H holds before a call
inline constexpr uint64_t kIssued = 0x5151000000000A1ull;  // the handle an Init issues
inline constexpr jint kStateIn = 51;                       // st[0] before a call
inline constexpr jint kStateOut = -7;                      // what the library leaves in w
inline constexpr jint kTrailing = 0x7A11;                  // the trailing int
inline constexpr int kSigners = 2;                         // verify_result_t.sign_num given
inline constexpr int kSenderSeed = 4;                      // decrypt_result_t.sender's seed

struct Probe {
  int32_t status = 0;
  bool issues = false;  // an Init stage: the library stores a new handle
  int outputs = 0;
  std::vector<std::string> seen;
};

// One argument as the library received it (and, for results, filled).
inline std::string note(Probe&, context_t, sign_param_t* p) {
  return "S" + std::to_string(p->flag);
}
inline std::string note(Probe&, context_t, verify_param_t* p) {
  return "V" + std::to_string(p->flag);
}
inline std::string note(Probe&, context_t, encrypt_param_t* p) {
  return "E" + std::to_string(p->flag);
}
inline std::string note(Probe&, context_t, decrypt_param_t* p) {
  return "D" + std::to_string(p->flag);
}
inline std::string note(Probe& p, context_t c, mem_blk_t* b) {
  // An output block: the table's inputs are never empty.
  if (b->buf == nullptr && b->len == 0) {
    ++p.outputs;
    *b = mem_blk_t{2, standin::bytes(c, {'o', uint8_t('0' + p.outputs)})};
    return "O";
  }
  return "I" + std::string(reinterpret_cast<const char*>(b->buf), size_t(b->len));
}
inline std::string note(Probe&, context_t, string_t s) { return "N" + std::string(s ? s : "null"); }
inline std::string note(Probe& p, context_t, strhandle_t* h) {
  std::string out = "H" + std::to_string(uint64_t(*h));
  if (p.issues) *h = strhandle_t{kIssued};
  return out;
}
inline std::string note(Probe&, context_t, int32_t* w) {
  std::string out = "W" + std::to_string(*w);
  *w = kStateOut;
  return out;
}
inline std::string note(Probe&, context_t, int32_t v) { return "T" + std::to_string(v); }
inline std::string note(Probe&, context_t c, verify_result_t* r) {
  standin::fill_verify_result(c, r, kSigners);
  return "r";
}
inline std::string note(Probe&, context_t c, decrypt_result_t* r) {
  standin::fill_certificate(c, &r->sender, kSenderSeed);
  return "d";
}
inline std::string note(Probe&, context_t c, encrypted_info_result_t* r) {
  standin::fill_encrypted_info(c, r, 2);
  return "e";
}
inline std::string note(Probe&, context_t c, cms_msginf_t* m) {
  standin::fill_cms_msginf(c, m, 3, 0);
  return "m";
}

template <auto Fn>
void probe(std::shared_ptr<Probe> p) {
  standin::on<Fn>([p](context_t c, auto... args) -> int32_t {
    (p->seen.push_back(note(*p, c, args)), ...);
    return p->status;
  });
}

// One exported method: its name, its Java parameters after self, and the probe of its native
// function. Layout letters: S V E D parameter records (sign, verify, encrypt, decrypt), I input
// block, O output block, N name, H handle object, W int[] state word, T trailing int, and the
// result records r (verify_result_t), d (decrypt_result_t), e (encrypted_info_result_t),
// m (cms_msginf_t).
struct Row {
  const char* op;
  const char* layout;
  void (*install)(std::shared_ptr<Probe>);
};
#define TVJ_ROW(op, layout) \
  Row { #op, layout, &probe < QUMEN_##op> }

enum class Stage { kOneShot, kInit, kUpdate, kFinal };

inline Stage stage_of(const std::string& op) {
  auto ends = [&](const char* s) { return op.size() > std::strlen(s) && op.ends_with(s); };
  if (ends("InitMem")) return Stage::kInit;
  if (ends("UpdateMem")) return Stage::kUpdate;
  if (ends("FinalMem")) return Stage::kFinal;
  return Stage::kOneShot;
}

// The attached signing and verification streams leave the Java output block as it was after a
// failing Update; every other output is converted whatever the status.
inline bool keeps_output_on_failure(const std::string& op) {
  return op == "CmsStrAttSignUpdateMem" || op == "CmsStrAttVerifyUpdateMem";
}

// The Java parameter of each letter: record classes (parameters upper case, results lower case)
// and the other kinds by their JNI descriptors.
struct Letter {
  char letter;
  const char* record;
  const char* descriptor;
};
inline constexpr Letter kLetters[] = {
    {'S', "sign_param_t", nullptr},
    {'V', "verify_param_t", nullptr},
    {'E', "encrypt_param_t", nullptr},
    {'D', "decrypt_param_t", nullptr},
    {'r', "verify_result_t", nullptr},
    {'d', "decrypt_result_t", nullptr},
    {'e', "encrypted_info_result_t", nullptr},
    {'m', "cms_msginf_t", nullptr},
    {'I', nullptr, "LNorv1/LocalIface$mem_blk_t;"},
    {'O', nullptr, "LNorv1/LocalIface$mem_blk_t;"},
    {'N', nullptr, "Ljava/lang/String;"},
    {'H', nullptr, "Ljava/lang/Object;"},
    {'W', nullptr, "[I"},
    {'T', nullptr, "I"},
};

inline const Letter& letter(char c) {
  for (const Letter& l : kLetters)
    if (l.letter == c) return l;
  static const Letter unknown{'?', nullptr, "?"};
  return unknown;
}

inline std::string descriptor(char c) {
  const Letter& l = letter(c);
  return l.record ? std::string("LNorv1/LocalIface$") + l.record + ";" : l.descriptor;
}

inline std::string java_descriptor(const char* op) {
  jmethodID m = env()->GetStaticMethodID(cls("tvtest/Reflect"), "methodDescriptor",
                                         "(Ljava/lang/String;)Ljava/lang/String;");
  jstring name = str((std::string("QUMENJNI_") + op).c_str());
  auto d = static_cast<jstring>(env()->CallStaticObjectMethod(cls("tvtest/Reflect"), m, name));
  if (env()->ExceptionCheck()) return "exception";
  return utf8(d).value_or("none");
}

// A local frame of its own for each row: a table makes more references than the test's frame
// was sized for (-Xcheck:jni reports the excess).
struct LocalFrame {
  LocalFrame() { env()->PushLocalFrame(64); }
  ~LocalFrame() { env()->PopLocalFrame(nullptr); }
  LocalFrame(const LocalFrame&) = delete;
  LocalFrame& operator=(const LocalFrame&) = delete;
};

// Calls the row's method through Java with a native status `status`, and checks both sides.
inline void check_row(jobject self, const Row& row, int32_t status) {
  SCOPED_TRACE(std::string(row.op) + (status == 0 ? " (succeeding)" : " (failing)"));
  LocalFrame frame;
  const std::string op = row.op;
  const Stage stage = stage_of(op);
  const std::string layout = row.layout;

  std::string desc = "(LNorv1/LocalIface;";
  for (char c : layout) desc += descriptor(c);
  ASSERT_EQ(java_descriptor(row.op), desc + ")I") << "the table's layout is the Java declaration";

  std::vector<jvalue> args{arg(self)};
  std::vector<jobject> objects;
  std::vector<std::string> expected;
  int inputs = 0, names = 0;
  for (char c : layout) {
    jobject o = nullptr;
    std::string seen(1, c);
    int ordinal = c == 'I' ? ++inputs : c == 'N' ? ++names : 0;
    std::string text = std::string(1, char(std::tolower(c))) + std::to_string(ordinal);
    if (const char* name = letter(c).record) {
      o = make(name);
      if (std::isupper(c)) {  // a parameter record, told apart by its flag
        jint flag = 10 + jint(std::string("SVED").find(c));
        set(o, "flag", flag);
        seen += std::to_string(flag);
      }
    } else if (c == 'I') {
      o = block(Bytes(text.begin(), text.end()));
      seen += text;
    } else if (c == 'O') {
      o = block({0xEE});
    } else if (c == 'N') {
      o = str(text.c_str());
      seen += text;
    } else if (c == 'H') {
      o = make("strhandle_t");
      set(o, "handle", L{kOldHandle});
      seen += std::to_string(stage == Stage::kInit ? 0 : kOldHandle);
    } else if (c == 'W') {
      o = ints({kStateIn});
      seen += std::to_string(stage == Stage::kInit ? 0 : kStateIn);
    } else if (c == 'T') {
      seen += std::to_string(kTrailing);
    }
    args.push_back(c == 'T' ? arg(kTrailing) : arg(o));
    objects.push_back(o);
    expected.push_back(seen);
  }

  auto p = std::make_shared<Probe>();
  p->status = status;
  p->issues = stage == Stage::kInit;
  row.install(p);
  standin::clear_calls();
  jint got = env()->CallStaticIntMethodA(cls("Norv1/LocalIface"), method(row.op), args.data());
  EXPECT_NOTHING_THROWN();
  EXPECT_EQ(got, status);
  EXPECT_EQ(p->seen, expected) << "the library's arguments, in order";

  std::vector<std::string> reached;
  for (const std::string& name : standin::call_names())
    if (name.find("Free") == std::string::npos) reached.push_back(name);
  EXPECT_EQ(reached, std::vector<std::string>{"QUMEN_" + op});

  int outputs = 0;
  for (size_t i = 0; i < layout.size(); ++i) {
    jobject o = objects[i];
    switch (layout[i]) {
      case 'O': {
        ++outputs;
        if (status != 0 && stage == Stage::kUpdate && keeps_output_on_failure(op)) {
          EXPECT_EQ(get_bytes(o, "buf"), Bytes{0xEE}) << "output " << outputs << " left as it was";
        } else {
          EXPECT_EQ(get_bytes(o, "buf"), (Bytes{'o', uint8_t('0' + outputs)}))
              << "output " << outputs;
          EXPECT_EQ(get_int(o, "len"), 2);
        }
        break;
      }
      case 'H': {
        jlong want = stage == Stage::kInit     ? (status == 0 ? jlong(kIssued) : 0)
                     : stage == Stage::kUpdate ? (status == 0 ? kOldHandle : 0)
                                               : 0;
        EXPECT_EQ(get_long(o, "handle"), want) << "the handle rule";
        break;
      }
      case 'W':
        EXPECT_EQ(ints_of(static_cast<jintArray>(o)), std::vector<jint>{kStateOut});
        break;
      case 'r':
        EXPECT_EQ(get_int(o, "sign_num"), kSigners);
        break;
      case 'd':
        EXPECT_EQ(get_string(get(o, "sender"), "issuer"),
                  standin::CertificateText::issuer(kSenderSeed));
        break;
      case 'e':
        EXPECT_EQ(get_int(o, "type"), 7);
        break;
      case 'm':
        EXPECT_EQ(get_int(o, "type"), 3);
        EXPECT_EQ(get_string(o, "cipherAlg"), "aes128-gcm");
        break;
    }
  }
  // Whatever Java did not take went back to the library in this very call.
  std::vector<std::string> problems = standin::ledger_problems();
  EXPECT_EQ(problems, std::vector<std::string>{});
  if (!problems.empty()) standin::ledger_forget();  // reported here, not again for every row
}

}  // namespace tj
