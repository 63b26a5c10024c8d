// The call frame and the memory-block converters, through HashMem and VerifyHashMem.
#include "harness/jvm.h"

using namespace tj;

namespace {

using Bytes = std::vector<uint8_t>;

struct SeenBlock {
  int32_t len = -99;
  std::optional<Bytes> bytes;
};

SeenBlock see(const mem_blk_t* b) {
  SeenBlock s{b->len, std::nullopt};
  if (b->buf != nullptr) s.bytes = Bytes(b->buf, b->buf + (b->len > 0 ? b->len : 0));
  return s;
}

// HashMem answered by a handler that records its input and returns `result` bytes.
void answer(SeenBlock* seen, std::optional<Bytes> result, int32_t status = 0, int32_t len = -1) {
  standin::on<QUMEN_HashMem>([=](context_t c, mem_blk_t* in, mem_blk_t* out) {
    *seen = see(in);
    if (result) {
      out->buf = standin::bytes(c, *result);
      out->len = len >= 0 ? len : int32_t(result->size());
    } else if (len >= 0) {
      out->len = len;
    }
    return status;
  });
}

class Frame : public BridgeTest {};

TEST_F(Frame, HashMemReturnsTheDigestInANewArray) {
  jobject s = open();
  jobject hash = block({9, 9});
  jbyteArray old = static_cast<jbyteArray>(get(hash, "buf"));
  ASSERT_EQ(call("HashMem", s, block({'a', 'b', 'c'}), hash), 0);
  Bytes abc = {'a', 'b', 'c'};
  EXPECT_EQ(get_bytes(hash, "buf"), standin::digest(abc.data(), abc.size()));
  EXPECT_EQ(get_int(hash, "len"), 32);
  EXPECT_EQ(bytes_of(old), (Bytes{9, 9})) << "the caller's old array is never written";
  EXPECT_EQ(standin::call_names(),
            (std::vector<std::string>{"QUMEN_InitMinimal", "QUMEN_HashMem", "QUMEN_FreeMem"}));
  EXPECT_EQ(standin::calls()[1].context, uint64_t(get_long(s, "handle")));
}

TEST_F(Frame, InputBlocksArriveAsTheJavaSideDescribesThem) {
  jobject s = open();
  SeenBlock seen;
  answer(&seen, std::nullopt);
  jobject out = make("mem_blk_t");

  EXPECT_EQ(raw("HashMem", s, block({1, 2, 3, 4}, 2), out), 0);
  EXPECT_EQ(seen.len, 2);
  EXPECT_EQ(seen.bytes, (Bytes{1, 2}));

  EXPECT_EQ(call("HashMem", s, block({1, 2, 3}, 0), out), 0);
  EXPECT_EQ(seen.len, 0);
  EXPECT_EQ(seen.bytes, std::nullopt) << "len 0: no buffer, the array is not read";

  jobject no_buf = make("mem_blk_t");
  set(no_buf, "len", jint(5));
  EXPECT_EQ(call("HashMem", s, no_buf, out), 0);
  EXPECT_EQ(seen.len, 5);
  EXPECT_EQ(seen.bytes, std::nullopt);

  EXPECT_EQ(call("HashMem", s, block({1}, -4), out), 0);
  EXPECT_EQ(seen.len, -4);
  EXPECT_EQ(seen.bytes, std::nullopt);

  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(seen.len, 0);
  EXPECT_EQ(seen.bytes, std::nullopt);
}

TEST_F(Frame, ABlockLongerThanItsArrayIsRefused) {
  jobject s = open();
  jobject out = block({7});
  EXPECT_EQ(raw("HashMem", s, block({1, 2, 3}, 4), out), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(standin::count("QUMEN_HashMem"), 0u);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{7})) << "no result conversion after a refused argument";
}

TEST_F(Frame, TheLibraryNeverWritesIntoTheCallersArray) {
  jobject s = open();
  standin::on<QUMEN_HashMem>([](context_t, mem_blk_t* in, mem_blk_t*) {
    in->buf[0] = 0xEE;
    return 0;
  });
  jobject data = block({1, 2});
  EXPECT_EQ(raw("HashMem", s, data, make("mem_blk_t")), 0);
  EXPECT_EQ(get_bytes(data, "buf"), (Bytes{1, 2}));
}

TEST_F(Frame, OutputBlocksTakeExactlyLenBytesAndAreReleased) {
  jobject s = open();
  SeenBlock seen;
  jobject out = block({1, 2, 3, 4, 5});

  answer(&seen, Bytes{10, 20, 30, 40}, 0, 3);
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(get_int(out, "len"), 3);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{10, 20, 30}));

  answer(&seen, std::nullopt, 0, 7);  // a length without a buffer
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(get_int(out, "len"), 7);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);

  answer(&seen, Bytes{1, 2}, 0, 0);  // a buffer with len 0: no array, the block still released
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(get_int(out, "len"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);

  answer(&seen, Bytes{1, 2});  // a null result object: the block is released all the same
  EXPECT_EQ(call("HashMem", s, nullptr, nullptr), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 4u);
}

TEST_F(Frame, ANativeFailureIsPassedThroughAndStillRewritesTheResult) {
  jobject s = open();
  SeenBlock seen;
  answer(&seen, std::nullopt, 0x12345678);
  jobject out = block({1, 2, 3});
  EXPECT_EQ(call("HashMem", s, block({1}), out), 0x12345678);
  EXPECT_EQ(get_int(out, "len"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);
}

TEST_F(Frame, AnArgumentThatFailsToConvertSkipsTheLibrary) {
  jobject s = open();
  jobject out = block({4});
  EXPECT_EQ(raw("HashMem", s, make("tvtest/Odd$BlockNoLen"), out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2mem_blk_t:len");
  EXPECT_EQ(raw("HashMem", s, make("tvtest/Odd$BlockNoBuf"), out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2mem_blk_t:buf");
  EXPECT_EQ(standin::count("QUMEN_HashMem"), 0u);
  EXPECT_EQ(get_int(out, "len"), 1);
}

TEST_F(Frame, AResultThatFailsToConvertReplacesTheStatusAndIsStillReleased) {
  jobject s = open();
  SeenBlock seen;
  answer(&seen, Bytes{1, 2, 3}, 0x0BAD);
  EXPECT_EQ(raw("HashMem", s, nullptr, make("tvtest/Odd$BlockNoLen")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");

  answer(&seen, Bytes{1, 2, 3});
  jobject no_buf = make("tvtest/Odd$BlockNoBuf");
  EXPECT_EQ(raw("HashMem", s, nullptr, no_buf), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_int(no_buf, "len"), 3) << "len was written before buf was found missing";
  // The ledger (checked after every test) shows both native blocks released.
}

TEST_F(Frame, AnyClassWithTheFieldsServesAsABlock) {
  jobject s = open();
  SeenBlock seen;
  answer(&seen, Bytes{5, 6});
  jobject own = make("tvtest/Odd$OwnBlock");
  set(own, "buf", Bytes{1, 2, 3});
  set(own, "len", jint(3));
  EXPECT_EQ(call("HashMem", s, own, own), 0);
  EXPECT_EQ(seen.bytes, (Bytes{1, 2, 3}));
  EXPECT_EQ(get_bytes(own, "buf"), (Bytes{5, 6}));

  // A subclass that shadows buf is read through its own field, not its parent's.
  jobject shadow = make("tvtest/Odd$ShadowBlock");
  set(shadow, "len", jint(1));
  set(shadow, "buf", Bytes{42});
  EXPECT_EQ(call("HashMem", s, shadow, make("mem_blk_t")), 0);
  EXPECT_EQ(seen.bytes, (Bytes{42}));
}

TEST_F(Frame, AZeroContextReachesTheLibrary) {
  jobject out = block({1});
  EXPECT_EQ(call("HashMem", self(), block({1}), out), standin::kBadContext);
  EXPECT_EQ(standin::calls().at(0).context, 0u);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);
}

TEST_F(Frame, VerifyHashMemPassesNullForItsFirstParameterAndWritesNothingBack) {
  jobject s = open();
  Bytes data = {'x', 'y'};
  Bytes good = standin::digest(data.data(), data.size());
  std::vector<uint64_t> first;
  for (jobject ignored : {jobject(nullptr), make("sign_param_t"), s}) {
    jobject in1 = block(data), in2 = block(good), in3 = block({3});
    EXPECT_EQ(call("VerifyHashMem", s, ignored, in1, in2, in3), 0);
    first.push_back(standin::calls().back().words.at(0));
    EXPECT_EQ(get_bytes(in3, "buf"), (Bytes{3}));
    EXPECT_EQ(get_int(in3, "len"), 1);
  }
  EXPECT_EQ(first, (std::vector<uint64_t>{0, 0, 0}));
  EXPECT_EQ(call("VerifyHashMem", s, nullptr, block(data), block({1, 2}), nullptr), standin::kMismatch);
  EXPECT_EQ(raw("VerifyHashMem", s, nullptr, block(data), make("tvtest/Odd$BlockNoBuf"), nullptr), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2mem_blk_t:buf");
}

TEST_F(Frame, LargeBlocksCrossIntact) {
  jobject s = open();
  Bytes big(3 << 20);
  for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7);
  SeenBlock seen;
  answer(&seen, big);
  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("HashMem", s, block(big), out), 0);
  EXPECT_EQ(seen.bytes, big);
  EXPECT_EQ(get_bytes(out, "buf"), big);
}

}  // namespace
