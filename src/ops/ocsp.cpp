// OCSP: build a request, obtain a response from a responder at a URL, sign a response as a
// responder, verify a response into a certificate status.
#include "../records/ocsp.h"

#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspCreateRequest(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject request) {
  return call<QUMEN_OcspCreateRequest>(env, cls, context, OcspRequestParam{param}, BlockIn{input},
                                       BlockOut{request});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspUrlObtainResponse(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring url, jobject request,
    jobject response) {
  return call<QUMEN_OcspUrlObtainResponse>(env, cls, context, OcspRequestParam{param}, Text{url},
                                           BlockIn{request}, BlockOut{response});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspSignResponse(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject response) {
  return call<QUMEN_OcspSignResponse>(env, cls, context, OcspResponseParam{param}, BlockIn{input},
                                      BlockOut{response});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspVerifyResponse(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject response, jobject result) {
  return call<QUMEN_OcspVerifyResponse>(env, cls, context, OcspVerifyParam{param},
                                        BlockIn{response}, OcspVerifyResult{result});
}

}  // extern "C"
