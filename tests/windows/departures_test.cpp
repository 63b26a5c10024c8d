// The methods that depart from the call frame and that the other Windows tests leave out:
// InitializeEx's parameter record, the store enumerations, CreateCertificateStore's counted
// arrays and QueryRegistryProfile's buffer, each on its common path and on a failure, with the
// ledger clean after each (the fixture).
#include <algorithm>
#include <cstring>

#include "harness.h"

using namespace wt;

namespace {

constexpr int32_t kFail = 0x0BAD0001;

class Departures : public BridgeTest {
 protected:
  Obj handle(int64_t value) {
    Obj h = vm().make("strhandle_t");
    vm().set_long(h, "handle", value);
    return h;
  }
  std::string text_of(const char* s) { return s ? s : "-"; }
};

TEST_F(Departures, InitializeExConvertsItsParameterRecordAndANullOne) {
  std::vector<std::string> seen;
  uint64_t size = 99;
  ON(QUMEN_InitializeEx, [&](int32_t, local_param_t* p, context_t* c) {
    size = p->size;
    seen = {std::to_string(p->flag), text_of(p->pse), text_of(p->localstore), text_of(p->pincode)};
    *c = standin::open_context();
    return 0;
  });
  Obj self = vm().make("Norv1/LocalIface");
  Obj param = vm().make("local_param_t");
  vm().set(param, "flag", 3);
  vm().set(param, "pse", str("token://slot1"));
  vm().set(param, "pincode", str(""));
  ASSERT_EQ(call("InitializeEx", self, int32_t(1), param), 0);
  EXPECT_EQ(size, 48u);
  EXPECT_EQ(seen, (std::vector<std::string>{"3", "token://slot1", "-", "-"}));
  EXPECT_NE(vm().get_long(self, "handle"), 0);
  EXPECT_EQ(call("Uninitialize", self), 0);

  ASSERT_EQ(call("InitializeEx", self, int32_t(1), nullptr), 0);
  EXPECT_EQ(size, 0u) << "a null record: zero bytes, the size field included";
  EXPECT_EQ(call("Uninitialize", self), 0);
}

TEST_F(Departures, AnEnumerationCarriesItsPositionAndAFailedStepGivesItsBlockBack) {
  Obj self = open();
  Obj h = handle(0), out = vm().make("mem_blk_t");
  auto objects = standin::store_objects();
  for (const auto& object : objects) {
    ASSERT_EQ(call("EnumStoreObjects", self, str("never read"), h, out, int32_t(7)), 0);
    EXPECT_EQ(block_bytes(out), object);
  }
  EXPECT_EQ(call("EnumStoreObjects", self, nullptr, h, out, int32_t(7)), standin::kEndOfStore);
  EXPECT_EQ(vm().get_long(h, "handle"), 0);
  EXPECT_EQ(block_bytes(out), objects.back()) << "the end leaves the block as it was";

  ON(QUMEN_EnumStoreObjects, [](context_t c, void*, strhandle_t* hp, mem_blk_t* o, int32_t) {
    *o = mem_blk_t{2, standin::bytes(c, {9, 9})};
    *hp = strhandle_t(0x5E0009);
    return kFail;
  });
  Obj kept = block({1});
  vm().set_long(h, "handle", 0x5E0001);
  EXPECT_EQ(call("EnumStoreObjects", self, nullptr, h, kept, int32_t(0)), kFail);
  EXPECT_EQ(vm().get_long(h, "handle"), 0);
  EXPECT_EQ(block_bytes(kept), Bytes{1});
}

TEST_F(Departures, TheExtendedEnumerationPassesItsTexts) {
  Obj self = open();
  std::vector<std::string> seen;
  ON(QUMEN_EnumStoreObjectsEx, [&](context_t c, void* unused, string_t t1, string_t t2,
                                   strhandle_t* h, mem_blk_t* out, int32_t options) {
    seen = {unused ? "set" : "null", text_of(t1), text_of(t2), std::to_string(options)};
    if (*h == strhandle_t{0x600}) return standin::kEndOfStore;
    *out = mem_blk_t{1, standin::bytes(c, {uint8_t(uint64_t(*h) >> 8)})};
    *h = strhandle_t(uint64_t(*h) + 0x100);
    return 0;
  });
  Obj h = handle(0x500), out = vm().make("mem_blk_t");
  ASSERT_EQ(call("EnumStoreObjectsEx", self, str("x"), str("My"), str("Root"), h, out, int32_t(3)),
            0);
  EXPECT_EQ(seen, (std::vector<std::string>{"null", "My", "Root", "3"}));
  EXPECT_EQ(block_bytes(out), Bytes{5});
  EXPECT_EQ(vm().get_long(h, "handle"), 0x600);
  EXPECT_EQ(call("EnumStoreObjectsEx", self, nullptr, nullptr, nullptr, h, out, int32_t(3)),
            standin::kEndOfStore);
  EXPECT_EQ(vm().get_long(h, "handle"), 0);
}

TEST_F(Departures, CreateCertificateStoreTakesItsCountsFromTheCallerAndStopsOnABadOne) {
  Obj self = open();
  std::string seen;
  ON(QUMEN_CreateCertificateStore, [&](context_t, mem_blk_t* b1, int32_t n1, mem_blk_t* b2,
                                       int32_t n2, string_t t1, string_t t2, int32_t options) {
    seen = std::to_string(n1) + ":" + (b1 ? std::to_string(b1[n1 - 1].len) : "null") + " " +
           std::to_string(n2) + ":" + (b2 ? std::to_string(b2[n2 - 1].len) : "null") + " " +
           text_of(t1) + " " + text_of(t2) + " " + std::to_string(options);
    return 0;
  });
  Obj three = vm().array("mem_blk_t", {block({1}), block({2, 2}), block({3, 3, 3})});
  ASSERT_EQ(call("CreateCertificateStore", self, three, int32_t(2), three, int32_t(3), str("one"),
                 str(""), int32_t(9)),
            0);
  EXPECT_EQ(seen, "2:2 3:3 one - 9") << "only as many as counted";

  seen.clear();
  EXPECT_EQ(call("CreateCertificateStore", self, three, int32_t(4), nullptr, int32_t(0), nullptr,
                 nullptr, int32_t(0)),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 3 out of bounds for length 3");
  EXPECT_EQ(seen, "") << "the library is not called";
}

TEST_F(Departures, QueryRegistryProfileFillsTheFirstElementAndGivesItsBufferBack) {
  Obj self = open();
  bool fresh = false;
  ON(QUMEN_QueryRegistryProfile, [&](context_t, char* buffer, int32_t size, int32_t) {
    fresh = standin::owns(buffer) && std::all_of(buffer, buffer + size, [](char c) { return !c; });
    std::memcpy(buffer, "profile-A", std::min(9, int(size)));
    return 0;
  });
  Obj out = vm().array("java/lang/String", {str("old")});
  ASSERT_EQ(call("QueryRegistryProfile", self, out, int32_t(16), int32_t(3)), 0);
  EXPECT_TRUE(fresh) << "a zeroed buffer of the library's, of the caller's size";
  EXPECT_EQ(vm().units_of(vm().elements(out)[0]), u"profile-A");
  ASSERT_EQ(call("QueryRegistryProfile", self, out, int32_t(4), int32_t(3)), 0);
  EXPECT_EQ(vm().units_of(vm().elements(out)[0]), u"prof") << "read no further than the buffer";
  EXPECT_EQ(call("QueryRegistryProfile", self, nullptr, int32_t(8), int32_t(0)), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 3u);
}

}  // namespace
