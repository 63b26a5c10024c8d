// Library load and the four lifecycle methods.
#include <jni.h>

#include <cstdlib>

#include "frame.h"
#include "guard.h"
#include "handles.h"
#include "pin.h"
#include "version.h"

namespace tvj {
namespace {

using LocalParam = RecordIn<local_param_t, jobject2local_param_t, local_param_tFree>;

// The one setting the bridge reads, once: the budget for scratch memory kept between calls
// (core/scratch.h). The system property wins over the environment variable.
void read_scratch_budget(JavaVM* vm) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return;
  size_t bytes = kDefaultRetain;
  bool found = false;
  LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
  jmethodID get = system ? env->GetStaticMethodID(system.get(), "getProperty",
                                                  "(Ljava/lang/String;)Ljava/lang/String;")
                         : nullptr;
  LocalRef<jstring> key(env, get ? env->NewStringUTF("tarvexjni.scratch.retain") : nullptr);
  LocalRef<jstring> value;
  if (key) value = LocalRef<jstring>(env, static_cast<jstring>(env->CallStaticObjectMethod(
                                              system.get(), get, key.get())));
  if (env->ExceptionCheck()) env->ExceptionClear();  // no property: as if unset
  if (value) {
    found = true;
    if (const char* text = env->GetStringUTFChars(value.get(), nullptr)) {
      parse_scratch_size(text, &bytes);
      env->ReleaseStringUTFChars(value.get(), text);
    } else {
      env->ExceptionClear();
    }
  }
  if (!found) parse_scratch_size(std::getenv("TARVEXJNI_SCRATCH_RETAIN"), &bytes);
  set_scratch_budget(bytes);
}

}  // namespace
}  // namespace tvj

using namespace tvj;

extern "C" {

// Loading succeeds whether or not pinning did.
JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  pin_library();
  install_fault_guard();
  read_scratch_budget(vm);
  register_version(vm);
  return JNI_VERSION_1_8;
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1Initialize(JNIEnv* env, jclass cls,
                                                                  jobject self, jstring name,
                                                                  jint value) {
  return call<QUMEN_Initialize>(env, cls, self, Text{name}, Int{value}, NewContext{});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1InitializeEx(JNIEnv* env, jclass cls,
                                                                    jobject self, jint value,
                                                                    jobject param) {
  return call<QUMEN_InitializeEx>(env, cls, self, Int{value}, LocalParam{param}, NewContext{});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1InitMinimal(JNIEnv* env, jclass cls,
                                                                   jobject self) {
  return call<QUMEN_InitMinimal>(env, cls, self, NewContext{});
}

// self's handle keeps the ended context's value.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1Uninitialize(JNIEnv* env, jclass cls,
                                                                    jobject self) {
  return call<QUMEN_Uninitialize>(env, cls, self);
}

}  // extern "C"
