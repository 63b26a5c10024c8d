// The four lifecycle methods: a context made by the native library, kept in LocalIface.handle.
#include "harness/jvm.h"

using namespace tj;

namespace {

struct SeenParam {
  uint64_t size = 99;
  int32_t flag = 0;
  std::vector<std::optional<std::string>> strings;
};

std::optional<std::string> copy(const char* s) { return s ? std::optional<std::string>(s) : std::nullopt; }

class Lifecycle : public BridgeTest {};

TEST_F(Lifecycle, InitMinimalStoresTheContextAndUninitializeLeavesIt) {
  jobject s = self();
  ASSERT_EQ(call("InitMinimal", s), 0);
  jlong context = get_long(s, "handle");
  EXPECT_NE(context, 0);
  EXPECT_TRUE(standin::context_live(context_t(context)));

  EXPECT_EQ(raw("Uninitialize", s), 0);
  EXPECT_FALSE(standin::context_live(context_t(context)));
  EXPECT_EQ(get_long(s, "handle"), context) << "the ended context's value stays";
  EXPECT_EQ(call("Uninitialize", s), standin::kBadContext) << "a second end goes to the library";
}

TEST_F(Lifecycle, InitializePassesNameAndValueAndStoresOnlyOnSuccess) {
  std::optional<std::string> name = "unset";
  int32_t value = 0;
  standin::on<QUMEN_Initialize>([&](string_t n, int32_t v, context_t* c) {
    name = copy(n);
    value = v;
    *c = context_t(0x1234);
    return 0;
  });
  jobject s = self();
  EXPECT_EQ(call("Initialize", s, str("profile"), jint(-7)), 0);
  EXPECT_EQ(name, "profile");
  EXPECT_EQ(value, -7);
  EXPECT_EQ(get_long(s, "handle"), 0x1234);

  // A failing initialisation leaves the previous handle; empty and null names arrive as null.
  standin::on<QUMEN_Initialize>([&](string_t n, int32_t, context_t* c) {
    name = copy(n);
    *c = context_t(0x9999);
    return 0x5A5A;
  });
  EXPECT_EQ(call("Initialize", s, str(""), jint(0)), 0x5A5A);
  EXPECT_EQ(name, std::nullopt);
  EXPECT_EQ(get_long(s, "handle"), 0x1234);
  name = "unset";
  EXPECT_EQ(call("Initialize", s, nullptr, jint(0)), 0x5A5A);
  EXPECT_EQ(name, std::nullopt);
}

TEST_F(Lifecycle, InitializeExConvertsTheParameterRecord) {
  SeenParam seen;
  standin::on<QUMEN_InitializeEx>([&](int32_t, local_param_t* p, context_t* c) {
    seen = SeenParam{p->size, p->flag, {copy(p->pse), copy(p->localstore), copy(p->ldap), copy(p->pincode)}};
    *c = standin::open_context();
    return 0;
  });
  jobject s = self();
  jobject param = make("local_param_t");
  set(param, "flag", jint(3));
  set(param, "pse", "token://slot1");
  set(param, "localstore", "/var/store");
  set(param, "pincode", "");
  EXPECT_EQ(call("InitializeEx", s, jint(1), param), 0);
  EXPECT_EQ(seen.size, 48u);
  EXPECT_EQ(seen.flag, 3);
  EXPECT_EQ(seen.strings, (std::vector<std::optional<std::string>>{
                              "token://slot1", "/var/store", std::nullopt, std::nullopt}))
      << "a null ldap and an empty pincode both arrive as null pointers";
  EXPECT_NE(get_long(s, "handle"), 0);

  // A null record: 48 zero bytes, the size field included.
  EXPECT_EQ(call("InitializeEx", s, jint(1), nullptr), 0);
  EXPECT_EQ(seen.size, 0u);
  EXPECT_EQ(seen.flag, 0);
  EXPECT_EQ(seen.strings, (std::vector<std::optional<std::string>>(4, std::nullopt)));
}

TEST_F(Lifecycle, InitializeExStopsAtAMissingFieldWithoutCallingTheLibrary) {
  jobject s = self();
  set(s, "handle", L{77});
  jobject param = make("tvtest/Odd$ParamNoLdap");
  set(param, "pse", "a");
  set(param, "localstore", "b");
  EXPECT_EQ(raw("InitializeEx", s, jint(0), param), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2local_param_t:ldap");
  EXPECT_EQ(standin::count("QUMEN_InitializeEx"), 0u);
  EXPECT_EQ(get_long(s, "handle"), 77);
}

TEST_F(Lifecycle, ANullSelfIsRefusedBeforeTheLibraryIsCalled) {
  EXPECT_EQ(raw("InitMinimal", nullptr), kPending);
  EXPECT_THROWN("java.lang.NullPointerException", "context_t2jthis:self");
  EXPECT_EQ(raw("Uninitialize", nullptr), kPending);
  EXPECT_THROWN("java.lang.NullPointerException", "jthis2context_t:self");
  EXPECT_TRUE(standin::call_names().empty());
  EXPECT_EQ(standin::live_contexts(), 0u);
}

TEST_F(Lifecycle, AZeroHandleGoesToTheLibraryAsItIs) {
  uint64_t seen = 1;
  standin::on<QUMEN_Uninitialize>([&](context_t c) {
    seen = uint64_t(c);
    return 0;
  });
  EXPECT_EQ(call("Uninitialize", self()), 0);
  EXPECT_EQ(seen, 0u);
}

}  // namespace
