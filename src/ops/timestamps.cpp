// Time stamps: requests for the signatures of CMS and PKCS#7 messages, responses signed as a
// time-stamp authority, verification of responses and of the stamps in a message, and stamping
// through a time-stamp authority at a URL, in one call or in stages. The URL and file names go to
// the library as the caller gave them (null for a null or empty string); the option words of the
// parameter records are zeroed after the call.
#include <jni.h>

#include "../core/frame.h"
#include "../records/tsp.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkRequestFromCmsMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject out) {
  return call<QUMEN_TspBlkRequestFromCmsMem>(env, cls, self, TspRequestParam{param}, BlockIn{in},
                                             BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspRequestFromPkcs7(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject out) {
  return call<QUMEN_TspRequestFromPkcs7>(env, cls, self, TspRequestParam{param}, BlockIn{in},
                                         BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkRequestFromCmsFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jobject out) {
  return call<QUMEN_TspBlkRequestFromCmsFile>(env, cls, self, TspRequestParam{param}, Text{in},
                                              BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspSignResponse(JNIEnv* env, jclass cls,
                                                                       jobject self, jobject param,
                                                                       jobject in, jobject out) {
  return call<QUMEN_TspSignResponse>(env, cls, self, TspResponseParam{param}, BlockIn{in},
                                     BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyResponse(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jobject in,
                                                                         jobject result) {
  return call<QUMEN_TspVerifyResponse>(env, cls, self, TspVerifyParam{param}, BlockIn{in},
                                       TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkVerifyCmsMem(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject in,
                                                                          jobject result) {
  return call<QUMEN_TspBlkVerifyCmsMem>(env, cls, self, TspVerifyParam{param}, BlockIn{in},
                                        TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyPkcs7Mem(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jobject in,
                                                                         jobject result) {
  return call<QUMEN_TspVerifyPkcs7Mem>(env, cls, self, TspVerifyParam{param}, BlockIn{in},
                                       TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkVerifyCmsFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jobject result) {
  return call<QUMEN_TspBlkVerifyCmsFile>(env, cls, self, TspVerifyParam{param}, Text{in},
                                         TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jobject result) {
  return call<QUMEN_TspStrVerifyCmsFile>(env, cls, self, TspVerifyParam{param}, Text{in},
                                         TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyPkcs7File(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jstring in,
                                                                          jobject result) {
  return call<QUMEN_TspVerifyPkcs7File>(env, cls, self, TspVerifyParam{param}, Text{in},
                                        TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkUrlStampCmsMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject in, jobject out) {
  return call<QUMEN_TspBlkUrlStampCmsMem>(env, cls, self, TspRequestParam{param}, Text{url},
                                          BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspUrlStampPkcs7Mem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject in, jobject out) {
  return call<QUMEN_TspUrlStampPkcs7Mem>(env, cls, self, TspRequestParam{param}, Text{url},
                                         BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkUrlStampCmsFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jstring in, jstring out) {
  return call<QUMEN_TspBlkUrlStampCmsFile>(env, cls, self, TspRequestParam{param}, Text{url},
                                           Text{in}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jstring in, jstring out) {
  return call<QUMEN_TspStrUrlStampCmsFile>(env, cls, self, TspRequestParam{param}, Text{url},
                                           Text{in}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspUrlStampPkcs7File(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jstring in, jstring out) {
  return call<QUMEN_TspUrlStampPkcs7File>(env, cls, self, TspRequestParam{param}, Text{url},
                                          Text{in}, Text{out});
}

// Streamed stamping and verification: the handle rules are the frame's.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsInitMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject in, jobject h) {
  return call<QUMEN_TspStrUrlStampCmsInitMem>(env, cls, self, TspRequestParam{param}, Text{url},
                                              BlockIn{in}, HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject h, jobject in,
    jobject out) {
  return call<QUMEN_TspStrUrlStampCmsUpdateMem>(env, cls, self, TspRequestParam{param}, Text{url},
                                                HandleUpdate{h}, BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject h, jobject out) {
  return call<QUMEN_TspStrUrlStampCmsFinalMem>(env, cls, self, TspRequestParam{param}, Text{url},
                                               HandleFinal{h}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsInitMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject h) {
  return call<QUMEN_TspStrVerifyCmsInitMem>(env, cls, self, TspVerifyParam{param}, BlockIn{in},
                                            HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in) {
  return call<QUMEN_TspStrVerifyCmsUpdateMem>(env, cls, self, TspVerifyParam{param},
                                              HandleUpdate{h}, BlockIn{in});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject result) {
  return call<QUMEN_TspStrVerifyCmsFinalMem>(env, cls, self, TspVerifyParam{param}, HandleFinal{h},
                                             TspVerifyResult{result});
}

}  // extern "C"
