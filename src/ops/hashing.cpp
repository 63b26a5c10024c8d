// Hashing and one-shot signing.
#include <jni.h>

#include "../core/frame.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1HashMem(JNIEnv* env, jclass cls, jobject self,
                                                               jobject data, jobject hash) {
  return call<QUMEN_HashMem>(env, cls, self, BlockIn{data}, BlockOut{hash});
}

// The first parameter is never read: the native library receives null in its place.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyHashMem(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject,
                                                                     jobject in1, jobject in2,
                                                                     jobject in3) {
  return call<QUMEN_VerifyHashMem>(env, cls, self, Null<verify_param_t>{}, BlockIn{in1},
                                   BlockIn{in2}, BlockIn{in3});
}

}  // extern "C"
