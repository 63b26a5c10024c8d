// Hashing and one-shot signing, from memory blocks (Mem) or from files named by strings (File).
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1HashMem(JNIEnv* env, jclass cls,
                                                               jobject context, jobject data,
                                                               jobject hash) {
  return call<QUMEN_HashMem>(env, cls, context, BlockIn{data}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1HashFile(JNIEnv* env, jclass cls,
                                                                jobject context, jstring dataFile,
                                                                jobject hash) {
  return call<QUMEN_HashFile>(env, cls, context, Text{dataFile}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1BlkHashMem(JNIEnv* env, jclass cls,
                                                                  jobject context, jstring text,
                                                                  jobject data, jobject hash) {
  return call<QUMEN_BlkHashMem>(env, cls, context, Text{text}, BlockIn{data}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1BlkHashFile(JNIEnv* env, jclass cls,
                                                                   jobject context, jstring text,
                                                                   jstring dataFile, jobject hash) {
  return call<QUMEN_BlkHashFile>(env, cls, context, Text{text}, Text{dataFile}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignMem(JNIEnv* env, jclass cls,
                                                               jobject context, jobject param,
                                                               jobject input, jobject secondInput,
                                                               jobject signed_) {
  return call<QUMEN_SignMem>(env, cls, context, SignParam{param}, BlockIn{input},
                             BlockIn{secondInput}, BlockOut{signed_});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignFile(JNIEnv* env, jclass cls,
                                                                jobject context, jobject param,
                                                                jstring inputFile,
                                                                jstring secondInputFile,
                                                                jstring outputFile) {
  return call<QUMEN_SignFile>(env, cls, context, SignParam{param}, Text{inputFile},
                              Text{secondInputFile}, Text{outputFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyMem(JNIEnv* env, jclass cls,
                                                                 jobject context, jobject param,
                                                                 jobject signed_,
                                                                 jobject secondInput,
                                                                 jobject content, jobject result) {
  return call<QUMEN_VerifyMem>(env, cls, context, VerifyParam{param}, BlockIn{signed_},
                               BlockIn{secondInput}, BlockOut{content}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring secondInputFile, jstring contentFile, jobject result) {
  return call<QUMEN_VerifyFile>(env, cls, context, VerifyParam{param}, Text{signedFile},
                                Text{secondInputFile}, Text{contentFile}, VerifyResult{result});
}

// The first parameter is never read: the native library receives null in its place.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignHashMem(JNIEnv* env, jclass cls,
                                                                   jobject context, jobject,
                                                                   jobject hash,
                                                                   jobject signature) {
  return call<QUMEN_SignHashMem>(env, cls, context, Null<sign_param_t>{}, BlockIn{hash},
                                 BlockOut{signature});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyHashMem(JNIEnv* env, jclass cls,
                                                                     jobject context, jobject,
                                                                     jobject input,
                                                                     jobject secondInput,
                                                                     jobject thirdInput) {
  return call<QUMEN_VerifyHashMem>(env, cls, context, Null<verify_param_t>{}, BlockIn{input},
                                   BlockIn{secondInput}, BlockIn{thirdInput});
}

}  // extern "C"
