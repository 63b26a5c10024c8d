// The machine-fault guard: real faults inside the native library's call become statuses, and
// the JVM's own signals (implicit null and division checks, stack overflows) keep working.
#include "core/guard.h"

#include <dlfcn.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "harness/jvm.h"

using namespace tj;

namespace {

using standin::Fault;

constexpr jint kAccessViolation = jint(0xC0000005);
constexpr jint kIntDivideByZero = jint(0xC0000094);
constexpr jint kIllegalInstruction = jint(0xC000001D);
constexpr jint kInPageError = jint(0xC0000006);
constexpr jint kMisaligned = jint(0x80000002);
constexpr jint kFloatInvalid = jint(0xC0000090);

class Guard : public BridgeTest {
 protected:
  bool java_healthy() {
    jmethodID all = env_->GetStaticMethodID(cls("tvtest/Health"), "all", "()Z");
    jboolean ok = env_->CallStaticBooleanMethod(cls("tvtest/Health"), all);
    return !env_->ExceptionCheck() && ok;
  }
};

TEST_F(Guard, AFaultInsideTheLibraryBecomesItsWindowsCode) {
  jobject s = open();
  const std::pair<Fault, jint> faults[] = {{Fault::kSegv, kAccessViolation},
                                           {Fault::kFpe, kIntDivideByZero},
                                           {Fault::kIll, kIllegalInstruction},
                                           {Fault::kBus, kInPageError},
                                           {Fault::kMisaligned, kMisaligned}};
  for (auto [fault, code] : faults) {
    standin::fault<QUMEN_HashMem>(fault);
    jobject out = block({1, 2, 3});
    EXPECT_EQ(call("HashMem", s, block({9}), out), code);
    EXPECT_EQ(get_bytes(out, "buf"), (std::vector<uint8_t>{1, 2, 3})) << "no result after a fault";
    EXPECT_EQ(call("HashMem", s, block({9}), out), 0) << "and the next call works";
  }
}

// The other codes an arm64 kernel gives these signals (the stand-in raises the rest for real):
// memory tagging, hardware memory errors, pointer authentication, trapped float exceptions.
TEST(FaultStatus, TheOtherCodesOfAnArm64Kernel) {
  const std::tuple<int, int, jint> codes[] = {
      {SIGSEGV, SEGV_ACCERR, kAccessViolation},  {SIGSEGV, SEGV_MTEAERR, kAccessViolation},
      {SIGSEGV, SEGV_MTESERR, kAccessViolation}, {SIGBUS, BUS_OBJERR, kInPageError},
      {SIGBUS, BUS_MCEERR_AR, kInPageError},     {SIGILL, ILL_ILLOPN, kIllegalInstruction},
      {SIGFPE, FPE_FLTDIV, jint(0xC000008E)},    {SIGFPE, FPE_FLTOVF, jint(0xC0000091)},
      {SIGFPE, FPE_FLTUND, jint(0xC0000093)},    {SIGFPE, FPE_FLTRES, jint(0xC000008F)},
      {SIGFPE, FPE_FLTINV, kFloatInvalid},       {SIGFPE, FPE_FLTUNK, kFloatInvalid},
  };
  for (auto [sig, code, status] : codes)
    EXPECT_EQ(tvj::fault_status(sig, code), status) << "signal " << sig << ", si_code " << code;
}

TEST_F(Guard, TheResultsOfAFaultedCallAreLeftAlone) {
  jobject s = open();
  standin::on<QUMEN_HashMem>([](context_t c, mem_blk_t*, mem_blk_t* out) {
    out->buf = standin::bytes(c, {1, 2});
    out->len = 2;
    standin::crash(Fault::kSegv);
    return 0;
  });
  EXPECT_EQ(call("HashMem", s, block({1}), make("mem_blk_t")), kAccessViolation);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 0u);
  EXPECT_EQ(standin::outstanding(), 1u) << "the library's state after a fault is its own";
  standin::ledger_forget();
}

TEST_F(Guard, TheTransformationPairReturnsMinusOne) {
  jobject s = self();
  standin::fault<QUMEN_EncodeMem>(Fault::kSegv);
  standin::fault<QUMEN_DecodeMem>(Fault::kFpe);
  jbyteArray first = bytes({1, 2});
  EXPECT_EQ(call("EncodeMem", s, first, bytes({3, 4}), jint(2)), -1);
  EXPECT_EQ(call("DecodeMem", s, first, bytes({3, 4}), jint(2)), -1);
  EXPECT_EQ(bytes_of(first), (std::vector<uint8_t>{1, 2}));
}

TEST_F(Guard, AThousandFaultsInARowLeaveTheJvmHealthy) {
  jobject s = open();
  ASSERT_TRUE(java_healthy());
  standin::fault<QUMEN_HashMem>(Fault::kSegv, -1);
  int wrong = 0;
  for (int i = 0; i < 1000; ++i) {
    env_->PushLocalFrame(8);
    wrong += call("HashMem", s, block({uint8_t(i)}), make("mem_blk_t")) != kAccessViolation;
    env_->PopLocalFrame(nullptr);
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_TRUE(java_healthy());
}

TEST_F(Guard, FaultsOnFourThreadsAtOnce) {
  jobject s = env_->NewGlobalRef(open());
  jobject in = env_->NewGlobalRef(block({5}));
  // The harness's caches, filled on this thread.
  EXPECT_EQ(call("HashMem", s, in, nullptr), 0);
  EXPECT_EQ(call("VerifyHashMem", s, nullptr, in, in, in), standin::kMismatch);
  standin::fault<QUMEN_HashMem>(Fault::kSegv, -1);
  standin::fault<QUMEN_VerifyHashMem>(Fault::kFpe, -1);
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      JNIEnv* e = env();
      for (int i = 0; i < 500; ++i) {
        e->PushLocalFrame(8);
        jint status =
            t % 2 ? call("HashMem", s, in, nullptr) : call("VerifyHashMem", s, nullptr, in, in, in);
        wrong += status != (t % 2 ? kAccessViolation : kIntDivideByZero);
        e->PopLocalFrame(nullptr);
      }
      vm()->DetachCurrentThread();
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_TRUE(java_healthy());
  env_->DeleteGlobalRef(s);
  env_->DeleteGlobalRef(in);
}

TEST_F(Guard, LoadingTheLibraryAgainKeepsTheChain) {
  void* bridge =
      dlopen((std::string(TVJ_LIB_DIR) + "/libtarvexjni.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(bridge, nullptr);
  auto on_load = reinterpret_cast<jint (*)(JavaVM*, void*)>(dlsym(bridge, "JNI_OnLoad"));
  ASSERT_NE(on_load, nullptr);
  EXPECT_EQ(on_load(vm(), nullptr), JNI_VERSION_1_8);
  dlclose(bridge);

  jobject s = open();
  standin::fault<QUMEN_HashMem>(Fault::kSegv);
  EXPECT_EQ(call("HashMem", s, nullptr, nullptr), kAccessViolation);
  EXPECT_TRUE(java_healthy()) << "Java's own signals still reach the JVM";
}

}  // namespace
