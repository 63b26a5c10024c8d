// Diagnostics and utilities: error texts and lines, random bytes, the byte transformation pair,
// CRL refresh, export to the system store, and the general control call.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "../core/frame.h"

using namespace tvj;

namespace {

// A converted argument the native library does not receive: null goes in its place.
template <typename Kind>
struct NotPassed : Kind {
  auto native() -> decltype(std::declval<Kind&>().native()) { return nullptr; }
};

// A block of `Size` zero bytes on the stack, offered to the library with len `Size`; its result
// is copied into a new Java array (mem_blk_t2jobjectNoFree) and nothing is released.
template <int32_t Size>
struct StackBlockOut : Result {
  jobject java;
  uint8_t bytes[Size] = {};
  mem_blk_t blk{Size, bytes};
  explicit StackBlockOut(jobject j) : java(j) {}
  mem_blk_t* native() { return &blk; }
  bool result(CallState& s) {
    // The library may not grow the block beyond the buffer it was given.
    if (blk.buf == bytes) blk.len = std::min(blk.len, Size);
    return mem_blk_t2jobjectNoFree(s.env, java, &blk);
  }
};

constexpr int32_t kControlStackSelector = 4;
constexpr int32_t kErrorTextCapacity = 1040;

// The transformation pair: `first` goes back into Java (mode 0), `second` does not (JNI_ABORT).
// Copies stand in for the pinned elements; each is at least `length` bytes long, so the library
// cannot write past a short array. A fault gives -1.
jint transform(JNIEnv* env, jbyteArray first, jbyteArray second, jint length,
               int32_t (*native)(uint8_t*, uint8_t*, int64_t)) {
  CallMemory memory;
  auto copy = [&](jbyteArray array, jsize* size) -> uint8_t* {
    if (array == nullptr) return nullptr;
    *size = env->GetArrayLength(array);
    size_t room = std::max<size_t>(size_t(*size), length > 0 ? size_t(length) : 0);
    auto* bytes = static_cast<uint8_t*>(scratch_alloc(room));
    if (bytes == nullptr) return nullptr;
    std::memset(bytes, 0, room);
    env->GetByteArrayRegion(array, 0, *size, reinterpret_cast<jbyte*>(bytes));
    return bytes;
  };
  jsize first_size = 0, second_size = 0;
  uint8_t* a = nullptr;
  uint8_t* b = nullptr;
  int32_t status = 0;
  auto steps = [&] {
    a = copy(first, &first_size);
    b = copy(second, &second_size);
    auto invoke = [&] { status = native(a, b, int64_t(length)); };
    int32_t fault = 0;
    if (!guard_native(invoke, fault)) status = -1;
  };
  auto cleanup = [&](bool) {  // after a fault too
    if (a != nullptr) env->SetByteArrayRegion(first, 0, first_size, reinterpret_cast<jbyte*>(a));
  };
  int32_t fault = 0;
  if (!guard_frame(steps, cleanup, fault)) status = -1;
  return status;
}

}  // namespace

extern "C" {

// Returns the text of a native error code, or null: for an unknown code (no text), when no
// buffer could be had, after a fault, or with an exception pending.
JNIEXPORT jstring JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetErrorText(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jint status) {
  CallMemory memory;
  jstring result = nullptr;
  auto steps = [&] {
    context_t native_context = jthis2context_t(env, cls, context);
    if (env->ExceptionCheck()) return;
    auto* buffer = static_cast<char*>(QUMEN_AllocMem(native_context, kErrorTextCapacity + 1));
    if (buffer == nullptr) return;
    std::memset(buffer, 0, kErrorTextCapacity + 1);
    string_t text = nullptr;
    auto invoke = [&] { text = QUMEN_GetErrorText(status, buffer, kErrorTextCapacity); };
    int32_t fault = 0;
    if (!guard_native(invoke, fault)) return;  // the buffer is left with the library
    string_t owned = buffer;
    if (text != nullptr)
      string_t2jstring(env, &result, &owned, native_context);  // releases the buffer
    if (owned != nullptr) QUMEN_FreeMem(native_context, owned);
    if (env->ExceptionCheck()) result = nullptr;
  };
  auto nothing_to_release = [](bool) {};
  int32_t fault = 0;
  if (!guard_frame(steps, nothing_to_release, fault)) return nullptr;
  return result;
}

// All four results are converted whatever the status, in order, until an exception stops them.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetErrorLineEx(
    JNIEnv* env, jclass cls, jobject context, jobject firstDetail, jobject secondDetail,
    jintArray number, jobject lastDetail) {
  return call<QUMEN_GetErrorLineEx>(env, cls, context, BlockOut{firstDetail},
                                    BlockOut{secondDetail}, IntOut{number}, BlockOut{lastDetail});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GenRandom(JNIEnv* env, jclass cls,
                                                                 jobject context, jint count,
                                                                 jobject random) {
  return call<QUMEN_GenRandom>(env, cls, context, Int{count}, BlockOut{random});
}

// No context, no converter, no ExceptionCheck; -1 on a fault.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncodeMem(JNIEnv* env, jclass, jobject,
                                                                 jbyteArray target,
                                                                 jbyteArray source, jint length) {
  return transform(env, target, source, length, QUMEN_EncodeMem);
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecodeMem(JNIEnv* env, jclass, jobject,
                                                                 jbyteArray target,
                                                                 jbyteArray source, jint length) {
  return transform(env, target, source, length, QUMEN_DecodeMem);
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1UpdateCRLs(JNIEnv* env, jclass cls,
                                                                  jobject context) {
  return call<QUMEN_UpdateCRLs>(env, cls, context);
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ExportToSystemStore(JNIEnv* env, jclass cls,
                                                                           jobject context,
                                                                           jint option) {
  return call<QUMEN_ExportToSystemStore>(env, cls, context, Int{option});
}

// Selector 4 answers into a 4096-byte block on the stack instead of the library's heap: the
// input block is still converted and released, but the library receives null in its place.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ControlEx(JNIEnv* env, jclass cls,
                                                                 jobject context, jlong value,
                                                                 jint selector, jobject input,
                                                                 jobject output, jint option) {
  if (selector == kControlStackSelector)
    return call<QUMEN_ControlEx>(env, cls, context, Long{value}, Int{selector},
                                 NotPassed<BlockIn>{input}, StackBlockOut<4096>{output},
                                 Int{option});
  return call<QUMEN_ControlEx>(env, cls, context, Long{value}, Int{selector}, BlockIn{input},
                               BlockOut{output}, Int{option});
}

}  // extern "C"
