// Certificate stores and registry profiles: searches with their template and results, store
// enumerations whose position lives in the caller's handle object, stores created from counted
// block arrays, and profile texts read into a buffer of the library's.
#include <climits>
#include <clocale>
#include <cstring>

#include "records.h"

using namespace tj;

namespace {

using Texts = std::vector<std::string>;
constexpr int32_t kFail = 0x0BAD0002;
constexpr jint kNoBuffer = jint(0xE0700006);

class Locale {
 public:
  explicit Locale(const char* name) : previous_(std::setlocale(LC_CTYPE, nullptr)) {
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~Locale() { std::setlocale(LC_CTYPE, previous_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_;
};

std::string text_or_null(const char* s) { return s ? s : "null"; }

// "len:bytes" per block, "null" for a null array.
std::string show_blocks(const mem_blk_t* b, int32_t count) {
  if (b == nullptr) return "null";
  std::string out;
  for (int32_t i = 0; i < count; ++i)
    out += (i ? "," : "") + std::to_string(b[i].len) + ":" + hex(b[i].buf, b[i].len);
  return out;
}

class Stores : public BridgeTest {};

// ---- FindCert ------------------------------------------------------------------------------------

struct SeenFind {
  bool whole_record_zero = false;
  bool template_zero = false;
  int32_t flag = -1, info = -1, fields = -1;
  uint64_t reserved = 1;
  std::string issuer, serial, encoded;
};

void record_find(SeenFind* seen, int found = 0) {
  standin::on<QUMEN_FindCert>([=](context_t c, find_param_t* p, find_result_t* r) {
    *seen = SeenFind{zeroed(*p), zeroed(p->certTemplate), p->flag, p->info,
                     p->certTemplate.fields, p->reserved, text_of(p->certTemplate.issuer),
                     text_of(p->certTemplate.serialNumber),
                     hex(p->certTemplate.certEncoded.buf, p->certTemplate.certEncoded.len)};
    standin::fill_find_result(c, r, found);
    return 0;
  });
}

TEST_F(Stores, FindCertCarriesItsTemplateInsideTheSearchRecord) {
  jobject s = open();
  SeenFind seen;
  record_find(&seen);
  jobject wanted = make("certificate_t");
  set(wanted, "fields", jint(6));
  set(wanted, "issuer", "CN=Wanted");
  set(wanted, "serialNumber", "0A");
  set(wanted, "certEncoded", block({1, 2, 3}));
  jobject param = make("find_param_t");
  set(param, "flag", jint(0x21));
  set(param, "certTemplate", wanted);
  set(param, "info", jint(-2));
  ASSERT_EQ(call("FindCert", s, param, make("find_result_t")), 0);
  EXPECT_EQ(seen.flag, 0x21);
  EXPECT_EQ(seen.reserved, 0u);
  EXPECT_EQ(seen.info, -2);
  EXPECT_EQ(seen.fields, 6);
  EXPECT_EQ(seen.issuer, "CN=Wanted");
  EXPECT_EQ(seen.serial, "0A");
  EXPECT_EQ(seen.encoded, "010203");

  set(param, "certTemplate", jobject(nullptr));
  ASSERT_EQ(call("FindCert", s, param, nullptr), 0);
  EXPECT_TRUE(seen.template_zero);
  EXPECT_EQ(seen.flag, 0x21);
  EXPECT_EQ(seen.info, -2);

  ASSERT_EQ(call("FindCert", s, nullptr, nullptr), 0);
  EXPECT_TRUE(seen.whole_record_zero) << "a null find_param_t is 416 zero bytes";
}

TEST_F(Stores, FoundCertificatesArriveAsNewObjectsInTheLibrarysOrder) {
  jobject s = open();
  SeenFind seen;
  record_find(&seen, 3);
  jobject result = make("find_result_t");
  jobject earlier = make("certificate_t");
  jobject old = array("certificate_t", {earlier});
  set(result, "certs", old);
  ASSERT_EQ(call("FindCert", s, nullptr, result), 0);
  EXPECT_EQ(get_int(result, "num"), 3);
  std::vector<jobject> certs = elements(get(result, "certs"));
  ASSERT_EQ(certs.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(get_string(certs[i], "subject"), standin::CertificateText::subject(11 + i));
  EXPECT_TRUE(env_->IsSameObject(env_->GetObjectArrayElement(static_cast<jobjectArray>(old), 0), earlier))
      << "the old array is replaced, not written";
  EXPECT_EQ(standin::count("QUMEN_FreeFindResult"), 1u);

  // An empty but present array, and a count without an array.
  standin::on<QUMEN_FindCert>([](context_t c, find_param_t*, find_result_t* r) {
    *r = find_result_t{0, static_cast<certificate_t*>(standin::alloc(c, 0))};
    return 0;
  });
  ASSERT_EQ(call("FindCert", s, nullptr, result), 0);
  EXPECT_EQ(get_int(result, "num"), 0);
  ASSERT_NE(get(result, "certs"), nullptr);
  EXPECT_EQ(env_->GetArrayLength(static_cast<jarray>(get(result, "certs"))), 0);
  standin::on<QUMEN_FindCert>([](context_t, find_param_t*, find_result_t* r) {
    r->num = 5;
    return kFail;
  });
  EXPECT_EQ(call("FindCert", s, nullptr, result), kFail);
  EXPECT_EQ(get_int(result, "num"), 5);
  EXPECT_EQ(get(result, "certs"), nullptr);
}

TEST_F(Stores, FoundCertificatesGoBackToTheLibraryWhenJavaCannotTakeThem) {
  jobject s = open();
  SeenFind seen;
  record_find(&seen, 2);
  ASSERT_EQ(call("FindCert", s, nullptr, nullptr), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeFindResult"), 1u);

  record_find(&seen, 3);
  jobject partial = make("tvtest/Services$FindResultNoCerts");
  EXPECT_EQ(raw("FindCert", s, nullptr, partial), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "find_result_t2jobject:certs");
  EXPECT_EQ(get_int(partial, "num"), 3);
  EXPECT_EQ(standin::count("QUMEN_FreeFindResult"), 2u) << "given back by the bridge";
}

// ---- Enumeration -------------------------------------------------------------------------------

TEST_F(Stores, AnEnumerationCarriesItsPositionFromCallToCall) {
  jobject s = open();
  jobject h = make("strhandle_t");
  jobject out = make("mem_blk_t");
  auto objects = standin::store_objects();
  for (const auto& object : objects) {
    ASSERT_EQ(call("EnumStoreObjects", s, str("never read"), h, out, jint(7)), 0);
    EXPECT_EQ(get_bytes(out, "buf"), object);
    EXPECT_NE(get_long(h, "handle"), 0);
  }
  EXPECT_EQ(call("EnumStoreObjects", s, str("never read"), h, out, jint(7)), standin::kEndOfStore);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), objects.back()) << "the end leaves the block as it was";
  for (const auto& c : standin::calls()) {
    if (c.function != "QUMEN_EnumStoreObjects") continue;
    EXPECT_EQ(c.words[0], 0u) << "the unread parameter's place holds null";
    EXPECT_EQ(c.words[3], 7u);
  }
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, h, out, jint(0)), 0);
  EXPECT_EQ(get_bytes(out, "buf"), objects.front()) << "0 starts the walk over";

  // A step with no Java block to receive its object still gives the object back.
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, h, nullptr, jint(0)), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), objects.size() + 2);

  // Without a handle object every call starts at the beginning.
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, nullptr, out, jint(0)), 0);
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, nullptr, out, jint(0)), 0);
  EXPECT_EQ(get_bytes(out, "buf"), objects.front());

  jobject odd = make("tvtest/Odd$NoHandle");
  EXPECT_EQ(raw("EnumStoreObjects", s, nullptr, odd, out, jint(0)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(get_bytes(out, "buf"), objects.front());
}

TEST_F(Stores, TheExtendedEnumerationPassesItsTextsAndWalksTheSameWay) {
  jobject s = open();
  Texts seen;
  standin::on<QUMEN_EnumStoreObjectsEx>([&](context_t c, void* unused, string_t t1, string_t t2,
                                            strhandle_t* h, mem_blk_t* out, int32_t options) {
    seen = {unused ? "set" : "null", text_or_null(t1), text_or_null(t2), std::to_string(options)};
    if (*h == strhandle_t{0x700}) return standin::kEndOfStore;
    *out = mem_blk_t{1, standin::bytes(c, {uint8_t(uint64_t(*h) >> 8)})};
    *h = strhandle_t(uint64_t(*h) + 0x100);
    return 0;
  });
  jobject h = make("strhandle_t");
  set(h, "handle", L{0x500});
  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("EnumStoreObjectsEx", s, str("x"), str("My"), str(""), h, out, jint(3)), 0);
  EXPECT_EQ(seen, (Texts{"null", "My", "null", "3"}));
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{5});
  ASSERT_EQ(call("EnumStoreObjectsEx", s, nullptr, nullptr, str("Root"), h, out, jint(3)), 0);
  EXPECT_EQ(seen, (Texts{"null", "null", "Root", "3"}));
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{6});
  EXPECT_EQ(call("EnumStoreObjectsEx", s, nullptr, nullptr, nullptr, h, out, jint(3)), standin::kEndOfStore);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{6});
}

// A failed step that still left a block behind: Java's block stays as it was, the handle becomes
// 0, and the library's block goes back to it.
TEST_F(Stores, AFailedEnumerationStepGivesTheLibrarysBlockBack) {
  jobject s = open();
  standin::on<QUMEN_EnumStoreObjects>([](context_t c, void*, strhandle_t* h, mem_blk_t* out, int32_t) {
    *out = mem_blk_t{2, standin::bytes(c, {9, 9})};
    *h = strhandle_t(0x5E0009);
    return kFail;
  });
  jobject h = make("strhandle_t");
  set(h, "handle", L{0x5E0001});
  jobject out = block({1});
  EXPECT_EQ(call("EnumStoreObjects", s, nullptr, h, out, jint(0)), kFail);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{1});
  EXPECT_EQ(get_int(out, "len"), 1);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 1u) << "the library's block is handed back";
}

// ---- CreateCertificateStore ------------------------------------------------------------------------

struct SeenStore {
  std::string blocks1, blocks2, text1, text2;
  int32_t count1 = -99, count2 = -99, options = -99;
};

void record_store(SeenStore* seen) {
  standin::on<QUMEN_CreateCertificateStore>([=](context_t, mem_blk_t* b1, int32_t n1, mem_blk_t* b2,
                                                 int32_t n2, string_t t1, string_t t2, int32_t options) {
    *seen = SeenStore{show_blocks(b1, n1), show_blocks(b2, n2), text_or_null(t1), text_or_null(t2),
                      n1, n2, options};
    return 0;
  });
}

TEST_F(Stores, CreateCertificateStoreTakesItsCountsFromTheCaller) {
  jobject s = open();
  SeenStore seen;
  record_store(&seen);
  ASSERT_EQ(call("CreateCertificateStore", s, nullptr, jint(0), nullptr, jint(0), nullptr, nullptr, jint(0)), 0);
  EXPECT_EQ(seen.blocks1, "null");
  EXPECT_EQ(seen.count1, 0);
  EXPECT_EQ(seen.blocks2, "null");
  EXPECT_EQ(seen.count2, 0);
  EXPECT_EQ(seen.text1, "null");
  EXPECT_EQ(seen.text2, "null");

  jobject three = array("mem_blk_t", {block({1}), block({2, 2}), block({3, 3, 3})});
  ASSERT_EQ(call("CreateCertificateStore", s, three, jint(2), three, jint(3), str("one"), str(""), jint(9)), 0);
  EXPECT_EQ(seen.blocks1, "1:01,2:0202") << "only the first two are converted";
  EXPECT_EQ(seen.count1, 2);
  EXPECT_EQ(seen.blocks2, "1:01,2:0202,3:030303");
  EXPECT_EQ(seen.text1, "one");
  EXPECT_EQ(seen.text2, "null");
  EXPECT_EQ(seen.options, 9);

  // A null array with a positive count, and a count below 1 over a real array.
  ASSERT_EQ(call("CreateCertificateStore", s, nullptr, jint(3), three, jint(-1), nullptr, str("two"), jint(0)), 0);
  EXPECT_EQ(seen.blocks1, "null");
  EXPECT_EQ(seen.count1, 3);
  EXPECT_EQ(seen.blocks2, "null");
  EXPECT_EQ(seen.count2, -1);
  EXPECT_EQ(seen.text2, "two");

  jobject holey = array("mem_blk_t", {nullptr, block({5, 6}, 1)});
  ASSERT_EQ(call("CreateCertificateStore", s, holey, jint(2), nullptr, jint(0), nullptr, nullptr, jint(0)), 0);
  EXPECT_EQ(seen.blocks1, "0:-,1:05") << "a null element is a zero block";
}

TEST_F(Stores, CreateCertificateStoreStopsBeforeTheLibraryOnABadArrayOrText) {
  jobject s = open();
  SeenStore seen;
  record_store(&seen);
  jobject two = array("mem_blk_t", {block({1}), block({2})});
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(3), nullptr, jint(0), nullptr, nullptr, jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(2), two, jint(5), nullptr, nullptr, jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");
  // A count no array can reach: nothing is set aside for elements that cannot exist.
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(INT_MAX), nullptr, jint(0), nullptr, nullptr, jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");

  jobject bad = array("mem_blk_t", {block({1}), block({2}, 2)});
  EXPECT_EQ(raw("CreateCertificateStore", s, nullptr, jint(0), bad, jint(2), nullptr, nullptr, jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");

  // The arrays convert before the texts: the array's refusal is the one Java sees.
  jstring unnarrowable = str16(u"x\U0001F600");
  EXPECT_EQ(raw("CreateCertificateStore", s, bad, jint(2), nullptr, jint(0), unnarrowable, nullptr, jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(2), nullptr, jint(0), str("ok"), unnarrowable, jint(0)), kPending);
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(standin::count("QUMEN_CreateCertificateStore"), 0u);
}

// ---- Registry profiles -----------------------------------------------------------------------------

jobject strings(const std::vector<const char*>& items) {
  std::vector<jobject> objects;
  for (const char* s : items) objects.push_back(str(s));
  return array("java/lang/String", objects);
}

std::optional<std::string> first(jobject array) {
  return utf8(static_cast<jstring>(env()->GetObjectArrayElement(static_cast<jobjectArray>(array), 0)));
}

// QueryRegistryProfile answered with `text` (its bytes copied, at most `size`) and `status`.
void answer_profile(std::string text, int32_t status, bool* fresh = nullptr) {
  standin::on<QUMEN_QueryRegistryProfile>([=](context_t, char* buffer, int32_t size, int32_t) {
    if (fresh) *fresh = standin::owns(buffer) && std::all_of(buffer, buffer + size, [](char c) { return c == 0; });
    std::memcpy(buffer, text.data(), std::min(text.size(), size_t(size)));
    return status;
  });
}

TEST_F(Stores, QueryRegistryProfileFillsElementZeroWhateverTheStatus) {
  jobject s = open();
  bool fresh = false;
  answer_profile("profile-A", 0, &fresh);
  jobject out = strings({"old"});
  ASSERT_EQ(call("QueryRegistryProfile", s, out, jint(16), jint(3)), 0);
  EXPECT_TRUE(fresh) << "a zeroed buffer of the library's, of the caller's size";
  EXPECT_EQ(first(out), "profile-A");
  auto log = standin::calls();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1].function, "QUMEN_AllocMem");
  EXPECT_EQ(log[1].words[0], 16u);
  EXPECT_EQ(log[2].words[1], 16u);
  EXPECT_EQ(log[2].words[2], 3u);
  EXPECT_EQ(log[3].function, "QUMEN_FreeMem");

  answer_profile("partial", kFail);
  EXPECT_EQ(call("QueryRegistryProfile", s, out, jint(16), jint(0)), kFail);
  EXPECT_EQ(first(out), "partial");
  answer_profile("", kFail);
  EXPECT_EQ(call("QueryRegistryProfile", s, out, jint(16), jint(0)), kFail);
  EXPECT_EQ(first(out), std::nullopt) << "an empty text is null";
  answer_profile("zzzzzzzz", 0);
  ASSERT_EQ(call("QueryRegistryProfile", s, out, jint(4), jint(0)), 0);
  EXPECT_EQ(first(out), "zzzz") << "read no further than the buffer";

  // Nowhere to put the text: the call still runs and the buffer still goes back.
  answer_profile("lost", 0x55);
  EXPECT_EQ(call("QueryRegistryProfile", s, nullptr, jint(8), jint(0)), 0x55);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 5u);
}

TEST_F(Stores, QueryRegistryProfileGivesItsBufferBackOnEveryFailure) {
  jobject s = open();
  answer_profile("text", 0);
  EXPECT_EQ(raw("QueryRegistryProfile", s, strings({}), jint(8), jint(0)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 0 out of bounds for length 0");
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 1u);

  jobject out = strings({"old"});
  {
    Locale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    answer_profile("caf\xc3\xa9", 0);
    EXPECT_EQ(raw("QueryRegistryProfile", s, out, jint(8), jint(0)), kPending);
  }
  EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
  EXPECT_EQ(first(out), "old");
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 2u);

  // No buffer: the bridge's own status, no exception, no call.
  EXPECT_EQ(raw("QueryRegistryProfile", s, out, jint(-1), jint(0)), kNoBuffer);
  EXPECT_NOTHING_THROWN();
  standin::on<QUMEN_AllocMem>([](context_t, int64_t) -> void* { return nullptr; });
  EXPECT_EQ(raw("QueryRegistryProfile", s, out, jint(8), jint(0)), kNoBuffer);
  EXPECT_NOTHING_THROWN();
  EXPECT_EQ(standin::count("QUMEN_QueryRegistryProfile"), 2u);
  EXPECT_EQ(first(out), "old");
}

TEST_F(Stores, QueryRegistryProfileExReleasesABlockJavaDidNotAskFor) {
  jobject s = open();
  standin::on<QUMEN_QueryRegistryProfileEx>(
      [](context_t c, mem_blk_t* b1, mem_blk_t* b2, mem_blk_t* b3, mem_blk_t* b4, int32_t) {
        uint8_t n = 1;
        for (mem_blk_t* b : {b1, b2, b3, b4}) *b = mem_blk_t{1, standin::bytes(c, {n++})};
        return 0;
      });
  jobject b1 = make("mem_blk_t"), b2 = make("mem_blk_t"), b4 = make("mem_blk_t");
  ASSERT_EQ(call("QueryRegistryProfileEx", s, b1, b2, nullptr, b4, jint(0)), 0);
  EXPECT_EQ(get_bytes(b1, "buf"), Bytes{1});
  EXPECT_EQ(get_bytes(b2, "buf"), Bytes{2});
  EXPECT_EQ(get_bytes(b4, "buf"), Bytes{4});
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 4u);

  // A second block Java cannot take stops the conversions; the bridge gives back the blocks of
  // the second, third and fourth positions all the same.
  jobject no_buf = make("tvtest/Odd$BlockNoBuf");
  jobject b3 = block({7});
  EXPECT_EQ(raw("QueryRegistryProfileEx", s, b1, no_buf, b3, b4, jint(0)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_int(no_buf, "len"), 1);
  EXPECT_EQ(get_bytes(b3, "buf"), Bytes{7});
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 8u);
}

}  // namespace
