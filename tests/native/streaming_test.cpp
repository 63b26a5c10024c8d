// Streams and TLS sessions over the stand-in: the handle that lives in a Java object between the
// calls, the state word of the decryption stream, and streams on two threads at once. (That every
// stage passes its arguments and follows its handle rule is checked by the methods table.)
#include <pthread.h>

#include "helpers.h"

using namespace tj;

namespace {

constexpr int32_t kFail = 0x0BAD0001;
constexpr jlong kOld = 0x0DD0;

class Streaming : public BridgeTest {};

TEST_F(Streaming, AHashStreamOverPiecesEqualsHashMemOfTheWhole) {
  jobject s = open();
  jobject h = handle_object(0x77);
  ASSERT_EQ(call("StrHashInitMem", s, str("sha256"), h), 0);
  const jlong issued = get_long(h, "handle");
  EXPECT_TRUE(standin::handle_open(strhandle_t(issued)));

  Bytes whole;
  for (const Bytes& piece : {Bytes{'a', 'b'}, Bytes{}, Bytes{'c', 'd', 'e'}, Bytes{0, 0xFF}}) {
    ASSERT_EQ(call("StrHashUpdateMem", s, h, block(piece)), 0);
    EXPECT_EQ(get_long(h, "handle"), issued);
    whole.insert(whole.end(), piece.begin(), piece.end());
  }
  jobject digest = block({1});
  ASSERT_EQ(call("StrHashFinalMem", s, h, digest), 0);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_FALSE(standin::handle_open(strhandle_t(issued)));
  EXPECT_EQ(get_bytes(digest, "buf"), standin::digest(whole.data(), whole.size()));

  // The ended handle, given again: the library refuses it and Java is left with 0.
  set(h, "handle", L{issued});
  EXPECT_EQ(call("StrHashUpdateMem", s, h, block({1})), standin::kBadHandle);
  EXPECT_EQ(get_long(h, "handle"), 0);
}

// A verifying stream may start without a byte of the message: the whole message then comes
// through its updates (found by fuzzing: the stand-in compared an empty start with its magic).
TEST_F(Streaming, AVerifyingStreamStartedWithoutBytesVerifiesWhatItsUpdatesBring) {
  jobject s = open();
  jobject signed_block = block({});
  ASSERT_EQ(call("SignMem", s, make("sign_param_t"), block({'h', 'i'}), nullptr, signed_block), 0);
  jobject h = handle_object();
  ASSERT_EQ(call("StrVerifyInitMem", s, nullptr, nullptr, h), 0);
  ASSERT_EQ(call("StrVerifyUpdateMem", s, nullptr, h, signed_block), 0);
  jobject content = block({});
  jobject result = make("verify_result_t");
  EXPECT_EQ(call("StrVerifyFinalMem", s, nullptr, h, content, result), 0);
  EXPECT_EQ(get_bytes(content, "buf"), (std::vector<uint8_t>{'h', 'i'}));
  EXPECT_EQ(get_int(result, "sign_num"), 1);
  EXPECT_EQ(standin::open_handles(), 0u);
}

// The handle goes back to Java before any other result: an output Java cannot take does not
// keep an ended stream's handle in the object.
TEST_F(Streaming, FinalClearsTheHandleBeforeItsLookAlikeOutputIsConverted) {
  TVJ_ONLY_ON_OPEN_HOST();
  jobject s = open();
  jobject h = handle_object();
  ASSERT_EQ(call("StrSignInitMem", s, make("sign_param_t"), block({'x'}), h), 0);
  EXPECT_EQ(raw("StrSignFinalMem", s, nullptr, h, make("tvtest/Odd$BlockNoBuf")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(standin::open_handles(), 0u);
}

TEST_F(Streaming, AHandleObjectWithoutALongHandleIsRefusedWhereItIsRead) {
  jobject s = open();
  jobject odd = make("tvtest/Odd$NoHandle");
  // Read in parameter order: after the parameter record, before the block.
  EXPECT_EQ(raw("StrSignUpdateMem", s, make("tvtest/Odd$SignParamLongFlag"), odd, block({1})),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2sign_param_t:flag");
  EXPECT_EQ(raw("StrSignUpdateMem", s, nullptr, odd, block({1, 2}, 3)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(standin::calls().size(), 1u) << "only the InitMinimal of open()";

  // Only written at Init: the library opened the stream, and its handle is lost.
  EXPECT_EQ(raw("StrHashInitMem", s, str("a"), odd), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "strhandle_t2jobject:handle");
  EXPECT_EQ(standin::open_handles(), 1u);
}

// The state word is read after the input block and written back whatever the status (the
// methods table checks both); a word of the wrong length stops the call before the library.
TEST_F(Streaming, DecryptUpdateReadsTheStateWordAfterItsInput) {
  jobject s = open();
  jobject h = handle_object(kOld), out = block({1});
  EXPECT_EQ(raw("StrDecryptUpdateMem", s, nullptr, h, block({1}), ints({}), out), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jintArray2intArray:array");
  // Both the input and the word refuse to convert: the input, read first, is the one Java sees.
  EXPECT_EQ(raw("StrDecryptUpdateMem", s, nullptr, h, block({1}, 2), ints({1, 2}), out), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(standin::count("QUMEN_StrDecryptUpdateMem"), 0u);
  EXPECT_EQ(get_long(h, "handle"), kOld);
  EXPECT_EQ(show_block(out), "1:01");
}

TEST_F(Streaming, DecryptInitWritesTheHandleFirstAndTheStateWordWhateverTheStatus) {
  jobject s = open();
  // The array follows the handle's rule although it precedes the handle object: with a wrong
  // length the stream is open and recorded in Java before the array is refused.
  jobject h = handle_object();
  jintArray two = ints({7, 7});
  EXPECT_EQ(raw("StrDecryptInitMem", s, nullptr, block({'T'}), two, h),
            kPending);  // an envelope's start
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "intArray2jintArray:array");
  EXPECT_TRUE(standin::handle_open(strhandle_t(get_long(h, "handle"))));
  EXPECT_EQ(ints_of(two), (std::vector<jint>{7, 7}));

  // A failing Init: st[0] receives what the library left in the word, 0 if it left nothing.
  bool write = true;
  standin::on<QUMEN_StrDecryptInitMem>(
      [&](context_t, decrypt_param_t*, mem_blk_t*, int32_t* w, strhandle_t* out) {
        *out = strhandle_t{0x51};
        if (write) *w = -3;
        return kFail;
      });
  jintArray st = ints({9});
  EXPECT_EQ(call("StrDecryptInitMem", s, nullptr, block({1}), st, h), kFail);
  EXPECT_EQ(ints_of(st), std::vector<jint>{-3});
  EXPECT_EQ(get_long(h, "handle"), 0) << "a failing Init clears an older handle";
  write = false;
  EXPECT_EQ(call("StrDecryptInitMem", s, nullptr, block({1}), st, h), kFail);
  EXPECT_EQ(ints_of(st), std::vector<jint>{0});
}

// A session's handle is passed by value to every call but its creation and destruction.
TEST_F(Streaming, ATlsSessionFromCreationToDestruction) {
  jobject s = open();
  jobject session = make("tvtest/Odd$Handle");
  ASSERT_EQ(call("TlsSessionCreate", s, str("peer"), session, jint(1)), 0);
  auto h = strhandle_t(get_long(session, "handle"));
  ASSERT_TRUE(standin::handle_open(h));
  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("TlsSessionWrite", s, session, block({0x00, 0x5A}), out), 0);
  ASSERT_EQ(call("TlsSessionRead", s, session, out, out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{0x00, 0x5A}));
  EXPECT_EQ(get_long(session, "handle"), jlong(h));
  ASSERT_EQ(call("TlsSessionDestroy", s, session), 0);
  EXPECT_EQ(get_long(session, "handle"), 0);
  EXPECT_FALSE(standin::handle_open(h));

  // The old value, used after the destruction: the library's own answer.
  set(session, "handle", L{jlong(h)});
  EXPECT_EQ(call("TlsSessionComplete", s, session), standin::kBadHandle);
  EXPECT_EQ(get_long(session, "handle"), jlong(h)) << "a value handle is never written";
  EXPECT_EQ(call("TlsSessionDestroy", s, session), standin::kBadHandle);
  EXPECT_EQ(get_long(session, "handle"), 0) << "0 whatever the destruction's outcome";
}

// ---- Streams on two threads ------------------------------------------------------------------

struct Worker {
  jobject self;  // a global reference
  uint8_t seed;
  std::string problem;
};

// Rounds of whole hash streams on a thread attached for the purpose, each in a frame of its own.
void* hash_streams(void* arg) {
  auto* w = static_cast<Worker*>(arg);
  JNIEnv* e = nullptr;
  vm()->AttachCurrentThread(reinterpret_cast<void**>(&e), nullptr);
  for (int round = 0; round < 40 && w->problem.empty(); ++round) {
    e->PushLocalFrame(32);
    jobject h = make("strhandle_t");
    Bytes whole;
    jint status = call("StrHashInitMem", w->self, str("sha256"), h);
    for (int i = 0; i < 6 && status == 0; ++i) {
      Bytes piece(size_t(1 + (i + round) % 5), uint8_t(w->seed + round * 7 + i));
      whole.insert(whole.end(), piece.begin(), piece.end());
      status = call("StrHashUpdateMem", w->self, h, block(piece));
    }
    jobject out = make("mem_blk_t");
    if (status == 0) status = call("StrHashFinalMem", w->self, h, out);
    if (e->ExceptionCheck()) {
      e->ExceptionClear();
      w->problem = "an exception in round " + std::to_string(round);
    } else if (status != 0 ||
               get_bytes(out, "buf") != standin::digest(whole.data(), whole.size())) {
      w->problem = "status " + std::to_string(status) + " or a wrong digest in round " +
                   std::to_string(round);
    }
    e->PopLocalFrame(nullptr);
  }
  vm()->DetachCurrentThread();
  return nullptr;
}

TEST_F(Streaming, StreamsOnTwoThreadsAtOnceKeepTheirOwnData) {
  jobject s = env_->NewGlobalRef(open());
  // The harness's lookups are cached on first use, which is not safe from two threads at once.
  for (const char* op : {"StrHashInitMem", "StrHashUpdateMem", "StrHashFinalMem"}) method(op);
  make("strhandle_t");
  make("mem_blk_t");
  Worker workers[] = {{s, 0x10, {}}, {s, 0x80, {}}};
  pthread_t threads[2];
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(pthread_create(&threads[i], nullptr, hash_streams, &workers[i]), 0);
  for (pthread_t t : threads) pthread_join(t, nullptr);
  for (const Worker& w : workers) EXPECT_EQ(w.problem, "") << "thread with seed " << int(w.seed);
  EXPECT_EQ(standin::count("QUMEN_StrHashFinalMem"), 80u);
  EXPECT_EQ(standin::open_handles(), 0u);
  env_->DeleteGlobalRef(s);
}

}  // namespace
