// Streams of hashing, signing, verification, encryption and decryption: the handle that lives in
// a Java object between the stages, the state word of the decryption stream, and what each stage
// leaves in Java when the library or a conversion fails.
#include <pthread.h>

#include "stage_probe.h"

using namespace tj;

namespace {

const Row kStreamingRows[] = {
    TVJ_ROW(StrHashInitMem, "NH"),      TVJ_ROW(StrHashUpdateMem, "HI"),
    TVJ_ROW(StrHashFinalMem, "HO"),     TVJ_ROW(StrHashFile, "NNO"),
    TVJ_ROW(StrSignInitMem, "SIH"),     TVJ_ROW(StrSignUpdateMem, "SHI"),
    TVJ_ROW(StrSignFinalMem, "SHO"),    TVJ_ROW(StrSignFile, "SNNN"),
    TVJ_ROW(StrVerifyInitMem, "VIH"),   TVJ_ROW(StrVerifyUpdateMem, "VHI"),
    TVJ_ROW(StrVerifyFinalMem, "VHOr"), TVJ_ROW(StrVerifyFile, "VNNNr"),
    TVJ_ROW(StrEncryptInitMem, "EH"),   TVJ_ROW(StrEncryptUpdateMem, "EHIO"),
    TVJ_ROW(StrEncryptFinalMem, "EHO"), TVJ_ROW(StrEncryptFile, "ENN"),
    TVJ_ROW(StrDecryptInitMem, "DIWH"), TVJ_ROW(StrDecryptUpdateMem, "DHIWO"),
    TVJ_ROW(StrDecryptFinalMem, "DHd"), TVJ_ROW(StrDecryptFile, "DNNd"),
    TVJ_ROW(StrEncryptedInfoMem, "Ie"), TVJ_ROW(StrEncryptedInfoFile, "Ne"),
};

jobject handle_object(jlong value = 0) {
  jobject h = make("strhandle_t");
  set(h, "handle", L{value});
  return h;
}

class Streaming : public BridgeTest {};

// Each method reaches its own function with its arguments in order; the handle rules of its
// stage hold after success and after failure; its outputs, state word and result reach the
// Java objects in their positions, and nothing native is left behind.
TEST_F(Streaming, EveryMethodPassesItsArgumentsAndTakesItsResultsInPlace) {
  jobject s = open();
  for (const Row& row : kStreamingRows) {
    check_row(s, row, 0);
    check_row(s, row, kFail);
  }
}

TEST_F(Streaming, AHashStreamOverPiecesEqualsHashMemOfTheWhole) {
  jobject s = open();
  jobject h = handle_object(0x77);
  ASSERT_EQ(call("StrHashInitMem", s, str("sha256"), h), 0);
  const jlong issued = get_long(h, "handle");
  EXPECT_TRUE(standin::handle_open(strhandle_t(issued)));

  Bytes whole;
  for (const Bytes& piece : {Bytes{'a', 'b'}, Bytes{}, Bytes{'c', 'd', 'e'}, Bytes{0, 0xFF}}) {
    ASSERT_EQ(call("StrHashUpdateMem", s, h, block(piece)), 0);
    EXPECT_EQ(get_long(h, "handle"), issued) << "a successful Update leaves the handle as it is";
    whole.insert(whole.end(), piece.begin(), piece.end());
  }
  jobject digest = block({1});
  ASSERT_EQ(call("StrHashFinalMem", s, h, digest), 0);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_FALSE(standin::handle_open(strhandle_t(issued)));

  jobject expected = make("mem_blk_t");
  ASSERT_EQ(call("HashMem", s, block(whole), expected), 0);
  EXPECT_EQ(get_bytes(digest, "buf"), get_bytes(expected, "buf"));
  EXPECT_EQ(get_int(digest, "len"), 32);

  // After Final the object holds 0, which the library refuses like any ended stream.
  EXPECT_EQ(call("StrHashUpdateMem", s, h, block({1})), standin::kBadHandle);
}

TEST_F(Streaming, AFailingUpdateEndsTheStreamAndStillRewritesItsOutput) {
  jobject s = open();
  jobject p = make("encrypt_param_t");
  jobject h = handle_object();
  ASSERT_EQ(call("StrEncryptInitMem", s, p, h), 0);
  const jlong issued = get_long(h, "handle");
  jobject out = make("mem_blk_t");
  ASSERT_EQ(call("StrEncryptUpdateMem", s, p, h, block({1, 2, 3}), out), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{1, 2, 3})) << "the output so far (the stand-in echoes)";
  EXPECT_EQ(get_long(h, "handle"), issued);
  ASSERT_EQ(call("StrEncryptFinalMem", s, p, h, out), 0);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_int(out, "len"), 32);

  // The ended handle, given again: refused, nothing produced, and the object cleared.
  set(h, "handle", L{issued});
  EXPECT_EQ(call("StrEncryptUpdateMem", s, p, h, block({4}), out), standin::kBadHandle);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_int(out, "len"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);
}

TEST_F(Streaming, FinalClearsTheHandleBeforeItsOutputIsConverted) {
  jobject s = open();
  jobject h = handle_object();
  ASSERT_EQ(call("StrSignInitMem", s, make("sign_param_t"), block({'x'}), h), 0);
  ASSERT_EQ(call("StrSignUpdateMem", s, nullptr, h, block({'y'})), 0);
  EXPECT_EQ(raw("StrSignFinalMem", s, nullptr, h, make("tvtest/Odd$BlockNoBuf")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(standin::open_handles(), 0u);
  // The signature the library produced went back to it (the ledger is checked after the test).
}

TEST_F(Streaming, VerifyFinalConvertsTheOutputBlockBeforeTheResult) {
  jobject s = open();
  standin::on<QUMEN_StrVerifyFinalMem>(
      [](context_t c, verify_param_t*, strhandle_t*, mem_blk_t* out, verify_result_t* r) {
        *out = mem_blk_t{2, standin::bytes(c, {'o', 'k'})};
        standin::fill_verify_result(c, r, 3);
        return 0;
      });
  jobject h = handle_object(kOldHandle);
  jobject result = make("verify_result_t");
  set(result, "sign_num", jint(77));
  EXPECT_EQ(raw("StrVerifyFinalMem", s, nullptr, h, make("tvtest/Odd$BlockNoBuf"), result),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_int(result, "sign_num"), 77) << "the result is not reached";
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), 1u) << "but handed back to the library";

  jobject out = make("mem_blk_t");
  set(h, "handle", L{kOldHandle});
  EXPECT_EQ(raw("StrVerifyFinalMem", s, nullptr, h, out, make("tvtest/Records$ResultNoSigns")),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "verify_result_t2jobject:signs");
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'o', 'k'})) << "the output came first";
}

TEST_F(Streaming, ANullHandleObjectReadsAsZeroAndSwallowsTheNewHandle) {
  jobject s = open();
  EXPECT_EQ(call("StrHashInitMem", s, nullptr, nullptr), 0);
  EXPECT_EQ(standin::open_handles(), 1u) << "the stream is open, its handle out of Java's reach";
  EXPECT_EQ(call("StrHashUpdateMem", s, nullptr, block({1})), standin::kBadHandle);
  jobject out = block({5});
  EXPECT_EQ(call("StrHashFinalMem", s, nullptr, out), standin::kBadHandle);
  EXPECT_EQ(get_int(out, "len"), 0);
  EXPECT_EQ(standin::open_handles(), 1u);
}

TEST_F(Streaming, AHandleObjectWithoutALongHandleIsRefusedWhereItIsRead) {
  jobject s = open();
  jobject odd = make("tvtest/Odd$NoHandle");
  set(odd, "handle", jint(5));
  jobject out = block({9});

  // Read at Update and Final, in parameter order: after the parameter record, before the block.
  EXPECT_EQ(raw("StrEncryptUpdateMem", s, nullptr, odd, block({1}), out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(raw("StrHashFinalMem", s, odd, out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(raw("StrSignUpdateMem", s, make("tvtest/Records$SignParamLongFlag"), odd, block({1})),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2sign_param_t:flag");
  EXPECT_EQ(raw("StrSignUpdateMem", s, nullptr, odd, block({1, 2}, 3)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2strhandle_t:handle");
  EXPECT_EQ(standin::calls().size(), 1u) << "only the InitMinimal of open()";
  EXPECT_EQ(get_int(odd, "handle"), 5);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{9});

  // Only written at Init: the library opened the stream, and its handle is lost.
  EXPECT_EQ(raw("StrHashInitMem", s, str("a"), odd), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "strhandle_t2jobject:handle");
  EXPECT_EQ(standin::count("QUMEN_StrHashInitMem"), 1u);
  EXPECT_EQ(standin::open_handles(), 1u);
}

// ---- The decryption state word ---------------------------------------------------------------

TEST_F(Streaming, DecryptUpdateReadsTheStateWordAfterItsInputAndWritesItBackAfterTheHandle) {
  jobject s = open();
  std::vector<int32_t> seen;
  int32_t status = 0;
  standin::on<QUMEN_StrDecryptUpdateMem>(
      [&](context_t c, decrypt_param_t*, strhandle_t*, mem_blk_t*, int32_t* w, mem_blk_t* out) {
        seen.push_back(*w);
        *w = *w * 2 + 1;
        if (status == 0) *out = mem_blk_t{1, standin::bytes(c, {'p'})};
        return status;
      });
  jobject h = handle_object(kOldHandle);
  jobject out = make("mem_blk_t");
  jintArray st = ints({20});
  EXPECT_EQ(call("StrDecryptUpdateMem", s, nullptr, h, block({1}), st, out), 0);
  EXPECT_EQ(ints_of(st), std::vector<jint>{41});
  EXPECT_EQ(get_long(h, "handle"), kOldHandle);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{'p'});

  // A failure: the handle is cleared, and the state word and the (empty) output still written.
  status = kFail;
  EXPECT_EQ(call("StrDecryptUpdateMem", s, nullptr, h, block({1}), st, out), kFail);
  EXPECT_EQ(ints_of(st), std::vector<jint>{83});
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);

  // No array: the library gets 0, and nothing comes back.
  status = 0;
  EXPECT_EQ(call("StrDecryptUpdateMem", s, nullptr, h, block({1}), nullptr, out), 0);
  EXPECT_EQ(seen, (std::vector<int32_t>{20, 41, 0}));

  // A wrong length stops the call before the library; an input refused first wins.
  set(h, "handle", L{kOldHandle});
  for (jintArray bad : {ints({1, 2}), ints({})}) {
    EXPECT_EQ(raw("StrDecryptUpdateMem", s, nullptr, h, block({1}), bad, out), kPending);
    EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jintArray2intArray:array");
  }
  EXPECT_EQ(raw("StrDecryptUpdateMem", s, nullptr, h, block({1}, 2), ints({1, 2}), out), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(get_long(h, "handle"), kOldHandle);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{'p'});
}

TEST_F(Streaming, DecryptInitWritesTheHandleFirstAndTheStateWordWhateverTheStatus) {
  jobject s = open();
  // The array follows the handle's rule although it precedes the handle object: with a wrong
  // length the stream is open and recorded in Java before the array is refused.
  jobject h = handle_object();
  jintArray two = ints({7, 7});
  EXPECT_EQ(raw("StrDecryptInitMem", s, nullptr, block({1}), two, h), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "intArray2jintArray:array");
  EXPECT_TRUE(standin::handle_open(strhandle_t(get_long(h, "handle"))));
  EXPECT_EQ(ints_of(two), (std::vector<jint>{7, 7}));

  // A failing Init: st[0] receives what the library left in the word, 0 if it left nothing.
  bool write = true;
  standin::on<QUMEN_StrDecryptInitMem>(
      [&](context_t, decrypt_param_t*, mem_blk_t*, int32_t* w, strhandle_t* out) {
        *out = strhandle_t{kIssued};
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
    } else if (status != 0) {
      w->problem = "status " + std::to_string(status) + " in round " + std::to_string(round);
    } else if (get_bytes(out, "buf") != standin::digest(whole.data(), whole.size())) {
      w->problem = "a wrong digest in round " + std::to_string(round);
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
