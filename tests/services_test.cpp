// Time stamps, OCSP, TLS sessions and the plain store and profile calls, as one table: every
// method reaches its own library function, each argument in the position the library expects,
// and every result comes back to Java (or goes back to the library) on success and on failure.
#include <cstdio>
#include <string>
#include <vector>

#include "records.h"

using namespace tj;

namespace {

constexpr int32_t kFail = 0x0BAD0001;

std::string hex64(uint64_t v) {
  char b[24];
  std::snprintf(b, sizeof b, "%llx", static_cast<unsigned long long>(v));
  return b;
}

// The letters of a row name its parameters after self, in Java order, which is also the order
// the library receives them in:
//   q r v  time-stamp request, response and verify parameters   s  a text
//   p n w  OCSP request, response and verify parameters         d  an int
//   m e a  import, export and add parameters                    i  an input block
//   o      an output block                                      t  a time-stamp result
//   h      a handle the library receives by address             x  an OCSP result
//   H      a handle the library receives by value
enum Stage { kPlain, kInit, kUpdate, kFinal };

// What the library received, one entry per argument; with `fill` it also puts a result in every
// output position, so that the bridge has something to bring back or give back.
struct Recorder {
  context_t c;
  std::string shape;
  bool fill;
  std::string seen = {};
  size_t k = 0;
  int outs = 0;

  char letter() { return k < shape.size() ? shape[k++] : '?'; }
  void put(const std::string& s) { seen += (seen.empty() ? "" : " ") + s; }

  template <typename Rec>
  void param(char tag, const Rec* r, std::initializer_list<int32_t> values) {
    letter();
    std::string out(1, tag);
    if (zeroed(*r)) return put(out + ":zero");
    char sep = ':';
    for (int32_t v : values) {
      out += sep + std::to_string(v);
      sep = '/';
    }
    put(r->reserved != 0 ? out + "+reserved" : out);
  }
  void see(tsp_request_param_t* p) { param('Q', p, {p->flag, p->index}); }
  void see(tsp_response_param_t* p) { param('R', p, {p->flag}); }
  void see(tsp_verify_param_t* p) { param('V', p, {p->flag, p->index, p->info}); }
  void see(ocsp_request_param_t* p) { param('P', p, {p->flag}); }
  void see(ocsp_response_param_t* p) { param('N', p, {p->flag}); }
  void see(ocsp_verify_param_t* p) { param('W', p, {p->flag, p->info}); }
  void see(import_param_t* p) { param('M', p, {p->flag}); }
  void see(export_param_t* p) { param('E', p, {p->flag}); }
  void see(add_param_t* p) { param('A', p, {p->flag}); }
  void see(char* s) {
    letter();
    put(s ? "S:" + std::string(s) : "S:null");
  }
  void see(int32_t v) {
    letter();
    put("D:" + std::to_string(v));
  }
  void see(mem_blk_t* b) {
    bool zero = b->buf == nullptr && b->len == 0;
    if (letter() == 'o') {
      put(zero ? "O" : "O:not zero");
      if (fill) *b = mem_blk_t{2, standin::bytes(c, {0xB0, uint8_t(outs)})};
      ++outs;
    } else {
      put(zero ? "Z" : "I:" + hex(b->buf, b->len));
    }
  }
  void see(strhandle_t* h) {
    letter();
    put("H:" + hex64(uint64_t(*h)));
    *h = strhandle_t(0x99);  // a new handle, or a moved one: the bridge decides what Java sees
  }
  void see(strhandle_t h) {
    letter();
    put("h:" + hex64(uint64_t(h)));
  }
  void see(tsp_verify_result_t* r) {
    letter();
    put(zeroed(*r) ? "T" : "T:not zero");
    if (fill) *r = tsp_verify_result_t{0xFFFFFFFEu, standin::new_certificate(c, 9)};
  }
  void see(ocsp_verify_result_t* r) {
    letter();
    put(zeroed(*r) ? "X" : "X:not zero");
    if (fill) *r = ocsp_verify_result_t{7, 8, 0, 0x80000000u, 0xFFFFFFFFu, standin::new_certificate(c, 10)};
  }
};

template <auto Fn>
void install(const std::string& shape, int32_t status, bool fill, std::string* seen) {
  standin::on<Fn>([=](context_t c, auto... args) -> int32_t {
    Recorder r{c, shape, fill};
    (r.see(args), ...);
    *seen = r.seen;
    return status;
  });
}

struct Row {
  const char* op;
  const char* shape;
  Stage stage;
  void (*install)(const std::string&, int32_t, bool, std::string*);
};

#define ROW(op, shape, stage) Row{#op, shape, stage, &install<QUMEN_##op>}
const Row kRows[] = {
    ROW(TspBlkRequestFromCmsMem, "qio", kPlain),
    ROW(TspRequestFromPkcs7, "qio", kPlain),
    ROW(TspBlkRequestFromCmsFile, "qso", kPlain),
    ROW(TspSignResponse, "rio", kPlain),
    ROW(TspVerifyResponse, "vit", kPlain),
    ROW(TspBlkVerifyCmsMem, "vit", kPlain),
    ROW(TspVerifyPkcs7Mem, "vit", kPlain),
    ROW(TspBlkVerifyCmsFile, "vst", kPlain),
    ROW(TspStrVerifyCmsFile, "vst", kPlain),
    ROW(TspVerifyPkcs7File, "vst", kPlain),
    ROW(TspBlkUrlStampCmsMem, "qsio", kPlain),
    ROW(TspUrlStampPkcs7Mem, "qsio", kPlain),
    ROW(TspBlkUrlStampCmsFile, "qsss", kPlain),
    ROW(TspStrUrlStampCmsFile, "qsss", kPlain),
    ROW(TspUrlStampPkcs7File, "qsss", kPlain),
    ROW(TspStrUrlStampCmsInitMem, "qsih", kInit),
    ROW(TspStrUrlStampCmsUpdateMem, "qshio", kUpdate),
    ROW(TspStrUrlStampCmsFinalMem, "qsho", kFinal),
    ROW(TspStrVerifyCmsInitMem, "vih", kInit),
    ROW(TspStrVerifyCmsUpdateMem, "vhi", kUpdate),
    ROW(TspStrVerifyCmsFinalMem, "vht", kFinal),
    ROW(OcspCreateRequest, "pio", kPlain),
    ROW(OcspUrlObtainResponse, "psio", kPlain),
    ROW(OcspSignResponse, "nio", kPlain),
    ROW(OcspVerifyResponse, "wix", kPlain),
    ROW(ImportMem, "mi", kPlain),
    ROW(ImportFile, "ms", kPlain),
    ROW(ExportMem, "eo", kPlain),
    ROW(ExportFile, "es", kPlain),
    ROW(AddCertificate, "ai", kPlain),
    ROW(AddCRL, "ai", kPlain),
    ROW(IssueCertificateStore, "iss", kPlain),
    ROW(CreateRegistryProfile, "ssd", kPlain),
    ROW(CreateRegistryProfileEx, "ssssd", kPlain),
    ROW(QueryRegistryProfileEx, "ooood", kPlain),
    ROW(TlsSessionCreate, "shd", kInit),
    ROW(TlsSessionDestroy, "h", kFinal),
    ROW(TlsSessionHandshake, "Hio", kPlain),
    ROW(TlsSessionComplete, "H", kPlain),
    ROW(TlsSessionQuery, "Hdo", kPlain),
    ROW(TlsSessionWrite, "Hio", kPlain),
    ROW(TlsSessionRead, "Hio", kPlain),
};
#undef ROW

jobject with_int(const char* klass, std::initializer_list<std::pair<const char*, jint>> fields) {
  jobject o = make(klass);
  for (auto [f, v] : fields) set(o, f, v);
  return o;
}

// A row's Java arguments: `nulls` gives null objects and `null_text` for every text; otherwise
// every argument carries a value of its own, and the results hold something to be replaced.
struct Arguments {
  std::vector<jvalue> values;
  std::vector<jobject> objects;
};

Arguments arguments(const Row& row, bool nulls, const char* null_text) {
  Arguments a;
  std::string shape = row.shape;
  int texts = 0;
  for (size_t pos = 0; pos < shape.size(); ++pos) {
    jobject o = nullptr;
    jvalue v{};
    char l = shape[pos];
    if (l == 'd') {
      v.i = jint(100 + pos);
    } else if (l == 's') {
      std::string t = "text" + std::to_string(++texts);
      o = nulls ? str(null_text) : str(t.c_str());
    } else if (!nulls) {
      switch (l) {
        case 'q': o = with_int("tsp_request_param_t", {{"flag", 11}, {"index", 12}}); break;
        case 'r': o = with_int("tsp_response_param_t", {{"flag", 21}}); break;
        case 'v': o = with_int("tsp_verify_param_t", {{"flag", 31}, {"index", 32}, {"info", 33}}); break;
        case 'p': o = with_int("ocsp_request_param_t", {{"flag", 41}}); break;
        case 'n': o = with_int("ocsp_response_param_t", {{"flag", 51}}); break;
        case 'w': o = with_int("ocsp_verify_param_t", {{"flag", 61}, {"info", 62}}); break;
        case 'm': o = with_int("import_param_t", {{"flag", 71}}); break;
        case 'e': o = with_int("export_param_t", {{"flag", 72}}); break;
        case 'a': o = with_int("add_param_t", {{"flag", 73}}); break;
        case 'i': o = block({uint8_t(0x10 + pos)}); break;
        case 'o': o = block({0xEE, 0xEE, 0xEE}); break;
        case 'h':
        case 'H':
          o = make("strhandle_t");
          set(o, "handle", L{row.stage == kInit ? 0x55 : 0x77});
          break;
        case 't':
          o = make("tsp_verify_result_t");
          set(o, "cert", make("certificate_t"));
          break;
        case 'x':
          o = make("ocsp_verify_result_t");
          set(o, "cert", make("certificate_t"));
          break;
        default: ADD_FAILURE() << "letter " << l;
      }
    }
    if (l != 'd') v.l = o;
    a.values.push_back(v);
    a.objects.push_back(o);
  }
  a.values.push_back(jvalue{});
  return a;
}

// What the library should see for a row.
std::string expected(const Row& row, bool nulls) {
  std::string out;
  int texts = 0;
  std::string shape = row.shape;
  for (size_t pos = 0; pos < shape.size(); ++pos) {
    std::string e;
    switch (char l = shape[pos]) {
      case 'q': e = nulls ? "Q:zero" : "Q:11/12"; break;
      case 'r': e = nulls ? "R:zero" : "R:21"; break;
      case 'v': e = nulls ? "V:zero" : "V:31/32/33"; break;
      case 'p': e = nulls ? "P:zero" : "P:41"; break;
      case 'n': e = nulls ? "N:zero" : "N:51"; break;
      case 'w': e = nulls ? "W:zero" : "W:61/62"; break;
      case 'm': e = nulls ? "M:zero" : "M:71"; break;
      case 'e': e = nulls ? "E:zero" : "E:72"; break;
      case 'a': e = nulls ? "A:zero" : "A:73"; break;
      case 's': e = nulls ? "S:null" : "S:text" + std::to_string(++texts); break;
      case 'd': e = "D:" + std::to_string(100 + pos); break;
      case 'i': {
        uint8_t b = uint8_t(0x10 + pos);
        e = nulls ? "Z" : "I:" + hex(&b, 1);
        break;
      }
      case 'o': e = "O"; break;
      case 'h': e = nulls || row.stage == kInit ? "H:0" : "H:77"; break;
      case 'H': e = nulls ? "h:0" : "h:77"; break;
      case 't': e = "T"; break;
      case 'x': e = "X"; break;
      default: e = std::string("?") + l;
    }
    out += (out.empty() ? "" : " ") + e;
  }
  return out;
}

// The handle Java holds after a call: a new one after a successful creation, the caller's after
// a successful use, 0 after a failed creation or use and after every ending.
jlong handle_after(Stage stage, char letter, int32_t status) {
  if (letter == 'H') return 0x77;
  switch (stage) {
    case kInit: return status == 0 ? 0x99 : 0;
    case kUpdate: return status == 0 ? 0x77 : 0;
    default: return 0;
  }
}

class Services : public BridgeTest {
 protected:
  jint invoke(const Row& row, jobject s, Arguments& a) {
    a.values.insert(a.values.begin(), arg(s));
    jint status = env_->CallStaticIntMethodA(cls("Norv1/LocalIface"), method(row.op), a.values.data());
    a.values.erase(a.values.begin());
    return status;
  }
};

TEST_F(Services, EveryMethodReachesItsOwnFunctionWithItsArgumentsInPlace) {
  jobject s = open();
  for (int32_t status : {0, kFail}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(std::string(row.op) + " returning " + std::to_string(status));
      ASSERT_EQ(env_->PushLocalFrame(64), JNI_OK);
      standin::reset();
      std::string seen = "(not called)";
      row.install(row.shape, status, true, &seen);
      Arguments a = arguments(row, false, nullptr);
      EXPECT_EQ(invoke(row, s, a), status);
      EXPECT_NOTHING_THROWN();
      EXPECT_EQ(standin::count(std::string("QUMEN_") + row.op), 1u);
      EXPECT_EQ(seen, expected(row, false));

      // Results reach Java whatever the status.
      int outs = 0;
      for (size_t pos = 0; pos < a.objects.size(); ++pos) {
        jobject o = a.objects[pos];
        switch (char l = row.shape[pos]) {
          case 'o':
            EXPECT_EQ(get_int(o, "len"), 2) << "output " << outs;
            EXPECT_EQ(get_bytes(o, "buf"), (Bytes{0xB0, uint8_t(outs)}));
            ++outs;
            break;
          case 'h':
          case 'H': EXPECT_EQ(get_long(o, "handle"), handle_after(row.stage, l, status)); break;
          case 't':
            EXPECT_EQ(get_long(o, "timeEx"), 4294967294LL) << "widened without sign";
            EXPECT_EQ(get_string(get(o, "cert"), "subject"), standin::CertificateText::subject(9));
            break;
          case 'x':
            EXPECT_EQ(get_int(o, "status"), 7);
            EXPECT_EQ(get_int(o, "reason"), 8);
            EXPECT_EQ(get_long(o, "revtimeEx"), 0);
            EXPECT_EQ(get_long(o, "thisupdEx"), 2147483648LL);
            EXPECT_EQ(get_long(o, "nextupdEx"), 4294967295LL);
            EXPECT_EQ(get_string(get(o, "cert"), "subject"), standin::CertificateText::subject(10));
            break;
          default: break;
        }
      }
      env_->PopLocalFrame(nullptr);
    }
  }
}

// Null objects are zero records, zero blocks and handle 0; null and empty texts are null
// pointers; results with no Java object to receive them still go back to the library.
TEST_F(Services, NullArgumentsReachTheLibraryAsZerosAndResultsStillGoBack) {
  jobject s = open();
  for (const char* text : {static_cast<const char*>(nullptr), ""}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(std::string(row.op) + (text ? " with empty texts" : " with null texts"));
      ASSERT_EQ(env_->PushLocalFrame(64), JNI_OK);
      standin::reset();
      std::string seen = "(not called)";
      row.install(row.shape, 0, true, &seen);
      Arguments a = arguments(row, true, text);
      EXPECT_EQ(invoke(row, s, a), 0);
      EXPECT_NOTHING_THROWN();
      EXPECT_EQ(seen, expected(row, true));
      env_->PopLocalFrame(nullptr);
    }
  }
}

// ---- Time stamps ------------------------------------------------------------------------------

class TimeStamps : public BridgeTest {};

TEST_F(TimeStamps, StampingNeedsTheCallersUrlAndVerificationFindsTheStamp) {
  jobject s = open();
  jobject stamped = block({0xEE});
  for (const char* url : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(call("TspBlkUrlStampCmsMem", s, nullptr, str(url), block({'m'}), stamped), standin::kNoAddress);
    EXPECT_EQ(get_int(stamped, "len"), 0) << "a failure still rewrites the output";
    EXPECT_EQ(get_bytes(stamped, "buf"), std::nullopt);
  }
  ASSERT_EQ(call("TspBlkUrlStampCmsMem", s, nullptr, str("http://tsa"), block({'m'}), stamped), 0);
  EXPECT_EQ(get_bytes(stamped, "buf"), (Bytes{'T', 'V', 'T', 'S', 'h', 't', 't', 'p', ':', '/', '/', 't', 's', 'a', 0, 'm'}));

  jobject result = make("tsp_verify_result_t");
  jobject old = make("certificate_t");
  set(result, "cert", old);
  ASSERT_EQ(call("TspBlkVerifyCmsMem", s, nullptr, stamped, result), 0);
  EXPECT_EQ(get_long(result, "timeEx"), 0x66554433);
  jobject cert = get(result, "cert");
  EXPECT_FALSE(env_->IsSameObject(cert, old)) << "a new certificate_t replaces the old one";
  EXPECT_EQ(get_string(cert, "subject"), standin::CertificateText::subject(5));
  EXPECT_EQ(get_string(old, "subject"), std::nullopt);

  // A message without a stamp: the library leaves its result zero, and Java sees exactly that.
  EXPECT_EQ(call("TspBlkVerifyCmsMem", s, nullptr, block({'m'}), result), standin::kMismatch);
  EXPECT_EQ(get_long(result, "timeEx"), 0);
  EXPECT_EQ(get(result, "cert"), nullptr);
}

TEST_F(TimeStamps, TheResultIsReleasedWhateverJavaHoldsForIt) {
  jobject s = open();
  standin::on<QUMEN_TspVerifyResponse>([](context_t, tsp_verify_param_t*, mem_blk_t*, tsp_verify_result_t* r) {
    r->timeEx = 0xFFFFFFFFu;
    return 0;
  });
  jobject result = make("tsp_verify_result_t");
  set(result, "cert", make("certificate_t"));
  ASSERT_EQ(call("TspVerifyResponse", s, nullptr, nullptr, result), 0);
  EXPECT_EQ(get_long(result, "timeEx"), 4294967295LL);
  EXPECT_EQ(get(result, "cert"), nullptr);
  EXPECT_EQ(standin::count("QUMEN_TspFreeVerifyResult"), 1u);

  // No Java result: nothing is written, the library's result (with its certificate) goes back.
  standin::on<QUMEN_TspVerifyResponse>([](context_t c, tsp_verify_param_t*, mem_blk_t*, tsp_verify_result_t* r) {
    standin::fill_tsp_verify_result(c, r);
    return 0;
  });
  ASSERT_EQ(call("TspVerifyResponse", s, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(standin::count("QUMEN_TspFreeVerifyResult"), 2u);

  // A result class without cert: timeEx is stored, the conversion stops, the bridge gives the
  // library its result back.
  jobject partial = make("tvtest/Services$TspVerifyResultNoCert");
  EXPECT_EQ(raw("TspVerifyResponse", s, nullptr, nullptr, partial), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "tsp_verify_result_t2jobject:cert");
  EXPECT_EQ(get_long(partial, "timeEx"), 0x66554433);
}

TEST_F(TimeStamps, AVerifyParameterWithoutInfoStopsBeforeTheLibrary) {
  jobject s = open();
  jobject param = make("tvtest/Services$TspVerifyParamNoInfo");
  jobject result = make("tsp_verify_result_t");
  set(result, "timeEx", L{5});
  EXPECT_EQ(raw("TspBlkVerifyCmsMem", s, param, block({1}), result), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2tsp_verify_param_t:info");
  EXPECT_EQ(raw("TspStrVerifyCmsFinalMem", s, param, nullptr, result), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2tsp_verify_param_t:info");
  EXPECT_EQ(standin::call_names(), std::vector<std::string>{"QUMEN_InitMinimal"});
  EXPECT_EQ(get_long(result, "timeEx"), 5);
}

// The library's own streams: a stream lives in the Java object from Init to Final.
TEST_F(TimeStamps, AStreamedStampLivesInTheHandleObjectFromInitToFinal) {
  jobject s = open();
  const char* url = "http://tsa";
  jobject h = make("strhandle_t");
  ASSERT_EQ(call("TspStrUrlStampCmsInitMem", s, nullptr, str(url), block({1}), h), 0);
  auto stream = strhandle_t(get_long(h, "handle"));
  ASSERT_TRUE(standin::handle_open(stream));
  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("TspStrUrlStampCmsUpdateMem", s, nullptr, str(url), h, block({2, 3}), out), 0);
  EXPECT_EQ(get_long(h, "handle"), jlong(stream));
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{2, 3}));
  ASSERT_EQ(call("TspStrUrlStampCmsFinalMem", s, nullptr, str(url), h, out), 0);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_int(out, "len"), 32);
  EXPECT_FALSE(standin::handle_open(stream));

  // Using the ended stream again: the library refuses it, Java keeps 0.
  set(h, "handle", L{jlong(stream)});
  EXPECT_EQ(call("TspStrUrlStampCmsUpdateMem", s, nullptr, str(url), h, block({4}), out), standin::kBadHandle);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);

  // A verification stream: its Final fills the result and ends the stream.
  ASSERT_EQ(call("TspStrVerifyCmsInitMem", s, nullptr, block({1}), h), 0);
  stream = strhandle_t(get_long(h, "handle"));
  ASSERT_EQ(call("TspStrVerifyCmsUpdateMem", s, nullptr, h, block({2})), 0);
  jobject result = make("tsp_verify_result_t");
  ASSERT_EQ(call("TspStrVerifyCmsFinalMem", s, nullptr, h, result), 0);
  EXPECT_EQ(get_long(result, "timeEx"), 0x66554433);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(standin::open_handles(), 0u);
}

// ---- OCSP --------------------------------------------------------------------------------------

class Ocsp : public BridgeTest {};

TEST_F(Ocsp, AFailedVerificationStillRewritesTheResult) {
  jobject s = open();
  jobject result = make("ocsp_verify_result_t");
  ASSERT_EQ(call("OcspVerifyResponse", s, nullptr, block({1}), result), 0);
  EXPECT_EQ(get_long(result, "nextupdEx"), 4294967295LL);
  ASSERT_NE(get(result, "cert"), nullptr);

  standin::on<QUMEN_OcspVerifyResponse>(
      [](context_t, ocsp_verify_param_t*, mem_blk_t*, ocsp_verify_result_t*) { return kFail; });
  set(result, "status", jint(3));
  set(result, "reason", jint(4));
  EXPECT_EQ(call("OcspVerifyResponse", s, nullptr, block({1}), result), kFail);
  EXPECT_EQ(get_int(result, "status"), 0);
  EXPECT_EQ(get_int(result, "reason"), 0);
  EXPECT_EQ(get_long(result, "thisupdEx"), 0);
  EXPECT_EQ(get_long(result, "nextupdEx"), 0);
  EXPECT_EQ(get(result, "cert"), nullptr);
}

TEST_F(Ocsp, AResultClassWithoutNextupdStopsAfterThisupdAndTheResultGoesBack) {
  jobject s = open();
  jobject partial = make("tvtest/Services$OcspVerifyResultNoNextupd");
  set(partial, "revtimeEx", L{9});
  jobject held = make("certificate_t");
  set(partial, "cert", held);
  EXPECT_EQ(raw("OcspVerifyResponse", s, nullptr, nullptr, partial), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "ocsp_verify_result_t2jobject:nextupdEx");
  EXPECT_EQ(get_long(partial, "revtimeEx"), 0);
  EXPECT_EQ(get_long(partial, "thisupdEx"), 0x66000000);
  EXPECT_TRUE(env_->IsSameObject(get(partial, "cert"), held)) << "the certificate is not reached";
  EXPECT_EQ(standin::count("QUMEN_OcspFreeVerifyResult"), 1u) << "given back by the bridge";
}

// ---- TLS sessions ------------------------------------------------------------------------------

class Tls : public BridgeTest {};

TEST_F(Tls, ASessionFromCreationToDestruction) {
  jobject s = open();
  jobject session = make("tvtest/Odd$Handle");
  ASSERT_EQ(call("TlsSessionCreate", s, str("peer"), session, jint(1)), 0);
  auto h = strhandle_t(get_long(session, "handle"));
  ASSERT_TRUE(standin::handle_open(h));

  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("TlsSessionHandshake", s, session, block({1}), out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'s', 't', 'a', 'n', 'd', '-', 'i', 'n', ' ', 'T', 'L', 'S', ' ', 'h', 'e', 'l', 'l', 'o'}));
  ASSERT_EQ(call("TlsSessionWrite", s, session, block({0x00, 0x5A}), out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{0x5A, 0x00}));
  ASSERT_EQ(call("TlsSessionRead", s, session, out, out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{0x00, 0x5A}));
  EXPECT_EQ(call("TlsSessionComplete", s, session), 0);
  ASSERT_EQ(call("TlsSessionQuery", s, session, jint(0), out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'s', 't', 'a', 'n', 'd', '-', 'i', 'n', ' ', 'T', 'L', 'S'}));

  // A selector the library rejects: its status, and an empty block.
  EXPECT_EQ(call("TlsSessionQuery", s, session, jint(77), out), standin::kMismatch);
  EXPECT_EQ(get_int(out, "len"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);

  ASSERT_EQ(call("TlsSessionDestroy", s, session), 0);
  EXPECT_EQ(get_long(session, "handle"), 0);
  EXPECT_FALSE(standin::handle_open(h));

  // The old value, used after the destruction: the library's own answer, outputs rewritten.
  set(session, "handle", L{jlong(h)});
  set(out, "buf", Bytes{1});
  set(out, "len", jint(1));
  EXPECT_EQ(call("TlsSessionRead", s, session, block({1}), out), standin::kBadHandle);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);
  EXPECT_EQ(call("TlsSessionComplete", s, session), standin::kBadHandle);
  EXPECT_EQ(call("TlsSessionDestroy", s, session), standin::kBadHandle);
  EXPECT_EQ(get_long(session, "handle"), 0) << "0 whatever the destruction's outcome";

  // A session object without a long handle stops the call before the library.
  EXPECT_EQ(raw("TlsSessionComplete", s, make("tvtest/Odd$NoHandle")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(standin::count("QUMEN_TlsSessionComplete"), 2u);
}

}  // namespace
