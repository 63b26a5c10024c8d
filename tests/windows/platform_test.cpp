// The Windows platform layer for real: the fault guard, the pinning, the call's memory given
// back when a thread ends, and the code pages.
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "codesets.h"
#include "core/guard.h"
#include "core/scratch.h"
#include "harness.h"

using namespace wt;

namespace {

using standin::Fault;

// ---- The guard -----------------------------------------------------------------------------

struct Outcome {
  bool returned;
  int32_t code;
  int cleanups;
  bool cleanup_saw_fault;
};

// `steps` under the frame's guard, as the frame runs them, with a clean-up that counts.
template <typename Steps>
Outcome guarded(Steps steps) {
  Outcome out{false, 0, 0, false};
  auto cleanup = [&](bool faulted) {
    ++out.cleanups;
    out.cleanup_saw_fault = faulted;
  };
  out.returned = tvj::guard_frame(steps, cleanup, out.code);
  return out;
}

TEST(Guard, FaultsOfEachKindFromTwoThreadsBecomeTheirCodes) {
  context_t c = standin::open_context();
  fault("QUMEN_HashMem", Fault::kSegv, -1);
  fault("QUMEN_GenRandom", Fault::kFpe, -1);
  fault("QUMEN_UpdateCRLs", Fault::kIll, -1);
  std::atomic<int> wrong{0};
  auto work = [&](int seed) {
    for (int i = 0; i < 2000; ++i) {
      mem_blk_t in{0, nullptr}, out{0, nullptr};
      int32_t status = 0;
      int32_t expected = 0;
      Outcome o{};
      switch ((i + seed) % 3) {
        case 0:
          expected = kAccessViolation;
          o = guarded([&] { status = QUMEN_HashMem(c, &in, &out); });
          break;
        case 1:
          expected = kIntDivideByZero;
          o = guarded([&] { status = QUMEN_GenRandom(c, 4, &out); });
          break;
        default:
          expected = kIllegalInstruction;
          o = guarded([&] { status = QUMEN_UpdateCRLs(c); });
          break;
      }
      wrong += o.returned || o.code != expected || o.cleanups != 1 || !o.cleanup_saw_fault ||
               status != 0;
    }
  };
  std::thread a(work, 0), b(work, 1);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
  standin::reset();
  standin::end_all_contexts();
}

// Outside the native call too: the guard covers the frame's conversions on Windows.
TEST(Guard, AFaultInTheBridgesOwnStepsEndsTheCallTheSameWay) {
  int reached = 0;
  Outcome o = guarded([&] {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    ++reached;
  });
  EXPECT_FALSE(o.returned);
  EXPECT_EQ(o.code, kAccessViolation);
  EXPECT_EQ(reached, 0) << "nothing after the fault runs";
  EXPECT_EQ(o.cleanups, 1);
  EXPECT_TRUE(o.cleanup_saw_fault);
}

// What a library does with its own handlers stays inside it: a fault it handles itself, a probe
// that faults by design, a C++ exception it throws and catches.
int handled_inside = 0;
void fault_handled_inside() {
  __try {
    standin::crash(Fault::kSegv);
  } __except (EXCEPTION_EXECUTE_HANDLER) {
    ++handled_inside;
  }
}
int32_t library_with_handlers_of_its_own() {
  fault_handled_inside();
  if (IsBadReadPtr(nullptr, 16)) ++handled_inside;
  try {
    throw std::runtime_error("inside");
  } catch (const std::exception&) {
    ++handled_inside;
  }
  return 7;
}

TEST(Guard, TheLibrarysOwnHandlersAndCppExceptionsAreLeftAlone) {
  context_t c = standin::open_context();
  ON(QUMEN_UpdateCRLs, [](context_t) { return library_with_handlers_of_its_own(); });
  int32_t status = 0;
  Outcome o = guarded([&] { status = QUMEN_UpdateCRLs(c); });
  EXPECT_TRUE(o.returned);
  EXPECT_EQ(status, 7);
  EXPECT_EQ(handled_inside, 3);
  EXPECT_EQ(o.cleanups, 1);
  EXPECT_FALSE(o.cleanup_saw_fault);
  try {
    throw 1;
  } catch (int) {
    SUCCEED() << "C++ exceptions still work after the guard";
  }
  standin::reset();
  standin::end_all_contexts();
}

// ---- Pinning
// ---------------------------------------------------------------------------------------

TEST(Pinning, TheBridgeStaysLoadedWhateverFreeLibraryIsCalled) {
  HMODULE loaded = bridge();
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(FreeLibrary(loaded)) << "call " << i;
  EXPECT_EQ(GetModuleHandleW(L"tarvexjni.dll"), loaded);
  auto on_load =
      reinterpret_cast<jint(JNICALL*)(JavaVM*, void*)>(GetProcAddress(loaded, "JNI_OnLoad"));
  ASSERT_NE(on_load, nullptr);
  EXPECT_EQ(on_load(vm().java_vm(), nullptr), JNI_VERSION_1_8) << "its code is still there";
}

// ---- The call's memory
// ------------------------------------------------------------------------------

bool released(const void* p) {
  MEMORY_BASIC_INFORMATION info{};
  return VirtualQuery(p, &info, sizeof info) != 0 && info.State == MEM_FREE;
}

// A thread keeps its chunks from call to call (the large one within the budget), and gives all
// of them back to the system when it ends.
TEST(ThreadMemory, AThreadsChunksGoBackToTheSystemWhenItEnds) {
  size_t before = tvj::scratch_retained();
  void* first = nullptr;
  void* large = nullptr;
  size_t kept = 0;
  bool large_mapped_between_calls = false;
  std::thread t([&] {
    {
      tvj::CallMemory call;
      first = tvj::scratch_alloc(100);
      large = tvj::scratch_alloc(size_t(8) << 20);
      std::memset(large, 1, size_t(8) << 20);
    }
    kept = tvj::scratch_retained();
    large_mapped_between_calls = !released(large);
  });
  t.join();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_GE(kept, before + (size_t(8) << 20));
  EXPECT_TRUE(large_mapped_between_calls);
  EXPECT_TRUE(released(first)) << "the thread's first chunk";
  EXPECT_TRUE(released(large)) << "the chunk it kept between its calls";
  EXPECT_EQ(tvj::scratch_retained(), before) << "nothing of the ended thread is counted";
}

// ---- Code pages, named
// ------------------------------------------------------------------------------

// Flags 0: a character the code page lacks becomes its best fit, or the default character.
TEST(CodePages, ACharacterAPageLacksBecomesItsBestFitOrTheDefault) {
  EXPECT_EQ(encode("CP1252", u"A\u00e9\u65e5\u0100"), (Encoded{4, "A\xe9?A"}));
  EXPECT_EQ(encode("CP1251", u"\u0416\u00e9"), (Encoded{2,
                                                        "\xc6"
                                                        "e"}));
  EXPECT_EQ(decode("CP1252", "\x80"), u"\u20ac");
  EXPECT_EQ(decode("CP1251", "\xc6"), u"\u0416");
}

TEST(CodePages, ADoubleByteCharacterBreaksTheOneUnitPerByteRule) {
  EXPECT_EQ(encode("CP932", u"\u65e5").count, -1) << "two bytes in one unit's room";
  EXPECT_EQ(encode("CP932", u"A\uff76"), (Encoded{2, "A\xb6"})) << "half-width katakana: one byte";
  long n = 0;
  decode("CP932", "\x93\xfa", &n);
  EXPECT_EQ(n, 1) << "two bytes give one unit";
  EXPECT_EQ(decode("CP932", "\xb6"), u"\uff76");
}

TEST(CodePages, OnlyCodePagesTheSystemKnowsAreNamed) {
  EXPECT_EQ(tvj::codeset_named("CP1251"), tvj::codeset_named("cp1251")) << "made once";
  EXPECT_EQ(tvj::codeset_named("CP99999"), nullptr);
  EXPECT_EQ(tvj::codeset_named("UTF-8"), nullptr) << "a code page number, not a name";
}

}  // namespace
