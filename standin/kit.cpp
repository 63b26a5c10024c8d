// The natives of tarvexjni.standin.StandIn, the Java test kit: the kit loads this library as
// the process's libtarvex.so, and these functions program it from Java.
#include <jni.h>

#include <string>
#include <vector>

#include "entry.h"
#include "platform.h"

using namespace standin;

namespace {

constexpr char kPrefix[] = "QUMEN_";

const std::vector<std::string>& functions() {
  static const auto* names = new std::vector<std::string>(platform::own_functions(kPrefix));
  return *names;
}

// The key under which the stand-in programs a function: its address. Java has checked the name.
const void* key_of(JNIEnv* env, jstring function) {
  const char* chars = env->GetStringUTFChars(function, nullptr);
  if (chars == nullptr) return nullptr;
  std::string name = kPrefix + std::string(chars);
  env->ReleaseStringUTFChars(function, chars);
  return platform::own_function(name.c_str());
}

jobjectArray strings(JNIEnv* env, const std::vector<std::string>& items) {
  jclass string_class = env->FindClass("java/lang/String");
  if (string_class == nullptr) return nullptr;
  jobjectArray array = env->NewObjectArray(jsize(items.size()), string_class, nullptr);
  env->DeleteLocalRef(string_class);
  for (size_t i = 0; array != nullptr && i < items.size(); ++i) {
    jstring s = env->NewStringUTF(items[i].c_str());
    if (s == nullptr) return nullptr;
    env->SetObjectArrayElement(array, jsize(i), s);
    env->DeleteLocalRef(s);
  }
  return array;
}

std::string unprefixed(const std::string& function) {
  return function.rfind(kPrefix, 0) == 0 ? function.substr(sizeof kPrefix - 1) : function;
}

}  // namespace

extern "C" {

// The path of the libtarvex.so that the dynamic linker finds by that name in this process (as
// it finds the bridge's dependency) when it is not `kit`, the kit's own copy; else null. It
// compares paths, not addresses: when another stand-in came first, this may be its copy running.
JNIEXPORT jstring JNICALL Java_tarvexjni_standin_StandIn_foreignLibrary0(JNIEnv* env, jclass,
                                                                         jstring kit) {
  const char* ours = env->GetStringUTFChars(kit, nullptr);
  if (ours == nullptr) return nullptr;
  std::string where = platform::foreign_library(ours);
  env->ReleaseStringUTFChars(kit, ours);
  return where.empty() ? nullptr : env->NewStringUTF(where.c_str());
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_functions0(JNIEnv* env, jclass) {
  return strings(env, functions());
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_fail0(JNIEnv* env, jclass, jstring function,
                                                            jint status, jint times) {
  if (const void* key = key_of(env, function)) set_failure(key, status, times);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_fault0(JNIEnv* env, jclass, jstring function,
                                                             jint signal) {
  static const Fault kFaults[] = {Fault::kSegv, Fault::kBus, Fault::kFpe, Fault::kIll};
  if (const void* key = key_of(env, function)) set_fault(key, kFaults[signal & 3], 1);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_output0(JNIEnv* env, jclass, jstring function,
                                                              jbyteArray bytes) {
  std::vector<uint8_t> copy(size_t(env->GetArrayLength(bytes)));
  env->GetByteArrayRegion(bytes, 0, jsize(copy.size()), reinterpret_cast<jbyte*>(copy.data()));
  if (const void* key = key_of(env, function)) queue_output(key, std::move(copy));
}

// Every store answers empty: a search finds nothing, an enumeration ends at once.
JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_emptyStore0(JNIEnv*, jclass) {
  on<QUMEN_FindCert>([](context_t c, find_param_t*, find_result_t* result) {
    if (!context_live(c)) return kBadContext;
    result->num = 0;
    result->certs = nullptr;
    return 0;
  });
  auto end = [](context_t c) { return context_live(c) ? kEndOfStore : kBadContext; };
  on<QUMEN_EnumStoreObjects>(
      [end](context_t c, void*, strhandle_t*, mem_blk_t*, int32_t) { return end(c); });
  on<QUMEN_EnumStoreObjectsEx>([end](context_t c, void*, string_t, string_t, strhandle_t*,
                                     mem_blk_t*, int32_t) { return end(c); });
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_calls0(JNIEnv* env, jclass) {
  std::vector<std::string> names = call_names();
  for (auto& n : names) n = unprefixed(n);
  return strings(env, names);
}

// The outstanding blocks as pairs of texts: function, size in bytes.
JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_blocks0(JNIEnv* env, jclass) {
  std::vector<std::string> pairs;
  for (const Outstanding& b : outstanding_blocks()) {
    pairs.push_back(unprefixed(b.function));
    pairs.push_back(std::to_string(b.size));
  }
  return strings(env, pairs);
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_releaseErrors0(JNIEnv* env, jclass) {
  return strings(env, release_errors());
}

JNIEXPORT jint JNICALL Java_tarvexjni_standin_StandIn_openHandles0(JNIEnv*, jclass) {
  return jint(open_handles());
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_reset0(JNIEnv*, jclass) {
  reset();
  ledger_forgive();
}

}  // extern "C"
