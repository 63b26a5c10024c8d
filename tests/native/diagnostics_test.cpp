// Diagnostics and utilities: their departures from the call frame (the others are rows of the
// methods table).
#include <cstring>

#include "helpers.h"

using namespace tj;

namespace {

class Diagnostics : public BridgeTest {};

TEST_F(Diagnostics, ErrorTextsComeBackAsStringsOrNull) {
  jobject s = open();
  auto text = [&](jint code) {
    return utf8(static_cast<jstring>(call_object("GetErrorText", s, code)));
  };
  EXPECT_EQ(text(standin::kBadContext), "stand-in: the context is not live");
  EXPECT_EQ(text(0x1111), std::nullopt) << "no text: null, no exception";
  EXPECT_NOTHING_THROWN();
  // 1041 bytes zeroed, the library told of 1040, and the buffer always released.
  int32_t capacity = 0;
  bool zeroed = false;
  standin::on<QUMEN_GetErrorText>([&](int32_t, char* buffer, int32_t cap) -> string_t {
    capacity = cap;
    zeroed = std::all_of(buffer, buffer + 1041, [](char ch) { return ch == 0; });
    return buffer;  // an empty text
  });
  EXPECT_EQ(text(5), std::nullopt);
  EXPECT_EQ(capacity, 1040);
  EXPECT_TRUE(zeroed);
  EXPECT_EQ(standin::count("QUMEN_AllocMem"), standin::count("QUMEN_FreeMem"));

  standin::on<QUMEN_AllocMem>([](context_t, int64_t) -> void* { return nullptr; });
  EXPECT_EQ(text(standin::kBadContext), std::nullopt) << "no buffer: null";
  standin::reset();
  standin::fault<QUMEN_GetErrorText>(standin::Fault::kSegv);
  EXPECT_EQ(text(standin::kBadContext), std::nullopt) << "a fault: null";
  EXPECT_EQ(standin::outstanding(), 1u) << "the faulted call's buffer is left alone";
  standin::ledger_forget();
}

TEST_F(Diagnostics, TheTransformationPairWritesBackOnlyItsFirstArray) {
  jobject s = self();  // no context is read
  std::vector<uint64_t> words;
  standin::on<QUMEN_EncodeMem>([&](uint8_t* first, uint8_t* second, int64_t length) {
    words = {uint64_t(first != nullptr), uint64_t(second != nullptr), uint64_t(length)};
    if (first) first[0] = 0xAA;
    if (second) second[0] = 0xBB;
    return 7;
  });
  jbyteArray first = bytes({1, 2, 3}), second = bytes({4, 5});
  EXPECT_EQ(call("EncodeMem", s, first, second, jint(-3)), 7);
  EXPECT_EQ(words, (std::vector<uint64_t>{1, 1, uint64_t(int64_t(-3))}))
      << "length widened with its sign";
  EXPECT_EQ(bytes_of(first), (Bytes{0xAA, 2, 3}));
  EXPECT_EQ(bytes_of(second), (Bytes{4, 5}));
  EXPECT_EQ(call("EncodeMem", s, nullptr, second, jint(2)), 7);
  EXPECT_EQ(words[0], 0u);

  // The stand-in's own pair: first = second ^ 0x5A, both ways, over `length` bytes.
  standin::reset();
  jbyteArray out = bytes({0, 0, 0});
  EXPECT_EQ(call("DecodeMem", s, out, bytes({0x5B, 0x58, 0x59}), jint(3)), 0);
  EXPECT_EQ(bytes_of(out), (Bytes{1, 2, 3}));
}

TEST_F(Diagnostics, ControlSelectorFourAnswersIntoAStackBlock) {
  jobject s = open();
  std::vector<uint64_t> seen;
  standin::on<QUMEN_ControlEx>([&](context_t, int64_t value, int32_t selector, mem_blk_t* in,
                                   mem_blk_t* out, int32_t option) {
    seen = {uint64_t(value), uint64_t(selector), uint64_t(in != nullptr), uint64_t(out->len),
            uint64_t(option)};
    if (selector == 4) {
      std::memcpy(out->buf, "ok", 2);
      out->len = 2;
    }
    return 0;
  });
  jobject out = make("mem_blk_t");
  EXPECT_EQ(call("ControlEx", s, L{int64_t(1) << 40}, jint(4), block({1, 2}), out, jint(9)), 0);
  EXPECT_EQ(seen, (std::vector<uint64_t>{uint64_t(1) << 40, 4, 0, 4096, 9}))
      << "no input block, a 4096-byte block to fill";
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'o', 'k'}));

  standin::on<QUMEN_ControlEx>([](context_t, int64_t, int32_t, mem_blk_t*, mem_blk_t*, int32_t) {
    return 0x77;  // the block left untouched: 4096 zero bytes come back
  });
  EXPECT_EQ(call("ControlEx", s, L{0}, jint(4), nullptr, out, jint(0)), 0x77);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes(4096, 0));

  // A negative len left in the block: no array of that size, OutOfMemoryError in place of the
  // VM's NegativeArraySizeException, and the old array gone from the field.
  standin::on<QUMEN_ControlEx>(
      [](context_t, int64_t, int32_t, mem_blk_t*, mem_blk_t* out, int32_t) {
        out->len = -3;
        return 0;
      });
  EXPECT_EQ(raw("ControlEx", s, L{0}, jint(4), nullptr, out, jint(0)), kPending);
  EXPECT_THROWN("java.lang.OutOfMemoryError", "mem_blk_t2jobjectNoFree");
  EXPECT_EQ(get(out, "buf"), nullptr);
}

}  // namespace
