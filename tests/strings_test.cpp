// The core converters called directly, in the real JVM: handles, int arrays and strings.
// (The exported methods exercise them too; here each edge case is reached on its own.)
#include <clocale>

#include "core/blocks.h"
#include "core/handles.h"
#include "core/scratch.h"
#include "core/strings.h"
#include "harness/jvm.h"

using namespace tj;

namespace {

class Converters : public BridgeTest {
 protected:
  tvj::CallMemory memory_;  // the converters' own allocations live as long as a call would
};

// Runs a test body under the given locale (LC_CTYPE), restoring the previous one after.
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

TEST_F(Converters, StreamHandlesLiveInAnyObjectWithALongHandle) {
  EXPECT_EQ(tvj::jobject2strhandle_t(env_, nullptr), strhandle_t{}) << "null reads as 0";
  tvj::strhandle_t2jobject(env_, nullptr, strhandle_t(5));  // swallowed

  for (const char* klass : {"strhandle_t", "tvtest/Odd$Handle", "Norv1/LocalIface"}) {
    jobject h = make(klass);
    tvj::strhandle_t2jobject(env_, h, strhandle_t(0xFEEDFACECAFEBEEFull));
    EXPECT_EQ(uint64_t(get_long(h, "handle")), 0xFEEDFACECAFEBEEFull) << klass;
    EXPECT_EQ(uint64_t(tvj::jobject2strhandle_t(env_, h)), 0xFEEDFACECAFEBEEFull) << klass;
  }

  jobject wrong = make("tvtest/Odd$NoHandle");  // `handle` is an int there
  EXPECT_EQ(tvj::jobject2strhandle_t(env_, wrong), strhandle_t{});
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  tvj::strhandle_t2jobject(env_, wrong, strhandle_t(1));
  EXPECT_THROWN("java.lang.NoSuchFieldException", "strhandle_t2jobject:handle");
}

TEST_F(Converters, IntArraysMustHaveExactlyTheCount) {
  int32_t value = 41;
  tvj::intArray2jintArray(env_, nullptr, &value, 1);
  tvj::jintArray2intArray(env_, nullptr, &value, 1);
  EXPECT_EQ(value, 41) << "a null array leaves the value";

  jintArray one = ints({0});
  tvj::intArray2jintArray(env_, one, &value, 1);
  EXPECT_EQ(ints_of(one), (std::vector<jint>{41}));
  jintArray other = ints({-3});
  tvj::jintArray2intArray(env_, other, &value, 1);
  EXPECT_EQ(value, -3);

  jintArray two = ints({7, 8});
  tvj::intArray2jintArray(env_, two, &value, 1);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "intArray2jintArray:array");
  EXPECT_EQ(ints_of(two), (std::vector<jint>{7, 8})) << "nothing written";
  tvj::jintArray2intArray(env_, ints({}), &value, 1);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jintArray2intArray:array");
  EXPECT_EQ(value, -3);
}

std::optional<std::string> narrow(JNIEnv* env, jstring s) {
  string_t out = reinterpret_cast<string_t>(1);
  tvj::jstring2string_t(env, s, &out);
  if (out == nullptr) return std::nullopt;
  return std::string(out);
}

TEST_F(Converters, JavaStringsBecomeOneBytePerUnitOrNothing) {
  Locale c("C");
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(narrow(env_, nullptr), std::nullopt);
  EXPECT_EQ(narrow(env_, str("")), std::nullopt);
  EXPECT_EQ(narrow(env_, str("plain text")), "plain text");
  // ASCII codeset: a character it cannot represent becomes '?'.
  EXPECT_EQ(narrow(env_, str16(u"caf\u00e9 \u65e5")), "caf? ?");
  // A supplementary character is one character in two units: one '?' cannot match its count.
  EXPECT_EQ(narrow(env_, str16(u"x\U0001F600")), std::nullopt);
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  std::u16string longer(5000, u'k');
  EXPECT_EQ(narrow(env_, str16(longer)), std::string(5000, 'k'));
}

TEST_F(Converters, UnderUtf8ANonAsciiCharacterDoesNotFit) {
  Locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  EXPECT_EQ(narrow(env_, str("ascii only")), "ascii only");
  EXPECT_EQ(narrow(env_, str16(u"caf\u00e9")), std::nullopt);
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(narrow(env_, str16(std::u16string(u"a") + char16_t(0xD800) + u"b")), "a?b")
      << "a lone surrogate has no form in UTF-8";
}

jstring java_text(JNIEnv* env, const char* native, context_t ctx, string_t* keep = nullptr) {
  string_t text = native ? standin::text(ctx, native) : nullptr;
  jstring slot = nullptr;
  tvj::string_t2jstring(env, &slot, &text, ctx);
  if (keep) *keep = text;
  return slot;
}

TEST_F(Converters, NativeTextsBecomeJavaStringsAndAreReleased) {
  Locale c("C");
  context_t ctx = standin::open_context();
  EXPECT_EQ(utf8(java_text(env_, "issuer=CN=Test", ctx)), "issuer=CN=Test");
  EXPECT_EQ(java_text(env_, "", ctx), nullptr) << "an empty text gives null, and is released";
  EXPECT_EQ(java_text(env_, nullptr, ctx), nullptr);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 2u);
  EXPECT_EQ(utf8(java_text(env_, "caf\xe9", ctx)), "caf\xef\xbf\xbd")
      << "a byte that starts no ASCII character becomes U+FFFD";

  // The slot's old reference is dropped and replaced.
  jstring slot = str("old");
  string_t text = standin::text(ctx, "new");
  tvj::string_t2jstring(env_, &slot, &text, ctx);
  EXPECT_EQ(utf8(slot), "new");
  EXPECT_EQ(text, nullptr);
}

TEST_F(Converters, AMultiByteNativeTextIsRefusedAndKept) {
  Locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  context_t ctx = standin::open_context();
  string_t kept = nullptr;
  EXPECT_EQ(java_text(env_, "caf\xc3\xa9", ctx, &kept), nullptr);
  EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
  ASSERT_NE(kept, nullptr) << "the text stays with its owner";
  EXPECT_TRUE(standin::owns(kept));
  standin::release(ctx, kept, "test");
}

}  // namespace
