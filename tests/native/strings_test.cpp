// The string converters called directly, in the real JVM, under the codesets that matter: each
// edge case of the narrowing and of its way back reached on its own.
#include "core/strings.h"

#include "core/codeset.h"
#include "core/scratch.h"
#include "harness/jvm.h"

using namespace tj;

namespace {

class Strings : public BridgeTest {
 protected:
  tvj::CallMemory memory_;  // the converters' own allocations live as long as a call would
};

std::optional<std::string> narrow(JNIEnv* env, jstring s) {
  string_t out = reinterpret_cast<string_t>(1);
  tvj::jstring2string_t(env, s, &out);
  if (out == nullptr) return std::nullopt;
  return std::string(out);
}

TEST_F(Strings, JavaStringsBecomeOneBytePerUnitOrNothing) {
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

TEST_F(Strings, UnderUtf8ANonAsciiCharacterDoesNotFit) {
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

TEST_F(Strings, NativeTextsBecomeJavaStringsAndAreReleased) {
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

TEST_F(Strings, EveryByteOfANativeTextIsLookedAtBeforeItIsTakenForAscii) {
  // ASCII texts go to the VM as they are; a text with one other byte must take the codeset's
  // way, wherever that byte stands and however long the text is.
  Locale c("C");
  context_t ctx = standin::open_context();
  for (size_t n = 1; n <= 72; ++n) {
    std::string ascii(n, 'a');
    jstring s = java_text(env_, ascii.c_str(), ctx);
    EXPECT_EQ(utf8(s), ascii);
    env_->DeleteLocalRef(s);
    for (size_t at = 0; at < n; ++at) {
      std::string text = ascii;
      text[at] = '\xe9';
      s = java_text(env_, text.c_str(), ctx);
      EXPECT_EQ(utf8(s), ascii.substr(0, at) + "\xef\xbf\xbd" + ascii.substr(at + 1))
          << n << " bytes, the other one at " << at;
      env_->DeleteLocalRef(s);
    }
  }
}

// A codeset the loader names need not keep ASCII (EBCDIC, here with its table taken from iconv):
// bytes below 0x80 from the library are read through it, not taken for ASCII, and a character
// it lacks becomes its own '?'. (Not under jvm.codeset.*, whose encoding this would replace.)
TEST_F(Strings, ANamedCodesetThatDoesNotKeepAsciiIsReadThroughItsTable) {
  const tvj::Codeset* ebcdic = tvj::codeset_named("IBM037");
  ASSERT_NE(ebcdic, nullptr);
  jchar units[256];
  for (int b = 0; b < 256; ++b) {
    char byte = char(b);
    ASSERT_EQ(tvj::decode_narrow(*ebcdic, &byte, 1, &units[b]), 1);
  }
  context_t ctx = standin::open_context();
  {
    struct Using {
      explicit Using(const tvj::Codeset* cs) { tvj::use_codeset(cs); }
      ~Using() { tvj::use_codeset(nullptr); }
    } in_ebcdic(tvj::codeset_of_units("IBM037", units));
    EXPECT_EQ(narrow(env_, str16(u"Ab?\u0416")), "\xc1\x82\x6f\x6f");
    EXPECT_EQ(utf8(java_text(env_, "\x41\xc1", ctx)),
              "\xc2\xa0"
              "A")
        << "0x41 is U+00A0 in IBM037";
  }
  Locale c("C");
  EXPECT_EQ(utf8(java_text(env_, "\x41", ctx)), "A") << "the locale's codeset again";
}

TEST_F(Strings, AMultiByteNativeTextIsRefusedAndKept) {
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
