// PKCS#7 envelope operations: encrypt and decrypt, read signatures, recipients and structure,
// attach and detach signatures, and the combined operations. Each Mem form has a File form that
// takes file names in place of blocks; the library reads and writes the files itself.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/pkcs7.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptMem(JNIEnv* env, jclass cls,
                                                                  jobject context, jobject param,
                                                                  jobject content,
                                                                  jobject encrypted) {
  return call<QUMEN_EncryptMem>(env, cls, context, EncryptParam{param}, BlockIn{content},
                                BlockOut{encrypted});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptFile(JNIEnv* env, jclass cls,
                                                                   jobject context, jobject param,
                                                                   jstring contentFile,
                                                                   jstring encryptedFile) {
  return call<QUMEN_EncryptFile>(env, cls, context, EncryptParam{param}, Text{contentFile},
                                 Text{encryptedFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptMem(JNIEnv* env, jclass cls,
                                                                  jobject context, jobject param,
                                                                  jobject encrypted,
                                                                  jobject content, jobject result) {
  return call<QUMEN_DecryptMem>(env, cls, context, DecryptParam{param}, BlockIn{encrypted},
                                BlockOut{content}, DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptFile(JNIEnv* env, jclass cls,
                                                                   jobject context, jobject param,
                                                                   jstring encryptedFile,
                                                                   jstring contentFile,
                                                                   jobject result) {
  return call<QUMEN_DecryptFile>(env, cls, context, DecryptParam{param}, Text{encryptedFile},
                                 Text{contentFile}, DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignedInfoMem(JNIEnv* env, jclass cls,
                                                                     jobject context,
                                                                     jobject signed_,
                                                                     jobject result) {
  return call<QUMEN_SignedInfoMem>(env, cls, context, BlockIn{signed_}, SignedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignedInfoFile(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jstring signedFile,
                                                                      jobject result) {
  return call<QUMEN_SignedInfoFile>(env, cls, context, Text{signedFile}, SignedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptedInfoMem(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jobject encrypted,
                                                                        jobject result) {
  return call<QUMEN_EncryptedInfoMem>(env, cls, context, BlockIn{encrypted},
                                      EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EncryptedInfoFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jstring encryptedFile,
                                                                         jobject result) {
  return call<QUMEN_EncryptedInfoFile>(env, cls, context, Text{encryptedFile},
                                       EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AttachSignMem(JNIEnv* env, jclass cls,
                                                                     jobject context, jobject input,
                                                                     jobject secondInput,
                                                                     jobject signed_) {
  return call<QUMEN_AttachSignMem>(env, cls, context, BlockIn{input}, BlockIn{secondInput},
                                   BlockOut{signed_});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AttachSignFile(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jstring inputFile,
                                                                      jstring secondInputFile,
                                                                      jstring signedFile) {
  return call<QUMEN_AttachSignFile>(env, cls, context, Text{inputFile}, Text{secondInputFile},
                                    Text{signedFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DetachSignMem(JNIEnv* env, jclass cls,
                                                                     jobject context,
                                                                     jobject signed_,
                                                                     jobject output,
                                                                     jobject secondOutput) {
  return call<QUMEN_DetachSignMem>(env, cls, context, BlockIn{signed_}, BlockOut{output},
                                   BlockOut{secondOutput});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DetachSignFile(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jstring signedFile,
                                                                      jstring outputFile,
                                                                      jstring secondOutputFile) {
  return call<QUMEN_DetachSignFile>(env, cls, context, Text{signedFile}, Text{outputFile},
                                    Text{secondOutputFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyAndSignMem(
    JNIEnv* env, jclass cls, jobject context, jobject verifyParam, jobject signParam, jobject input,
    jobject secondInput, jobject output, jobject result) {
  return call<QUMEN_VerifyAndSignMem>(env, cls, context, VerifyParam{verifyParam},
                                      SignParam{signParam}, BlockIn{input}, BlockIn{secondInput},
                                      BlockOut{output}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1VerifyAndSignFile(
    JNIEnv* env, jclass cls, jobject context, jobject verifyParam, jobject signParam,
    jstring inputFile, jstring secondInputFile, jstring outputFile, jobject result) {
  return call<QUMEN_VerifyAndSignFile>(env, cls, context, VerifyParam{verifyParam},
                                       SignParam{signParam}, Text{inputFile}, Text{secondInputFile},
                                       Text{outputFile}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignAndEncryptMem(
    JNIEnv* env, jclass cls, jobject context, jobject signParam, jobject encryptParam,
    jobject content, jobject output) {
  return call<QUMEN_SignAndEncryptMem>(env, cls, context, SignParam{signParam},
                                       EncryptParam{encryptParam}, BlockIn{content},
                                       BlockOut{output});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1SignAndEncryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject signParam, jobject encryptParam,
    jstring contentFile, jstring outputFile) {
  return call<QUMEN_SignAndEncryptFile>(env, cls, context, SignParam{signParam},
                                        EncryptParam{encryptParam}, Text{contentFile},
                                        Text{outputFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptAndVerifyMem(
    JNIEnv* env, jclass cls, jobject context, jobject decryptParam, jobject verifyParam,
    jobject input, jobject content, jobject result, jobject verifyResult) {
  return call<QUMEN_DecryptAndVerifyMem>(
      env, cls, context, DecryptParam{decryptParam}, VerifyParam{verifyParam}, BlockIn{input},
      BlockOut{content}, DecryptResult{result}, VerifyResult{verifyResult});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1DecryptAndVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject decryptParam, jobject verifyParam,
    jstring inputFile, jstring contentFile, jobject result, jobject verifyResult) {
  return call<QUMEN_DecryptAndVerifyFile>(
      env, cls, context, DecryptParam{decryptParam}, VerifyParam{verifyParam}, Text{inputFile},
      Text{contentFile}, DecryptResult{result}, VerifyResult{verifyResult});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetPkcs7InfoMem(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject message,
                                                                       jobject info) {
  return call<QUMEN_GetPkcs7InfoMem>(env, cls, context, BlockIn{message}, Pkcs7Info{info});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1GetPkcs7InfoFile(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jstring messageFile,
                                                                        jobject info) {
  return call<QUMEN_GetPkcs7InfoFile>(env, cls, context, Text{messageFile}, Pkcs7Info{info});
}

}  // extern "C"
