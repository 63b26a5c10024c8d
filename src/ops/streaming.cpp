// Streaming: hash, sign, verify, encrypt and decrypt data that arrives in pieces. An Init stage
// opens a stream and stores its handle in the caller's handle object, Update stages feed it, a
// Final stage ends it; the handle rules are the frame's (HandleInit, HandleUpdate, HandleFinal).
// Each family also has a File form, a one-shot call over files. The decryption stream exchanges
// one int (its state word) with Java through an int[] of one element.
//
// The Final stages of hashing, signing and decryption have no clean-up of their own in the
// original design; zeroing their records after the call, as the frame does, cannot be observed.
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashInitMem(JNIEnv* env, jclass cls,
                                                                      jobject self, jstring a,
                                                                      jobject h) {
  return call<QUMEN_StrHashInitMem>(env, cls, self, Text{a}, HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashUpdateMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject h,
                                                                        jobject in) {
  return call<QUMEN_StrHashUpdateMem>(env, cls, self, HandleUpdate{h}, BlockIn{in});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashFinalMem(JNIEnv* env, jclass cls,
                                                                       jobject self, jobject h,
                                                                       jobject out) {
  return call<QUMEN_StrHashFinalMem>(env, cls, self, HandleFinal{h}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrHashFile(JNIEnv* env, jclass cls,
                                                                   jobject self, jstring a,
                                                                   jstring in, jobject out) {
  return call<QUMEN_StrHashFile>(env, cls, self, Text{a}, Text{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignInitMem(JNIEnv* env, jclass cls,
                                                                      jobject self, jobject param,
                                                                      jobject in, jobject h) {
  return call<QUMEN_StrSignInitMem>(env, cls, self, SignParam{param}, BlockIn{in}, HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignUpdateMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject h, jobject in) {
  return call<QUMEN_StrSignUpdateMem>(env, cls, self, SignParam{param}, HandleUpdate{h},
                                      BlockIn{in});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignFinalMem(JNIEnv* env, jclass cls,
                                                                       jobject self, jobject param,
                                                                       jobject h, jobject out) {
  return call<QUMEN_StrSignFinalMem>(env, cls, self, SignParam{param}, HandleFinal{h},
                                     BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrSignFile(JNIEnv* env, jclass cls,
                                                                   jobject self, jobject param,
                                                                   jstring in, jstring in2,
                                                                   jstring out) {
  return call<QUMEN_StrSignFile>(env, cls, self, SignParam{param}, Text{in}, Text{in2}, Text{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyInitMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject h) {
  return call<QUMEN_StrVerifyInitMem>(env, cls, self, VerifyParam{param}, BlockIn{in},
                                      HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyUpdateMem(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject h,
                                                                          jobject in) {
  return call<QUMEN_StrVerifyUpdateMem>(env, cls, self, VerifyParam{param}, HandleUpdate{h},
                                        BlockIn{in});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out, jobject result) {
  return call<QUMEN_StrVerifyFinalMem>(env, cls, self, VerifyParam{param}, HandleFinal{h},
                                       BlockOut{out}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrVerifyFile(JNIEnv* env, jclass cls,
                                                                     jobject self, jobject param,
                                                                     jstring in, jstring in2,
                                                                     jstring out, jobject result) {
  return call<QUMEN_StrVerifyFile>(env, cls, self, VerifyParam{param}, Text{in}, Text{in2},
                                   Text{out}, VerifyResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptInitMem(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jobject h) {
  return call<QUMEN_StrEncryptInitMem>(env, cls, self, EncryptParam{param}, HandleInit{h});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in, jobject out) {
  return call<QUMEN_StrEncryptUpdateMem>(env, cls, self, EncryptParam{param}, HandleUpdate{h},
                                         BlockIn{in}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptFinalMem(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject h,
                                                                          jobject out) {
  return call<QUMEN_StrEncryptFinalMem>(env, cls, self, EncryptParam{param}, HandleFinal{h},
                                        BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptFile(JNIEnv* env, jclass cls,
                                                                      jobject self, jobject param,
                                                                      jstring in, jstring out) {
  return call<QUMEN_StrEncryptFile>(env, cls, self, EncryptParam{param}, Text{in}, Text{out});
}

// Init only returns the state word: st[0] receives what the library left in it (0 if nothing),
// after the handle rule, whatever the status.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptInitMem(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jobject in,
                                                                         jintArray st, jobject h) {
  return call<QUMEN_StrDecryptInitMem>(env, cls, self, DecryptParam{param}, BlockIn{in}, IntOut{st},
                                       HandleInit{h});
}

// Update reads the state word after the input block and writes it back after the handle rule.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptUpdateMem(JNIEnv* env, jclass cls,
                                                                           jobject self,
                                                                           jobject param, jobject h,
                                                                           jobject in, jintArray st,
                                                                           jobject out) {
  return call<QUMEN_StrDecryptUpdateMem>(env, cls, self, DecryptParam{param}, HandleUpdate{h},
                                         BlockIn{in}, IntInOut{st}, BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptFinalMem(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject h,
                                                                          jobject result) {
  return call<QUMEN_StrDecryptFinalMem>(env, cls, self, DecryptParam{param}, HandleFinal{h},
                                        DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrDecryptFile(JNIEnv* env, jclass cls,
                                                                      jobject self, jobject param,
                                                                      jstring in, jstring out,
                                                                      jobject result) {
  return call<QUMEN_StrDecryptFile>(env, cls, self, DecryptParam{param}, Text{in}, Text{out},
                                    DecryptResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptedInfoMem(JNIEnv* env, jclass cls,
                                                                           jobject self, jobject in,
                                                                           jobject result) {
  return call<QUMEN_StrEncryptedInfoMem>(env, cls, self, BlockIn{in}, EncryptedInfoResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1StrEncryptedInfoFile(JNIEnv* env, jclass cls,
                                                                            jobject self,
                                                                            jstring in,
                                                                            jobject result) {
  return call<QUMEN_StrEncryptedInfoFile>(env, cls, self, Text{in}, EncryptedInfoResult{result});
}

}  // extern "C"
