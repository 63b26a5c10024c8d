// Time stamps: requests for the signatures of CMS and PKCS#7 messages, responses signed as a
// time-stamp authority, verification of responses and of the stamps in a message, and stamping
// through a time-stamp authority at a URL, in one call or in stages. The URL and file names go to
// the library as the caller gave them (null for a null or empty string); the option words of the
// parameter records are zeroed after the call.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/tsp.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkRequestFromCmsMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject message, jobject request) {
  return call<QUMEN_TspBlkRequestFromCmsMem>(env, cls, context, TspRequestParam{param},
                                             BlockIn{message}, BlockOut{request});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspRequestFromPkcs7(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject message, jobject request) {
  return call<QUMEN_TspRequestFromPkcs7>(env, cls, context, TspRequestParam{param},
                                         BlockIn{message}, BlockOut{request});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkRequestFromCmsFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring messageFile, jobject request) {
  return call<QUMEN_TspBlkRequestFromCmsFile>(env, cls, context, TspRequestParam{param},
                                              Text{messageFile}, BlockOut{request});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspSignResponse(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject request, jobject response) {
  return call<QUMEN_TspSignResponse>(env, cls, context, TspResponseParam{param}, BlockIn{request},
                                     BlockOut{response});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyResponse(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject response, jobject result) {
  return call<QUMEN_TspVerifyResponse>(env, cls, context, TspVerifyParam{param}, BlockIn{response},
                                       TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkVerifyCmsMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject message, jobject result) {
  return call<QUMEN_TspBlkVerifyCmsMem>(env, cls, context, TspVerifyParam{param}, BlockIn{message},
                                        TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyPkcs7Mem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject message, jobject result) {
  return call<QUMEN_TspVerifyPkcs7Mem>(env, cls, context, TspVerifyParam{param}, BlockIn{message},
                                       TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkVerifyCmsFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring messageFile, jobject result) {
  return call<QUMEN_TspBlkVerifyCmsFile>(env, cls, context, TspVerifyParam{param},
                                         Text{messageFile}, TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring messageFile, jobject result) {
  return call<QUMEN_TspStrVerifyCmsFile>(env, cls, context, TspVerifyParam{param},
                                         Text{messageFile}, TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspVerifyPkcs7File(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring messageFile, jobject result) {
  return call<QUMEN_TspVerifyPkcs7File>(env, cls, context, TspVerifyParam{param}, Text{messageFile},
                                        TspVerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkUrlStampCmsMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject message,
    jobject stamped) {
  return call<QUMEN_TspBlkUrlStampCmsMem>(env, cls, context, TspRequestParam{param}, Text{url},
                                          BlockIn{message}, BlockOut{stamped});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspUrlStampPkcs7Mem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject message,
    jobject stamped) {
  return call<QUMEN_TspUrlStampPkcs7Mem>(env, cls, context, TspRequestParam{param}, Text{url},
                                         BlockIn{message}, BlockOut{stamped});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspBlkUrlStampCmsFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jstring messageFile,
    jstring stampedFile) {
  return call<QUMEN_TspBlkUrlStampCmsFile>(env, cls, context, TspRequestParam{param}, Text{url},
                                           Text{messageFile}, Text{stampedFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jstring messageFile,
    jstring stampedFile) {
  return call<QUMEN_TspStrUrlStampCmsFile>(env, cls, context, TspRequestParam{param}, Text{url},
                                           Text{messageFile}, Text{stampedFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspUrlStampPkcs7File(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jstring messageFile,
    jstring stampedFile) {
  return call<QUMEN_TspUrlStampPkcs7File>(env, cls, context, TspRequestParam{param}, Text{url},
                                          Text{messageFile}, Text{stampedFile});
}

// Streamed stamping and verification: the handle rules are the frame's.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject message,
    jobject stream) {
  return call<QUMEN_TspStrUrlStampCmsInitMem>(env, cls, context, TspRequestParam{param}, Text{url},
                                              BlockIn{message}, HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject stream,
    jobject message, jobject stamped) {
  return call<QUMEN_TspStrUrlStampCmsUpdateMem>(env, cls, context, TspRequestParam{param},
                                                Text{url}, HandleUpdate{stream}, BlockIn{message},
                                                BlockOut{stamped});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrUrlStampCmsFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject stream,
    jobject stamped) {
  return call<QUMEN_TspStrUrlStampCmsFinalMem>(env, cls, context, TspRequestParam{param}, Text{url},
                                               HandleFinal{stream}, BlockOut{stamped});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject message, jobject stream) {
  return call<QUMEN_TspStrVerifyCmsInitMem>(env, cls, context, TspVerifyParam{param},
                                            BlockIn{message}, HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject message) {
  return call<QUMEN_TspStrVerifyCmsUpdateMem>(env, cls, context, TspVerifyParam{param},
                                              HandleUpdate{stream}, BlockIn{message});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TspStrVerifyCmsFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject result) {
  return call<QUMEN_TspStrVerifyCmsFinalMem>(env, cls, context, TspVerifyParam{param},
                                             HandleFinal{stream}, TspVerifyResult{result});
}

}  // extern "C"
