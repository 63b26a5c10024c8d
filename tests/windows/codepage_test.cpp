// Strings through the bridge in the process's active code page, run once per locale (the test
// tells which code page Wine must have made active: TVJ_EXPECT_ACP). Wine takes the code page
// from LANG, when that locale exists on the system.
#include <cstdlib>
#include <cstring>

#include "harness.h"

using namespace wt;

namespace {

class ActiveCodePage : public BridgeTest {
 protected:
  void SetUp() override {
    const char* expected = std::getenv("TVJ_EXPECT_ACP");
    if (expected == nullptr) GTEST_SKIP() << "run by windows.acp.* (TVJ_EXPECT_ACP)";
    ASSERT_EQ(GetACP(), UINT(std::atoi(expected))) << "LANG did not reach Wine's code page";
    BridgeTest::SetUp();
    self_ = open();
  }

  // The bytes a Java string reaches the library as (Initialize's name), or nullopt when the
  // call failed before the library.
  std::optional<std::string> narrowed(const char16_t* units) {
    std::optional<std::string> seen;
    ON(QUMEN_Initialize, [&](string_t name, int32_t, context_t* c) {
      seen = name != nullptr ? name : "(null)";
      *c = standin::open_context();
      return 0;
    });
    Obj self = vm().make("Norv1/LocalIface");
    jint status = call("Initialize", self, vm().string(units), int32_t(0));
    EXPECT_EQ(status, seen ? 0 : kPending);
    return seen;
  }

  // The Java string a native text reaches Java as (GetErrorText), or null.
  Obj widened(const char* bytes) {
    ON(QUMEN_GetErrorText, [bytes](int32_t, char* buffer, int32_t capacity) {
      std::strncpy(buffer, bytes, size_t(capacity));
      return buffer;
    });
    return call_object("GetErrorText", self_, int32_t(1));
  }

  Obj self_ = nullptr;
};

TEST_F(ActiveCodePage, StringsCrossOneBytePerUnit) {
  switch (GetACP()) {
    case 1252:
      EXPECT_EQ(narrowed(u"A\u00e9\u65e5\u0100"), "A\xe9?A") << "best fit, or the default";
      EXPECT_EQ(vm().units_of(widened("caf\xe9 \x80")), u"caf\u00e9 \u20ac");
      break;
    case 1251:
      EXPECT_EQ(narrowed(u"\u0416\u00e9\u65e5"),
                "\xc6"
                "e?");
      EXPECT_EQ(vm().units_of(widened("\xc6\xe8")), u"\u0416\u0438");
      break;
    case 932:
      EXPECT_EQ(narrowed(u"A\u65e5"), std::nullopt) << "a double-byte character";
      EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
      EXPECT_EQ(narrowed(u"A\uff76"), "A\xb6") << "half-width katakana is one byte";
      EXPECT_EQ(widened("\x93\xfa"), nullptr);
      EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
      EXPECT_EQ(vm().units_of(widened("ok \xb6")), u"ok \uff76");
      break;
    default:
      FAIL() << "no expectations for code page " << GetACP();
  }
  EXPECT_EQ(narrowed(u"plain"), "plain");
  EXPECT_EQ(narrowed(u""), "(null)") << "an empty string is null";
}

// A path or URL the application checked for "..\\", '/' and '"' can carry their fullwidth forms
// (and the division slash). Best fit turns them into the ASCII characters (1251 has no best fit
// for the division slash: '?'); with tarvexjni.exactCodePage=true (windows.acp.*.exact) the text
// is refused instead, while every character with an exact form, '?' among them, still crosses
// as itself.
TEST_F(ActiveCodePage, BestFitOrExactForm) {
  const char* properties = std::getenv("TVJ_PROPERTIES");
  bool exact = properties != nullptr && std::strstr(properties, "tarvexjni.exactCodePage=true");
  const char16_t* disguised = u"..\uff3c..\uff0fsecret\uff02\u2215x";
  switch (GetACP()) {
    case 1252:
      EXPECT_EQ(narrowed(u"caf\u00e9 \u20ac?"), "caf\xe9 \x80?");
      if (!exact) EXPECT_EQ(narrowed(disguised), "..\\../secret\"/x");
      break;
    case 1251:
      EXPECT_EQ(narrowed(u"\u0416\u0438 \u20ac?"), "\xc6\xe8 \x88?");
      if (!exact) EXPECT_EQ(narrowed(disguised), "..\\../secret\"?x");
      break;
    default:
      GTEST_SKIP() << "code pages 1252 and 1251";
  }
  if (exact) {
    EXPECT_EQ(narrowed(disguised), std::nullopt);
    EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
    EXPECT_EQ(narrowed(u"A\u0100"), std::nullopt) << "no default character either";
    EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  }
}

}  // namespace
