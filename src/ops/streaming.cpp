// Streaming: hash, sign, verify, encrypt and decrypt data that arrives in pieces. An Init stage
// opens a stream and stores its handle in the caller's handle object, Update stages feed it, a
// Final stage ends it; the handle rules are the frame's (HandleInit, HandleUpdate, HandleFinal).
// Each family also has a File form, a one-shot call over files. The decryption stream exchanges
// one int (its state word) with Java through an int[] of one element.
//
// The Final stages of hashing, signing and decryption have no clean-up of their own in the
// original design; zeroing their records after the call, as the frame does, cannot be observed.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashInitMem(JNIEnv* env, jclass cls,
                                                                      jobject context, jstring text,
                                                                      jobject stream) {
  return call<QUMEN_StrHashInitMem>(env, cls, context, Text{text}, HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashUpdateMem(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jobject stream,
                                                                        jobject data) {
  return call<QUMEN_StrHashUpdateMem>(env, cls, context, HandleUpdate{stream}, BlockIn{data});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashFinalMem(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject stream,
                                                                       jobject hash) {
  return call<QUMEN_StrHashFinalMem>(env, cls, context, HandleFinal{stream}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashFile(JNIEnv* env, jclass cls,
                                                                   jobject context, jstring text,
                                                                   jstring dataFile, jobject hash) {
  return call<QUMEN_StrHashFile>(env, cls, context, Text{text}, Text{dataFile}, BlockOut{hash});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignInitMem(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jobject param, jobject input,
                                                                      jobject stream) {
  return call<QUMEN_StrSignInitMem>(env, cls, context, SignParam{param}, BlockIn{input},
                                    HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content) {
  return call<QUMEN_StrSignUpdateMem>(env, cls, context, SignParam{param}, HandleUpdate{stream},
                                      BlockIn{content});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signed_) {
  return call<QUMEN_StrSignFinalMem>(env, cls, context, SignParam{param}, HandleFinal{stream},
                                     BlockOut{signed_});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignFile(JNIEnv* env, jclass cls,
                                                                   jobject context, jobject param,
                                                                   jstring inputFile,
                                                                   jstring secondInputFile,
                                                                   jstring outputFile) {
  return call<QUMEN_StrSignFile>(env, cls, context, SignParam{param}, Text{inputFile},
                                 Text{secondInputFile}, Text{outputFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_StrVerifyInitMem>(env, cls, context, VerifyParam{param}, BlockIn{input},
                                      HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject input) {
  return call<QUMEN_StrVerifyUpdateMem>(env, cls, context, VerifyParam{param}, HandleUpdate{stream},
                                        BlockIn{input});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject result) {
  return call<QUMEN_StrVerifyFinalMem>(env, cls, context, VerifyParam{param}, HandleFinal{stream},
                                       BlockOut{content}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring secondInputFile, jstring contentFile, jobject result) {
  return call<QUMEN_StrVerifyFile>(env, cls, context, VerifyParam{param}, Text{signedFile},
                                   Text{secondInputFile}, Text{contentFile}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptInitMem(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jobject stream) {
  return call<QUMEN_StrEncryptInitMem>(env, cls, context, EncryptParam{param}, HandleInit{stream});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject encrypted) {
  return call<QUMEN_StrEncryptUpdateMem>(env, cls, context, EncryptParam{param},
                                         HandleUpdate{stream}, BlockIn{content},
                                         BlockOut{encrypted});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted) {
  return call<QUMEN_StrEncryptFinalMem>(env, cls, context, EncryptParam{param}, HandleFinal{stream},
                                        BlockOut{encrypted});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptFile(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jobject param,
                                                                      jstring contentFile,
                                                                      jstring encryptedFile) {
  return call<QUMEN_StrEncryptFile>(env, cls, context, EncryptParam{param}, Text{contentFile},
                                    Text{encryptedFile});
}

// Init only returns the state word: st[0] receives what the library left in it (0 if nothing),
// after the handle rule, whatever the status.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encrypted, jintArray state,
    jobject stream) {
  return call<QUMEN_StrDecryptInitMem>(env, cls, context, DecryptParam{param}, BlockIn{encrypted},
                                       IntOut{state}, HandleInit{stream});
}

// Update reads the state word after the input block and writes it back after the handle rule.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted,
    jintArray state, jobject content) {
  return call<QUMEN_StrDecryptUpdateMem>(env, cls, context, DecryptParam{param},
                                         HandleUpdate{stream}, BlockIn{encrypted}, IntInOut{state},
                                         BlockOut{content});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject result) {
  return call<QUMEN_StrDecryptFinalMem>(env, cls, context, DecryptParam{param}, HandleFinal{stream},
                                        DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring encryptedFile,
    jstring contentFile, jobject result) {
  return call<QUMEN_StrDecryptFile>(env, cls, context, DecryptParam{param}, Text{encryptedFile},
                                    Text{contentFile}, DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptedInfoMem(JNIEnv* env, jclass cls,
                                                                           jobject context,
                                                                           jobject encrypted,
                                                                           jobject result) {
  return call<QUMEN_StrEncryptedInfoMem>(env, cls, context, BlockIn{encrypted},
                                         EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptedInfoFile(JNIEnv* env, jclass cls,
                                                                            jobject context,
                                                                            jstring encryptedFile,
                                                                            jobject result) {
  return call<QUMEN_StrEncryptedInfoFile>(env, cls, context, Text{encryptedFile},
                                          EncryptedInfoResult{result});
}

}  // extern "C"
