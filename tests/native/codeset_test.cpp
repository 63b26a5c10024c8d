// The narrow codeset conversion core, with explicit codesets (no JVM needed).
#include "codesets.h"

namespace {

TEST(Codeset, SingleByteCodesetsMapEveryCharacterTheyHave) {
  EXPECT_EQ(encode("CP1251", u"\u0416\u0438\u0442\u044c"), (Encoded{4, "\xc6\xe8\xf2\xfc"}));
  EXPECT_EQ(encode("CP1251", u"A\u00e9\u65e5"), (Encoded{3, "A??"}))
      << "characters CP1251 lacks become '?'";
  EXPECT_EQ(decode("CP1251", "\xc6\xe8\xf2\xfc"), u"\u0416\u0438\u0442\u044c");
  EXPECT_EQ(encode("ISO-8859-1", u"caf\u00e9"), (Encoded{4, "caf\xe9"}));
  EXPECT_EQ(decode("ISO-8859-1", "caf\xe9"), u"caf\u00e9");
  EXPECT_EQ(decode("CP1251", "\x98"), u"\ufffd") << "a byte CP1251 leaves undefined";
}

TEST(Codeset, ASupplementaryCharacterIsOneDefaultCharacter) {
  // Two units, one '?': the text no longer has one byte per unit, which the converters refuse.
  EXPECT_EQ(encode("CP1251", u"a\U0001F600"), (Encoded{2, "a?"}));
  EXPECT_EQ(encode("ANSI_X3.4-1968", u"\U0001F600"), (Encoded{1, "?"}));
  std::u16string lone = u"x";
  lone += char16_t(0xDC00);
  EXPECT_EQ(encode("CP1251", lone), (Encoded{2, "x?"})) << "a lone surrogate is one character";
}

TEST(Codeset, Utf8TakesOnlyAscii) {
  EXPECT_EQ(encode("UTF-8", u"plain"), (Encoded{5, "plain"}));
  EXPECT_EQ(encode("UTF-8", u"caf\u00e9").count, -1);
  EXPECT_EQ(encode("UTF-8", u"\U0001F600").count, -1);
  std::u16string lone = u"a";
  lone += char16_t(0xD800);
  EXPECT_EQ(encode("UTF-8", lone), (Encoded{2, "a?"}));

  long n = 0;
  decode("UTF-8", "caf\xc3\xa9", &n);
  EXPECT_LT(n, 5) << "a two-byte character gives fewer units than bytes";
  EXPECT_EQ(decode("UTF-8", "a\xff\xc3"), u"a\ufffd\ufffd") << "bytes that start no character";
  EXPECT_EQ(decode("UTF-8", "ab"), u"ab");
}

TEST(Codeset, TheCLocaleCodesetIsAscii) {
  EXPECT_EQ(encode("ANSI_X3.4-1968", u"caf\u00e9"), (Encoded{4, "caf?"}));
  EXPECT_EQ(decode("ANSI_X3.4-1968", "caf\xe9"), u"caf\ufffd");
}

TEST(Codeset, OtherMultiByteCodesetsGoThroughIconv) {
  EXPECT_EQ(encode("EUC-JP", u"abc"), (Encoded{3, "abc"}));
  EXPECT_EQ(encode("EUC-JP", u"\u65e5").count, -1) << "two bytes for one unit";
  EXPECT_EQ(encode("EUC-JP", u"x\u20ac"), (Encoded{2, "x?"})) << "EUC-JP has no euro sign";
  long n = 0;
  decode("EUC-JP", "\xc6\xfc", &n);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(decode("EUC-JP", "ok"), u"ok");
}

TEST(Codeset, UnknownCodesetsAreNamedAsSuch) {
  EXPECT_EQ(tvj::codeset_named("NO-SUCH-CODESET"), nullptr);
  EXPECT_EQ(tvj::codeset_named("CP1251"), tvj::codeset_named("CP1251")) << "made once";
}

}  // namespace
