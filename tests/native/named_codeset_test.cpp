// Texts in the single-byte encoding that the setting tarvexjni.codeset names, in the real JVM with
// the bridge activated by the jar's loader: ctest runs this suite once for each of three
// encodings (jvm.codeset.*), under LC_ALL=C.UTF-8, with TVJ_CODESET naming the encoding for the
// harness to pass on as -Dtarvexjni.codeset. Elsewhere it is skipped.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "helpers.h"

using namespace tj;

namespace {

struct Sample {
  const char* codeset;   // as java.nio.charset names it
  std::u16string text;   // a name with characters beyond ASCII
  std::string bytes;     // the name in the encoding
  char16_t absent;       // a character the encoding lacks
  std::string unmapped;  // a byte that stands for no character, where the encoding has one
};

const Sample kSamples[] = {
    {"windows-1252", u"CN=M\u00fcller \u20ac", "CN=M\xfcller \x80", u'\u0416', "\x81"},
    {"ISO-8859-5", u"CN=\u0416\u0430\u043d\u043d\u0430", "CN=\xb6\xd0\xdd\xdd\xd0", u'\u00e9', ""},
    {"KOI8-R", u"CN=\u0424\u0451\u0434\u043e\u0440", "CN=\xe6\xa3\xc4\xcf\xd2", u'\u00e9', ""},
};

class NamedCodeset : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    const char* name = std::getenv("TVJ_CODESET");
    if (name == nullptr)
      GTEST_SKIP() << "run by jvm.codeset.*, where TVJ_CODESET names the encoding";
    for (const Sample& s : kSamples)
      if (std::strcmp(s.codeset, name) == 0) sample_ = &s;
    ASSERT_NE(sample_, nullptr) << "no sample for " << name;
    self_ = open();
  }

  // The text as BlkHashMem handed it to the library, through the bridge the loader activated
  // (the tests' own copy of the converters knows nothing of the setting); nullopt when the call
  // raised an exception, which stays pending.
  std::optional<std::string> received(const std::u16string& text) {
    standin::reset();
    standin::record_details(true);
    jint status = call("BlkHashMem", self_, str16(text), block({1, 2, 3}), make("mem_blk_t"));
    standin::record_details(false);
    std::vector<standin::Call> calls = standin::calls();
    auto hashed = std::find_if(calls.begin(), calls.end(), [](const standin::Call& c) {
      return c.function == "QUMEN_BlkHashMem";
    });
    if (hashed == calls.end() || hashed->args.empty()) return std::nullopt;
    EXPECT_EQ(status, 0);
    return hashed->args[0].text;
  }

  // What GetErrorText gives Java for a text of the library.
  std::optional<std::u16string> read(const std::string& native) {
    standin::set_error_text(0x1234, native);
    auto s = static_cast<jstring>(call_object("GetErrorText", self_, jint(0x1234)));
    if (s == nullptr) return std::nullopt;
    std::u16string units(size_t(env_->GetStringLength(s)), u'\0');
    env_->GetStringRegion(s, 0, jsize(units.size()), reinterpret_cast<jchar*>(units.data()));
    return units;
  }

  const Sample* sample_ = nullptr;
  jobject self_ = nullptr;
};

TEST_F(NamedCodeset, NamesCrossBothWaysWhateverTheLocale) {
  for (const char* locale : {"C.UTF-8", "C"}) {
    Locale in(locale);
    ASSERT_TRUE(in.ok()) << locale;
    EXPECT_EQ(received(sample_->text), sample_->bytes) << "under " << locale;
    EXPECT_EQ(read(sample_->bytes), sample_->text) << "under " << locale;
  }
  if (!sample_->unmapped.empty()) {
    EXPECT_EQ(read("x" + sample_->unmapped), u"x\ufffd") << "a byte that stands for no character";
  }
  EXPECT_NOTHING_THROWN();
}

TEST_F(NamedCodeset, ACharacterItLacksIsAQuestionMarkAndTwoUnitsAreRefused) {
  EXPECT_EQ(received(std::u16string(u"x") + sample_->absent), "x?");
  EXPECT_EQ(received(u"x\U0001F600"), std::nullopt) << "one character in two units";
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(standin::count("QUMEN_BlkHashMem"), 0u) << "refused before the library";
}

}  // namespace
