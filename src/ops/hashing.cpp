// Hashing and one-shot signing, from memory blocks (Mem) or from files named by strings (File).
#include <jni.h>

#include "../core/frame.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1HashMem(JNIEnv* env, jclass cls,
                                                               jobject self, jobject data,
                                                               jobject hash) {
  return call<QUMEN_HashMem>(env, cls, self, BlockIn{data}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1HashFile(JNIEnv* env, jclass cls,
                                                                jobject self, jstring name,
                                                                jobject hash) {
  return call<QUMEN_HashFile>(env, cls, self, Text{name}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1BlkHashMem(JNIEnv* env, jclass cls,
                                                                  jobject self, jstring text,
                                                                  jobject data, jobject hash) {
  return call<QUMEN_BlkHashMem>(env, cls, self, Text{text}, BlockIn{data}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1BlkHashFile(JNIEnv* env, jclass cls,
                                                                   jobject self, jstring text,
                                                                   jstring name, jobject hash) {
  return call<QUMEN_BlkHashFile>(env, cls, self, Text{text}, Text{name}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignMem(JNIEnv* env, jclass cls,
                                                               jobject self, jobject param,
                                                               jobject in1, jobject in2,
                                                               jobject result) {
  return call<QUMEN_SignMem>(env, cls, self, SignParam{param}, BlockIn{in1}, BlockIn{in2},
                             BlockOut{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignFile(JNIEnv* env, jclass cls,
                                                                jobject self, jobject param,
                                                                jstring name1, jstring name2,
                                                                jstring name3) {
  return call<QUMEN_SignFile>(env, cls, self, SignParam{param}, Text{name1}, Text{name2},
                              Text{name3});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyMem(JNIEnv* env, jclass cls,
                                                                 jobject self, jobject param,
                                                                 jobject in1, jobject in2,
                                                                 jobject out, jobject result) {
  return call<QUMEN_VerifyMem>(env, cls, self, VerifyParam{param}, BlockIn{in1}, BlockIn{in2},
                               BlockOut{out}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyFile(JNIEnv* env, jclass cls,
                                                                  jobject self, jobject param,
                                                                  jstring name1, jstring name2,
                                                                  jstring name3, jobject result) {
  return call<QUMEN_VerifyFile>(env, cls, self, VerifyParam{param}, Text{name1}, Text{name2},
                                Text{name3}, VerifyResult{result});
}

// The first parameter is never read: the native library receives null in its place.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignHashMem(JNIEnv* env, jclass cls,
                                                                   jobject self, jobject,
                                                                   jobject in, jobject result) {
  return call<QUMEN_SignHashMem>(env, cls, self, Null<sign_param_t>{}, BlockIn{in},
                                 BlockOut{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyHashMem(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject,
                                                                     jobject in1, jobject in2,
                                                                     jobject in3) {
  return call<QUMEN_VerifyHashMem>(env, cls, self, Null<verify_param_t>{}, BlockIn{in1},
                                   BlockIn{in2}, BlockIn{in3});
}

}  // extern "C"
