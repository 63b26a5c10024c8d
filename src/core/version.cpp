// The bridge's version, which the Java loader asks right after loading it and compares with its
// own: a bridge of another build is refused before any method is used. Registered on the
// loader's class rather than exported, so that the library exports only LocalIface's methods.
#include <jni.h>

#include "exceptions.h"
#include "version.h"

namespace tvj {
namespace {

jstring JNICALL bridge_version(JNIEnv* env, jclass) { return env->NewStringUTF(TVJ_VERSION); }

}  // namespace

void register_version(JavaVM* vm) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return;
  // Looked up through the class loader that loads the bridge: the jar's own.
  LocalRef<jclass> loader(env, env->FindClass("tarvexjni/internal/NativeLoader"));
  if (!loader) {  // a host without the jar's loader: nobody to answer
    env->ExceptionClear();
    return;
  }
  JNINativeMethod method{const_cast<char*>("bridgeVersion0"),
                         const_cast<char*>("()Ljava/lang/String;"),
                         reinterpret_cast<void*>(&bridge_version)};
  if (env->RegisterNatives(loader.get(), &method, 1) != JNI_OK) env->ExceptionClear();
}

}  // namespace tvj
