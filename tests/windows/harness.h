// The Windows tests' harness: tarvexjni.dll loaded as a JVM loads it (by its full path, after
// tarvex.dll, which this program links), its exported methods called through the tests' own
// JNI environment (test_jni.h), and the stand-in programmed by the names of its functions.
#pragma once

#include <gtest/gtest.h>
#include <jni.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "standin.h"
#include "test_jni.h"

namespace wt {

using testjni::Obj;
using Bytes = std::vector<uint8_t>;

testjni::Vm& vm();

// tarvexjni.dll, loaded once, its JNI_OnLoad called.
HMODULE bridge();
// The folder of this program and of the DLLs.
std::wstring program_folder();

// The stand-in's key for one of its functions: the function's address inside tarvex.dll. This
// program's own &QUMEN_HashMem is an import thunk, another address.
const void* key(const char* function);

// standin::on, fault and fail, by name: ON(QUMEN_HashMem, [](context_t, mem_blk_t*, ...) {...}).
template <auto Fn, typename H>
void on(const char* function, H handler) {
  using Handler = typename standin::Signature<Fn>::Handler;
  standin::set_handler(key(function), std::make_shared<Handler>(std::move(handler)));
}
#define ON(fn, ...) ::wt::on<fn>(#fn, __VA_ARGS__)
inline void fault(const char* function, standin::Fault f, int times = 1) {
  standin::set_fault(key(function), f, times);
}

// ---- Calls ------------------------------------------------------------------------------------

struct L {  // a long argument
  int64_t v;
};
inline jobject arg(Obj o) { return vm().local(o); }
inline jobject arg(std::nullptr_t) { return nullptr; }
inline jint arg(int32_t i) { return jint(i); }
inline jlong arg(L l) { return jlong(l.v); }
template <typename A>
using CType = decltype(arg(std::declval<A>()));

void* exported(const char* op);  // Java_Norv1_LocalIface_QUMENJNI_1<op>
Obj host_class();

// LocalIface.QUMENJNI_<op>(args...) as the VM calls it: in a native method's frame of its own,
// the class LocalIface first. The status comes back even with an exception pending.
template <typename... A>
jint call(const char* op, A... args) {
  using Fn = jint(JNICALL*)(JNIEnv*, jclass, CType<A>...);
  auto fn = reinterpret_cast<Fn>(exported(op));
  vm().enter_native();
  jint status = fn(vm().env(), static_cast<jclass>(vm().local(host_class())), arg(args)...);
  vm().leave_native();
  return status;
}

// The same for a method that returns an object.
template <typename... A>
Obj call_object(const char* op, A... args) {
  using Fn = jobject(JNICALL*)(JNIEnv*, jclass, CType<A>...);
  auto fn = reinterpret_cast<Fn>(exported(op));
  vm().enter_native();
  Obj result =
      vm().object_of(fn(vm().env(), static_cast<jclass>(vm().local(host_class())), arg(args)...));
  vm().leave_native();
  return result;
}

constexpr jint kPending = jint(0xE0700001);
constexpr jint kAccessViolation = jint(0xC0000005);
constexpr jint kIntDivideByZero = jint(0xC0000094);
constexpr jint kIllegalInstruction = jint(0xC000001D);
constexpr jint kStackOverflow = jint(0xC00000FD);

// ---- Objects ---------------------------------------------------------------------------------

Obj block(const Bytes& data);  // a mem_blk_t, len = the bytes' count
Obj block(const Bytes& data, int32_t len);
Obj str(const char* utf8);                                  // null for null
std::optional<Bytes> block_bytes(Obj block);                // its buf
std::optional<std::string> text(Obj o, const char* field);  // a String field, as UTF-8

// ---- The fixture -------------------------------------------------------------------------------

// Every bridge test: a clean stand-in, and at the end no pending exception, nothing the test JNI
// environment found wrong, and a clean ledger.
class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  Obj open();  // a LocalIface with a live context
};

}  // namespace wt

#define EXPECT_THROWN(klass, msg)                          \
  do {                                                     \
    auto t_ = ::wt::vm().thrown();                         \
    ASSERT_TRUE(t_.has_value()) << "no exception pending"; \
    EXPECT_EQ(t_->cls, klass);                             \
    EXPECT_EQ(t_->message, msg);                           \
  } while (0)
