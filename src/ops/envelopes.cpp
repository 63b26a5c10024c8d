// PKCS#7 envelope operations: encrypt and decrypt, read signatures, recipients and structure,
// attach and detach signatures, and the combined operations. Each Mem form has a File form that
// takes file names in place of blocks; the library reads and writes the files itself.
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/pkcs7.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptMem(JNIEnv* env, jclass cls,
                                                                  jobject self, jobject param,
                                                                  jobject in, jobject out) {
  return call<QUMEN_EncryptMem>(env, cls, self, EncryptParam{param}, BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptFile(JNIEnv* env, jclass cls,
                                                                   jobject self, jobject param,
                                                                   jstring in, jstring out) {
  return call<QUMEN_EncryptFile>(env, cls, self, EncryptParam{param}, Text{in}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptMem(JNIEnv* env, jclass cls,
                                                                  jobject self, jobject param,
                                                                  jobject in, jobject out,
                                                                  jobject result) {
  return call<QUMEN_DecryptMem>(env, cls, self, DecryptParam{param}, BlockIn{in}, BlockOut{out},
                                DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptFile(JNIEnv* env, jclass cls,
                                                                   jobject self, jobject param,
                                                                   jstring in, jstring out,
                                                                   jobject result) {
  return call<QUMEN_DecryptFile>(env, cls, self, DecryptParam{param}, Text{in}, Text{out},
                                 DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignedInfoMem(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject in,
                                                                     jobject result) {
  return call<QUMEN_SignedInfoMem>(env, cls, self, BlockIn{in}, SignedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignedInfoFile(JNIEnv* env, jclass cls,
                                                                      jobject self, jstring in,
                                                                      jobject result) {
  return call<QUMEN_SignedInfoFile>(env, cls, self, Text{in}, SignedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptedInfoMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject in,
                                                                        jobject result) {
  return call<QUMEN_EncryptedInfoMem>(env, cls, self, BlockIn{in}, EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptedInfoFile(JNIEnv* env, jclass cls,
                                                                         jobject self, jstring in,
                                                                         jobject result) {
  return call<QUMEN_EncryptedInfoFile>(env, cls, self, Text{in}, EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AttachSignMem(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject in,
                                                                     jobject in2, jobject out) {
  return call<QUMEN_AttachSignMem>(env, cls, self, BlockIn{in}, BlockIn{in2}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AttachSignFile(JNIEnv* env, jclass cls,
                                                                      jobject self, jstring in,
                                                                      jstring in2, jstring out) {
  return call<QUMEN_AttachSignFile>(env, cls, self, Text{in}, Text{in2}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DetachSignMem(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject in,
                                                                     jobject out, jobject out2) {
  return call<QUMEN_DetachSignMem>(env, cls, self, BlockIn{in}, BlockOut{out}, BlockOut{out2});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DetachSignFile(JNIEnv* env, jclass cls,
                                                                      jobject self, jstring in,
                                                                      jstring out, jstring out2) {
  return call<QUMEN_DetachSignFile>(env, cls, self, Text{in}, Text{out}, Text{out2});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyAndSignMem(
    JNIEnv* env, jclass cls, jobject self, jobject verify, jobject sign, jobject in, jobject in2,
    jobject out, jobject result) {
  return call<QUMEN_VerifyAndSignMem>(env, cls, self, VerifyParam{verify}, SignParam{sign},
                                      BlockIn{in}, BlockIn{in2}, BlockOut{out},
                                      VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyAndSignFile(
    JNIEnv* env, jclass cls, jobject self, jobject verify, jobject sign, jstring in, jstring in2,
    jstring out, jobject result) {
  return call<QUMEN_VerifyAndSignFile>(env, cls, self, VerifyParam{verify}, SignParam{sign},
                                       Text{in}, Text{in2}, Text{out}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignAndEncryptMem(JNIEnv* env, jclass cls,
                                                                         jobject self, jobject sign,
                                                                         jobject encrypt,
                                                                         jobject in, jobject out) {
  return call<QUMEN_SignAndEncryptMem>(env, cls, self, SignParam{sign}, EncryptParam{encrypt},
                                       BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignAndEncryptFile(
    JNIEnv* env, jclass cls, jobject self, jobject sign, jobject encrypt, jstring in, jstring out) {
  return call<QUMEN_SignAndEncryptFile>(env, cls, self, SignParam{sign}, EncryptParam{encrypt},
                                        Text{in}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptAndVerifyMem(
    JNIEnv* env, jclass cls, jobject self, jobject decrypt, jobject verify, jobject in, jobject out,
    jobject result, jobject verify_result) {
  return call<QUMEN_DecryptAndVerifyMem>(env, cls, self, DecryptParam{decrypt}, VerifyParam{verify},
                                         BlockIn{in}, BlockOut{out}, DecryptResult{result},
                                         VerifyResult{verify_result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptAndVerifyFile(
    JNIEnv* env, jclass cls, jobject self, jobject decrypt, jobject verify, jstring in, jstring out,
    jobject result, jobject verify_result) {
  return call<QUMEN_DecryptAndVerifyFile>(env, cls, self, DecryptParam{decrypt},
                                          VerifyParam{verify}, Text{in}, Text{out},
                                          DecryptResult{result}, VerifyResult{verify_result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetPkcs7InfoMem(JNIEnv* env, jclass cls,
                                                                       jobject self, jobject in,
                                                                       jobject info) {
  return call<QUMEN_GetPkcs7InfoMem>(env, cls, self, BlockIn{in}, Pkcs7Info{info});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetPkcs7InfoFile(JNIEnv* env, jclass cls,
                                                                        jobject self, jstring in,
                                                                        jobject info) {
  return call<QUMEN_GetPkcs7InfoFile>(env, cls, self, Text{in}, Pkcs7Info{info});
}

}  // extern "C"
