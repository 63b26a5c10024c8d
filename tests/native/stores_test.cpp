// Certificate stores and registry profiles: searches with their template, store enumerations
// whose position lives in the caller's handle object, stores created from counted block arrays,
// and profile texts read into a buffer of the library's. (The plain store and profile calls are
// rows of the methods table.)
#include <climits>
#include <cstring>

#include "helpers.h"

using namespace tj;

namespace {

constexpr int32_t kFail = 0x0BAD0002;
constexpr jint kNoBuffer = jint(0xE0700006);

// "len:bytes" per block, "null" for a null array.
std::string show_blocks(const mem_blk_t* b, int32_t count) {
  if (b == nullptr) return "null";
  std::string out;
  for (int32_t i = 0; i < count; ++i)
    out += (i ? "," : "") + std::to_string(b[i].len) + ":" + hex(b[i].buf, b[i].len);
  return out;
}

class Stores : public BridgeTest {};

// ---- FindCert
// ------------------------------------------------------------------------------------

// The search record carries a whole certificate as its template, and the certificates found
// arrive as new objects in the library's order.
TEST_F(Stores, FindCertCarriesItsTemplateAndReturnsTheCertificatesFound) {
  jobject s = open();
  Texts seen;
  standin::on<QUMEN_FindCert>([&](context_t c, find_param_t* p, find_result_t* r) {
    const certificate_t& t = p->certTemplate;
    seen = {std::to_string(t.fields), text_of(t.issuer), text_of(t.serialNumber),
            hex(t.certEncoded.buf, t.certEncoded.len), std::to_string(p->info)};
    standin::fill_find_result(c, r, 3);
    return 0;
  });
  jobject wanted = make("certificate_t");
  set(wanted, "fields", jint(6));
  set(wanted, "issuer", "CN=Wanted");
  set(wanted, "serialNumber", "0A");
  set(wanted, "certEncoded", block({1, 2, 3}));
  jobject param = make("find_param_t");
  set(param, "certTemplate", wanted);
  set(param, "info", jint(-2));
  jobject result = make("find_result_t");
  ASSERT_EQ(call("FindCert", s, param, result), 0);
  EXPECT_EQ(seen, (Texts{"6", "CN=Wanted", "0A", "010203", "-2"}));
  std::vector<jobject> certs = elements(get(result, "certs"));
  ASSERT_EQ(certs.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(get_string(certs[i], "subject"), standin::CertificateText::subject(11 + i));
  EXPECT_EQ(standin::count("QUMEN_FreeFindResult"), 1u);
}

// ---- Enumeration -------------------------------------------------------------------------------

TEST_F(Stores, AnEnumerationCarriesItsPositionFromCallToCall) {
  jobject s = open();
  jobject h = handle_object(), out = make("mem_blk_t");
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

  // Without a handle object every call starts at the beginning; a step with no Java block to
  // receive its object still gives the object back.
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, nullptr, out, jint(0)), 0);
  ASSERT_EQ(call("EnumStoreObjects", s, nullptr, nullptr, nullptr, jint(0)), 0);
  EXPECT_EQ(get_bytes(out, "buf"), objects.front());
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), objects.size() + 3);
}

TEST_F(Stores, TheExtendedEnumerationPassesItsTextsAndWalksTheSameWay) {
  jobject s = open();
  Texts seen;
  standin::on<QUMEN_EnumStoreObjectsEx>([&](context_t c, void* unused, string_t t1, string_t t2,
                                            strhandle_t* h, mem_blk_t* out, int32_t options) {
    seen = {unused ? "set" : "null", text_of(t1), text_of(t2), std::to_string(options)};
    if (*h == strhandle_t{0x700}) return standin::kEndOfStore;
    *out = mem_blk_t{1, standin::bytes(c, {uint8_t(uint64_t(*h) >> 8)})};
    *h = strhandle_t(uint64_t(*h) + 0x100);
    return 0;
  });
  jobject h = handle_object(0x500), out = make("mem_blk_t");
  ASSERT_EQ(call("EnumStoreObjectsEx", s, str("x"), str("My"), str("Root"), h, out, jint(3)), 0);
  EXPECT_EQ(seen, (Texts{"null", "My", "Root", "3"}));
  ASSERT_EQ(call("EnumStoreObjectsEx", s, nullptr, nullptr, nullptr, h, out, jint(3)), 0);
  EXPECT_EQ(get_long(h, "handle"), 0x700);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{6});
  EXPECT_EQ(call("EnumStoreObjectsEx", s, nullptr, nullptr, nullptr, h, out, jint(3)),
            standin::kEndOfStore);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{6});
}

// A failed step that still left a block behind: Java's block stays as it was, the handle becomes
// 0, and the library's block goes back to it.
TEST_F(Stores, AFailedEnumerationStepGivesTheLibrarysBlockBack) {
  jobject s = open();
  standin::on<QUMEN_EnumStoreObjects>(
      [](context_t c, void*, strhandle_t* h, mem_blk_t* out, int32_t) {
        *out = mem_blk_t{2, standin::bytes(c, {9, 9})};
        *h = strhandle_t(0x5E0009);
        return kFail;
      });
  jobject h = handle_object(0x5E0001), out = block({1});
  EXPECT_EQ(call("EnumStoreObjects", s, nullptr, h, out, jint(0)), kFail);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(show_block(out), "1:01");
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 1u) << "the library's block is handed back";
}

// ---- CreateCertificateStore
// ------------------------------------------------------------------------

// What CreateCertificateStore received: "blocks/count blocks/count text text options".
void record_store(std::string* seen) {
  standin::on<QUMEN_CreateCertificateStore>([=](context_t, mem_blk_t* b1, int32_t n1, mem_blk_t* b2,
                                                int32_t n2, string_t t1, string_t t2,
                                                int32_t options) {
    *seen = show_blocks(b1, n1) + "/" + std::to_string(n1) + " " + show_blocks(b2, n2) + "/" +
            std::to_string(n2) + " " + text_of(t1) + " " + text_of(t2) + " " +
            std::to_string(options);
    return 0;
  });
}

TEST_F(Stores, CreateCertificateStoreTakesItsCountsFromTheCaller) {
  jobject s = open();
  std::string seen;
  record_store(&seen);
  jobject three = array("mem_blk_t", {block({1}), block({2, 2}), block({3, 3, 3})});
  jobject past = array("mem_blk_t", {block({1}), block({2, 2}), block({3}, 9)});  // never read
  ASSERT_EQ(call("CreateCertificateStore", s, past, jint(2), three, jint(3), str("one"), str(""),
                 jint(9)),
            0);
  EXPECT_EQ(seen, "1:01,2:0202/2 1:01,2:0202,3:030303/3 one - 9") << "only as many as counted";

  // A null array with a positive count, and a count below 1 over a real array.
  ASSERT_EQ(call("CreateCertificateStore", s, nullptr, jint(3), three, jint(-1), nullptr,
                 str("two"), jint(0)),
            0);
  EXPECT_EQ(seen, "null/3 null/-1 - two 0");

  jobject holey = array("mem_blk_t", {nullptr, block({5, 6}, 1)});
  ASSERT_EQ(call("CreateCertificateStore", s, holey, jint(2), nullptr, jint(0), nullptr, nullptr,
                 jint(0)),
            0);
  EXPECT_EQ(seen, "0:-,1:05/2 null/0 - - 0") << "a null element is a zero block";
}

TEST_F(Stores, CreateCertificateStoreStopsBeforeTheLibraryOnABadArrayOrText) {
  jobject s = open();
  std::string seen;
  record_store(&seen);
  jobject two = array("mem_blk_t", {block({1}), block({2})});
  EXPECT_EQ(
      raw("CreateCertificateStore", s, two, jint(3), nullptr, jint(0), nullptr, nullptr, jint(0)),
      kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(2), two, jint(5), nullptr, nullptr, jint(0)),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");
  // A count no array can reach: nothing is set aside for elements that cannot exist.
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(INT_MAX), nullptr, jint(0), nullptr, nullptr,
                jint(0)),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");

  jobject bad = array("mem_blk_t", {block({1}), block({2}, 2)});
  EXPECT_EQ(
      raw("CreateCertificateStore", s, nullptr, jint(0), bad, jint(2), nullptr, nullptr, jint(0)),
      kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");

  // The arrays convert before the texts: the array's refusal is the one Java sees.
  jstring unnarrowable = str16(u"x\U0001F600");
  EXPECT_EQ(raw("CreateCertificateStore", s, bad, jint(2), nullptr, jint(0), unnarrowable, nullptr,
                jint(0)),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(raw("CreateCertificateStore", s, two, jint(2), nullptr, jint(0), str("ok"),
                unnarrowable, jint(0)),
            kPending);
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(standin::count("QUMEN_CreateCertificateStore"), 0u);
}

// ---- Registry profiles
// -----------------------------------------------------------------------------

jobject strings(const std::vector<const char*>& items) {
  std::vector<jobject> objects;
  for (const char* s : items) objects.push_back(str(s));
  return array("java/lang/String", objects);
}

std::optional<std::string> first(jobject array) {
  return utf8(
      static_cast<jstring>(env()->GetObjectArrayElement(static_cast<jobjectArray>(array), 0)));
}

// QueryRegistryProfile answered with `text` (its bytes copied, at most `size`) and `status`.
void answer_profile(std::string text, int32_t status, bool* fresh = nullptr) {
  standin::on<QUMEN_QueryRegistryProfile>([=](context_t, char* buffer, int32_t size, int32_t) {
    if (fresh)
      *fresh = standin::owns(buffer) &&
               std::all_of(buffer, buffer + size, [](char c) { return c == 0; });
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
  EXPECT_EQ(standin::call_names(), (Texts{"QUMEN_InitMinimal", "QUMEN_AllocMem",
                                          "QUMEN_QueryRegistryProfile", "QUMEN_FreeMem"}));
  EXPECT_EQ(standin::calls()[2].words[2], 3u) << "the selector";

  answer_profile("", kFail);
  EXPECT_EQ(call("QueryRegistryProfile", s, out, jint(16), jint(0)), kFail);
  EXPECT_EQ(first(out), std::nullopt) << "an empty text is null";
  answer_profile("zzzzzzzz", 0);
  ASSERT_EQ(call("QueryRegistryProfile", s, out, jint(4), jint(0)), 0);
  EXPECT_EQ(first(out), "zzzz") << "read no further than the buffer";

  // Nowhere to put the text: the call still runs and the buffer still goes back.
  answer_profile("lost", 0x55);
  EXPECT_EQ(call("QueryRegistryProfile", s, nullptr, jint(8), jint(0)), 0x55);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 4u);
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

}  // namespace
