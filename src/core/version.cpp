// The bridge's version, which the Java loader asks right after loading it and compares with its
// own: a bridge of another build is refused before any method is used, and before it has done
// anything to the process (the loader activates an accepted bridge with a second call).
// Registered on the loader's class rather than exported, so that the library exports only
// LocalIface's methods and JNI_OnLoad.
#include "version.h"

#include <jni.h>

#include "exceptions.h"
#include "local_refs.h"

namespace tvj {
namespace {

jstring JNICALL bridge_version(JNIEnv* env, jclass) { return env->NewStringUTF(TVJ_VERSION); }

}  // namespace

bool register_handshake(JNIEnv* env, Activation activate) {
  // Looked up through the class loader that loads the bridge: the jar's own.
  LocalRef<jclass> loader(env, env->FindClass("tarvexjni/internal/NativeLoader"));
  if (!loader) {  // a host without the jar's loader: nobody to answer
    env->ExceptionClear();
    return false;
  }
  JNINativeMethod methods[] = {
      {const_cast<char*>("bridgeVersion0"), const_cast<char*>("()Ljava/lang/String;"),
       reinterpret_cast<void*>(&bridge_version)},
      {const_cast<char*>("activate0"), const_cast<char*>("(Ljava/lang/String;[C)V"),
       reinterpret_cast<void*>(activate)},
  };
  if (env->RegisterNatives(loader.get(), methods, 2) == JNI_OK) return true;
  // A loader of another build, without these methods: it cannot activate the bridge either,
  // and its own handshake refuses the bridge.
  env->ExceptionClear();
  return true;
}

}  // namespace tvj
