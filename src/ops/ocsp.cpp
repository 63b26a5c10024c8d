// OCSP: build a request, obtain a response from a responder at a URL, sign a response as a
// responder, verify a response into a certificate status.
#include "../records/ocsp.h"

#include <jni.h>

#include "../core/frame.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspCreateRequest(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jobject in,
                                                                         jobject out) {
  return call<QUMEN_OcspCreateRequest>(env, cls, self, OcspRequestParam{param}, BlockIn{in},
                                       BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspUrlObtainResponse(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring url, jobject in, jobject out) {
  return call<QUMEN_OcspUrlObtainResponse>(env, cls, self, OcspRequestParam{param}, Text{url},
                                           BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspSignResponse(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject out) {
  return call<QUMEN_OcspSignResponse>(env, cls, self, OcspResponseParam{param}, BlockIn{in},
                                      BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1OcspVerifyResponse(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject in,
                                                                          jobject result) {
  return call<QUMEN_OcspVerifyResponse>(env, cls, self, OcspVerifyParam{param}, BlockIn{in},
                                        OcspVerifyResult{result});
}

}  // extern "C"
