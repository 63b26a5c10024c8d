// Certificate and CRL inspection: parse, verify, show and build certificates, CRLs and single
// extensions. A conversion out runs whatever the native status: a parse that failed still
// rewrites the caller's object from the (zero) record and releases whatever the library put in.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/certificate.h"
#include "../records/crl.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ParseCert(JNIEnv* env, jclass cls,
                                                                 jobject context, jobject encoded,
                                                                 jint flag, jobject cert) {
  return call<QUMEN_ParseCert>(env, cls, context, BlockIn{encoded}, Int{flag},
                               CertificateOut{cert});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyCert(JNIEnv* env, jclass cls,
                                                                  jobject context, jobject param,
                                                                  jobject encoded, jobject cert) {
  return call<QUMEN_VerifyCert>(env, cls, context, VerifyParam{param}, BlockIn{encoded},
                                CertificateOut{cert});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyCertificatePolicy(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encoded) {
  return call<QUMEN_VerifyCertificatePolicy>(env, cls, context, VerifyPolicyParam{param},
                                             BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ParseCrl(JNIEnv* env, jclass cls,
                                                                jobject context, jobject encoded,
                                                                jint flag, jobject crl) {
  return call<QUMEN_ParseCrl>(env, cls, context, BlockIn{encoded}, Int{flag}, CrlOut{crl});
}

// Its clean-up gives back the block before the parameters; neither release can be observed
// (both only clear records of the call's own memory), so the frame's order serves.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyCrlPolicy(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject param,
                                                                       jobject encoded) {
  return call<QUMEN_VerifyCrlPolicy>(env, cls, context, VerifyPolicyParam{param}, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ParseAltnameEx(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jobject encoded,
                                                                      jobject altname) {
  return call<QUMEN_ParseAltnameEx>(env, cls, context, BlockIn{encoded}, AltnameExOut{altname});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ParseBasicConstraintsEx(
    JNIEnv* env, jclass cls, jobject context, jobject encoded, jobject constraints) {
  return call<QUMEN_ParseBasicConstraintsEx>(env, cls, context, BlockIn{encoded},
                                             BasicConstraintsOut{constraints});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ParseKeyIdentifierEx(JNIEnv* env, jclass cls,
                                                                            jobject context,
                                                                            jobject encoded,
                                                                            jobject keyId) {
  return call<QUMEN_ParseKeyIdentifierEx>(env, cls, context, BlockIn{encoded}, BlockOut{keyId});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowCertificate(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject encoded) {
  return call<QUMEN_ShowCertificate>(env, cls, context, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowCrl(JNIEnv* env, jclass cls,
                                                               jobject context, jobject encoded) {
  return call<QUMEN_ShowCrl>(env, cls, context, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowCertificateEx(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jlong value,
                                                                         jobject encoded) {
  return call<QUMEN_ShowCertificateEx>(env, cls, context, Long{value}, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowCrlEx(JNIEnv* env, jclass cls,
                                                                 jobject context, jlong value,
                                                                 jobject encoded) {
  return call<QUMEN_ShowCrlEx>(env, cls, context, Long{value}, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowRequestEx(JNIEnv* env, jclass cls,
                                                                     jobject context, jlong value,
                                                                     jobject encoded) {
  return call<QUMEN_ShowRequestEx>(env, cls, context, Long{value}, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ShowRevocationEx(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jlong value,
                                                                        jobject encoded) {
  return call<QUMEN_ShowRevocationEx>(env, cls, context, Long{value}, BlockIn{encoded});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CreateXmlRequest(JNIEnv* env, jclass cls,
                                                                        jobject context, jint flag,
                                                                        jobject cert,
                                                                        jobject request) {
  return call<QUMEN_CreateXmlRequest>(env, cls, context, Int{flag}, CertificateIn{cert},
                                      BlockOut{request});
}

}  // extern "C"
