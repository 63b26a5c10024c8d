// The four lifecycle methods: a context made by the native library, kept in LocalIface.handle.
#include "helpers.h"

using namespace tj;

namespace {

class Lifecycle : public BridgeTest {};

TEST_F(Lifecycle, InitMinimalStoresTheContextAndUninitializeLeavesIt) {
  jobject s = self();
  ASSERT_EQ(call("InitMinimal", s), 0);
  jlong context = get_long(s, "handle");
  EXPECT_TRUE(standin::context_live(context_t(context)));

  EXPECT_EQ(call("Uninitialize", s), 0);
  EXPECT_FALSE(standin::context_live(context_t(context)));
  EXPECT_EQ(get_long(s, "handle"), context) << "the ended context's value stays";
  EXPECT_EQ(call("Uninitialize", s), standin::kBadContext) << "a second end goes to the library";
}

TEST_F(Lifecycle, InitializePassesNameAndValueAndStoresOnlyOnSuccess) {
  std::string name;
  int32_t value = 0, status = 0;
  standin::on<QUMEN_Initialize>([&](string_t n, int32_t v, context_t* c) {
    name = text_of(n);
    value = v;
    *c = context_t(status == 0 ? 0x1234 : 0x9999);
    return status;
  });
  jobject s = self();
  EXPECT_EQ(call("Initialize", s, str("profile"), jint(-7)), 0);
  EXPECT_EQ(name, "profile");
  EXPECT_EQ(value, -7);
  EXPECT_EQ(get_long(s, "handle"), 0x1234);

  status = 0x5A5A;  // a failing initialisation leaves the previous handle
  EXPECT_EQ(call("Initialize", s, str(""), jint(0)), 0x5A5A);
  EXPECT_EQ(name, "-");
  EXPECT_EQ(get_long(s, "handle"), 0x1234);
}

TEST_F(Lifecycle, InitializeExConvertsTheParameterRecord) {
  uint64_t size = 99;
  Texts seen;
  standin::on<QUMEN_InitializeEx>([&](int32_t, local_param_t* p, context_t* c) {
    size = p->size;
    seen = {std::to_string(p->flag), text_of(p->pse), text_of(p->localstore), text_of(p->ldap),
            text_of(p->pincode)};
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
  EXPECT_EQ(size, 48u);
  EXPECT_EQ(seen, (Texts{"3", "token://slot1", "/var/store", "-", "-"}));
  EXPECT_NE(get_long(s, "handle"), 0);

  EXPECT_EQ(call("InitializeEx", s, jint(1), nullptr), 0);
  EXPECT_EQ(size, 0u) << "a null record: 48 zero bytes, the size field included";
  EXPECT_EQ(seen, (Texts{"0", "-", "-", "-", "-"}));
}

TEST_F(Lifecycle, ANullSelfIsRefusedBeforeTheLibraryIsCalled) {
  EXPECT_EQ(raw("InitMinimal", nullptr), kPending);
  EXPECT_THROWN("java.lang.NullPointerException", "context_t2jthis:self");
  EXPECT_EQ(raw("Uninitialize", nullptr), kPending);
  EXPECT_THROWN("java.lang.NullPointerException", "jthis2context_t:self");
  EXPECT_TRUE(standin::call_names().empty());
  EXPECT_EQ(standin::live_contexts(), 0u);
}

}  // namespace
