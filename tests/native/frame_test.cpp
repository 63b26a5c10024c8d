// The call frame and the memory-block converters, through HashMem.
#include "helpers.h"

using namespace tj;

namespace {

// HashMem answered by a handler that notes its input ("len:hex") and returns `result` with
// length `len` (the result's size unless given; a length alone without a result).
void answer(std::string* seen_in, std::optional<Bytes> result, int32_t status = 0,
            int32_t len = -1) {
  standin::on<QUMEN_HashMem>([=](context_t c, mem_blk_t* in, mem_blk_t* out) {
    *seen_in = seen(in);
    if (result) out->buf = standin::bytes(c, *result);
    if (result || len >= 0) out->len = len >= 0 ? len : int32_t(result->size());
    return status;
  });
}

class Frame : public BridgeTest {};

TEST_F(Frame, HashMemReturnsTheDigestInANewArray) {
  jobject s = open();
  jobject hash = block({9, 9});
  jbyteArray old = static_cast<jbyteArray>(get(hash, "buf"));
  Bytes abc = {'a', 'b', 'c'};
  ASSERT_EQ(call("HashMem", s, block(abc), hash), 0);
  EXPECT_EQ(show_block(hash), show_block(standin::digest(abc.data(), abc.size())));
  EXPECT_EQ(bytes_of(old), (Bytes{9, 9})) << "the caller's old array is never written";
  EXPECT_EQ(standin::call_names(), (Texts{"QUMEN_InitMinimal", "QUMEN_HashMem", "QUMEN_FreeMem"}));
  EXPECT_EQ(standin::calls()[1].context, uint64_t(get_long(s, "handle")));

  // A LocalIface without a context: 0 reaches the library, which answers for itself.
  EXPECT_EQ(call("HashMem", self(), block({1}), hash), standin::kBadContext);
  EXPECT_EQ(standin::calls().back().context, 0u);
}

TEST_F(Frame, InputBlocksArriveAsTheJavaSideDescribesThem) {
  jobject s = open();
  std::string in;
  answer(&in, std::nullopt);
  jobject out = make("mem_blk_t");
  EXPECT_EQ(call("HashMem", s, block({1, 2, 3, 4}, 2), out), 0);
  EXPECT_EQ(in, "2:0102");
  EXPECT_EQ(call("HashMem", s, block({1, 2, 3}, 0), out), 0);
  EXPECT_EQ(in, "0:-") << "len 0: no buffer, the array is not read";
  jobject no_buf = make("mem_blk_t");
  set(no_buf, "len", jint(5));
  EXPECT_EQ(call("HashMem", s, no_buf, out), 0);
  EXPECT_EQ(in, "5:-");
  EXPECT_EQ(call("HashMem", s, block({1}, -4), out), 0);
  EXPECT_EQ(in, "-4:-");

  // Copied, never pinned: the library cannot write into the caller's array.
  standin::on<QUMEN_HashMem>([](context_t, mem_blk_t* b, mem_blk_t*) {
    b->buf[0] = 0xEE;
    return 0;
  });
  jobject data = block({1, 2});
  EXPECT_EQ(call("HashMem", s, data, out), 0);
  EXPECT_EQ(show_block(data), "2:0102");
}

TEST_F(Frame, OutputBlocksTakeExactlyLenBytesAndAreReleased) {
  jobject s = open();
  std::string in;
  jobject out = block({1, 2, 3, 4, 5});
  answer(&in, Bytes{10, 20, 30, 40}, 0, 3);
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(show_block(out), "3:0a141e");
  answer(&in, std::nullopt, 0, 7);  // a length without a buffer
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(show_block(out), "7:-");
  answer(&in, Bytes{1, 2}, 0, 0);  // a buffer with len 0: no array, the block still released
  EXPECT_EQ(call("HashMem", s, nullptr, out), 0);
  EXPECT_EQ(show_block(out), "0:-");
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 3u);

  // A native failure is passed through and still rewrites the result.
  answer(&in, std::nullopt, 0x12345678);
  jobject failed = block({1, 2, 3});
  EXPECT_EQ(call("HashMem", s, block({1}), failed), 0x12345678);
  EXPECT_EQ(show_block(failed), "0:-");
}

// The first argument refused skips the library and every result.
TEST_F(Frame, AnArgumentThatFailsToConvertSkipsTheLibrary) {
  jobject s = open();
  jobject out = block({4});
  EXPECT_EQ(raw("HashMem", s, block({1, 2, 3}, 4), out), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(standin::count("QUMEN_HashMem"), 0u);
  EXPECT_EQ(show_block(out), "1:04");
}

// Blocks of a class of the caller's own, passed through JNI where the host's declaration names
// a class that is not final: fields are found on the object's own class.
TEST_F(Frame, ALookAlikeArgumentWithoutAFieldSkipsTheLibrary) {
  TVJ_ONLY_ON_OPEN_HOST();
  jobject s = open();
  jobject out = block({4});
  EXPECT_EQ(raw("HashMem", s, make("tvtest/Odd$BlockNoLen"), out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2mem_blk_t:len");
  EXPECT_EQ(raw("HashMem", s, make("tvtest/Odd$BlockNoBuf"), out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2mem_blk_t:buf");
  EXPECT_EQ(standin::count("QUMEN_HashMem"), 0u);
  EXPECT_EQ(show_block(out), "1:04");
}

TEST_F(Frame, ALookAlikeResultThatFailsToConvertReplacesTheStatusAndIsStillReleased) {
  TVJ_ONLY_ON_OPEN_HOST();
  jobject s = open();
  std::string in;
  answer(&in, Bytes{1, 2, 3}, 0x0BAD);
  EXPECT_EQ(raw("HashMem", s, nullptr, make("tvtest/Odd$BlockNoLen")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");

  answer(&in, Bytes{1, 2, 3});
  jobject no_buf = make("tvtest/Odd$BlockNoBuf");
  EXPECT_EQ(raw("HashMem", s, nullptr, no_buf), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_int(no_buf, "len"), 3) << "len was written before buf was found missing";
  // The ledger (checked after every test) shows both native blocks released.
}

TEST_F(Frame, AnyLookAlikeClassWithTheFieldsServesAsABlock) {
  TVJ_ONLY_ON_OPEN_HOST();
  jobject s = open();
  std::string in;
  answer(&in, Bytes{5, 6});
  jobject own = make("tvtest/Odd$OwnBlock");
  set(own, "buf", Bytes{1, 2, 3});
  set(own, "len", jint(3));
  EXPECT_EQ(call("HashMem", s, own, own), 0);
  EXPECT_EQ(in, "3:010203");
  EXPECT_EQ(get_bytes(own, "buf"), (Bytes{5, 6}));

  // A subclass that shadows buf is read through its own field, not its parent's.
  jobject shadow = make("tvtest/Odd$ShadowBlock");
  set(shadow, "len", jint(1));
  set(shadow, "buf", Bytes{42});
  EXPECT_EQ(call("HashMem", s, shadow, nullptr), 0);
  EXPECT_EQ(in, "1:2a");
}

// Larger than the first chunk of the call's memory: the arena grows, and nothing is lost.
TEST_F(Frame, BlocksCrossIntactWhateverTheirSize) {
  // Short inputs are copied onto the stack, longer ones into the call's memory.
  jobject s = open();
  Bytes seen_in;
  standin::on<QUMEN_HashMem>([&](context_t c, mem_blk_t* in, mem_blk_t* out) {
    seen_in.assign(in->buf, in->buf + in->len);
    *out = mem_blk_t{in->len, standin::bytes(c, seen_in)};
    return 0;
  });
  for (size_t n : {size_t(1), size_t(256), size_t(257), size_t(3) << 20}) {
    Bytes data(n);
    for (size_t i = 0; i < n; ++i) data[i] = uint8_t(i * 7 + n);
    jobject out = make("mem_blk_t");
    ASSERT_EQ(call("HashMem", s, block(data), out), 0) << n;
    EXPECT_TRUE(seen_in == data) << n;
    EXPECT_TRUE(get_bytes(out, "buf") == data) << n;
  }
}

}  // namespace
