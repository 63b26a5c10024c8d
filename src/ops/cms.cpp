// CMS operations: nine kinds of message operation (signing with a parameter record, attached or
// detached; verification, attached or detached; encryption; decryption; signing without a
// parameter record, attaching or detaching; message information), each in its forms: one-shot
// over memory blocks (CmsBlk..Mem) or files (CmsBlk..File), and streamed in Init, Update and
// Final stages (CmsStr..InitMem, UpdateMem, FinalMem) with a file form of its own (CmsStr..File).
//
// A kind is made of its parameter record, its input and output blocks, its result record and its
// trailing int, each where it has them, and every form lays those out in the same order:
//   CmsBlk..Mem               parameters, input blocks, output blocks, result, int
//   CmsBlk..File, CmsStr..File  the same with a file name in place of every block
//   CmsStr..InitMem           parameters, the one input block, the new handle, int
//   CmsStr..UpdateMem         parameters, the handle, the one input block, and the output block
//                             where the kind has one per stage: converted whatever the status,
//                             but left as it was after a failure for the attached signing and
//                             verification (OnSuccess)
//   CmsStr..FinalMem          parameters, the handle, output blocks, result
#include "../records/cms.h"

#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/signing.h"

using namespace tvj;

extern "C" {

// AttSign
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject signed_) {
  return call<QUMEN_CmsBlkAttSignMem>(env, cls, context, SignParam{param}, BlockIn{content},
                                      BlockOut{signed_});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring signedFile) {
  return call<QUMEN_CmsBlkAttSignFile>(env, cls, context, SignParam{param}, Text{contentFile},
                                       Text{signedFile});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_CmsStrAttSignInitMem>(env, cls, context, SignParam{param}, BlockIn{input},
                                          HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject signed_) {
  return call<QUMEN_CmsStrAttSignUpdateMem>(env, cls, context, SignParam{param},
                                            HandleUpdate{stream}, BlockIn{content},
                                            OnSuccess<BlockOut>{signed_});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signed_) {
  return call<QUMEN_CmsStrAttSignFinalMem>(env, cls, context, SignParam{param}, HandleFinal{stream},
                                           BlockOut{signed_});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring signedFile) {
  return call<QUMEN_CmsStrAttSignFile>(env, cls, context, SignParam{param}, Text{contentFile},
                                       Text{signedFile});
}

// DetSign
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject secondInput,
    jobject signature) {
  return call<QUMEN_CmsBlkDetSignMem>(env, cls, context, SignParam{param}, BlockIn{content},
                                      BlockIn{secondInput}, BlockOut{signature});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring contentFile,
    jstring secondInputFile, jstring signatureFile) {
  return call<QUMEN_CmsBlkDetSignFile>(env, cls, context, SignParam{param}, Text{contentFile},
                                       Text{secondInputFile}, Text{signatureFile});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_CmsStrDetSignInitMem>(env, cls, context, SignParam{param}, BlockIn{input},
                                          HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content) {
  return call<QUMEN_CmsStrDetSignUpdateMem>(env, cls, context, SignParam{param},
                                            HandleUpdate{stream}, BlockIn{content});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signature) {
  return call<QUMEN_CmsStrDetSignFinalMem>(env, cls, context, SignParam{param}, HandleFinal{stream},
                                           BlockOut{signature});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring contentFile,
    jstring secondInputFile, jstring signatureFile) {
  return call<QUMEN_CmsStrDetSignFile>(env, cls, context, SignParam{param}, Text{contentFile},
                                       Text{secondInputFile}, Text{signatureFile});
}

// AttVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject signed_, jobject content,
    jobject result) {
  return call<QUMEN_CmsBlkAttVerifyMem>(env, cls, context, VerifyParam{param}, BlockIn{signed_},
                                        BlockOut{content}, VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring contentFile, jobject result) {
  return call<QUMEN_CmsBlkAttVerifyFile>(env, cls, context, VerifyParam{param}, Text{signedFile},
                                         Text{contentFile}, VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_CmsStrAttVerifyInitMem>(env, cls, context, VerifyParam{param}, BlockIn{input},
                                            HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signed_,
    jobject content) {
  return call<QUMEN_CmsStrAttVerifyUpdateMem>(env, cls, context, VerifyParam{param},
                                              HandleUpdate{stream}, BlockIn{signed_},
                                              OnSuccess<BlockOut>{content});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject result) {
  return call<QUMEN_CmsStrAttVerifyFinalMem>(env, cls, context, VerifyParam{param},
                                             HandleFinal{stream}, BlockOut{content},
                                             VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring contentFile, jobject result) {
  return call<QUMEN_CmsStrAttVerifyFile>(env, cls, context, VerifyParam{param}, Text{signedFile},
                                         Text{contentFile}, VerifyResult{result});
}

// DetVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject secondInput,
    jobject output, jobject result) {
  return call<QUMEN_CmsBlkDetVerifyMem>(env, cls, context, VerifyParam{param}, BlockIn{input},
                                        BlockIn{secondInput}, BlockOut{output},
                                        VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring inputFile,
    jstring secondInputFile, jstring outputFile, jobject result) {
  return call<QUMEN_CmsBlkDetVerifyFile>(env, cls, context, VerifyParam{param}, Text{inputFile},
                                         Text{secondInputFile}, Text{outputFile},
                                         VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_CmsStrDetVerifyInitMem>(env, cls, context, VerifyParam{param}, BlockIn{input},
                                            HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content) {
  return call<QUMEN_CmsStrDetVerifyUpdateMem>(env, cls, context, VerifyParam{param},
                                              HandleUpdate{stream}, BlockIn{content});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject output,
    jobject result) {
  return call<QUMEN_CmsStrDetVerifyFinalMem>(env, cls, context, VerifyParam{param},
                                             HandleFinal{stream}, BlockOut{output},
                                             VerifyResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring inputFile,
    jstring secondInputFile, jstring outputFile, jobject result) {
  return call<QUMEN_CmsStrDetVerifyFile>(env, cls, context, VerifyParam{param}, Text{inputFile},
                                         Text{secondInputFile}, Text{outputFile},
                                         VerifyResult{result});
}

// Encrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject encrypted) {
  return call<QUMEN_CmsBlkEncryptMem>(env, cls, context, EncryptParam{param}, BlockIn{content},
                                      BlockOut{encrypted});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring encryptedFile) {
  return call<QUMEN_CmsBlkEncryptFile>(env, cls, context, EncryptParam{param}, Text{contentFile},
                                       Text{encryptedFile});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call<QUMEN_CmsStrEncryptInitMem>(env, cls, context, EncryptParam{param}, BlockIn{input},
                                          HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject encrypted) {
  return call<QUMEN_CmsStrEncryptUpdateMem>(env, cls, context, EncryptParam{param},
                                            HandleUpdate{stream}, BlockIn{content},
                                            BlockOut{encrypted});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted) {
  return call<QUMEN_CmsStrEncryptFinalMem>(env, cls, context, EncryptParam{param},
                                           HandleFinal{stream}, BlockOut{encrypted});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring encryptedFile) {
  return call<QUMEN_CmsStrEncryptFile>(env, cls, context, EncryptParam{param}, Text{contentFile},
                                       Text{encryptedFile});
}

// Decrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encrypted, jobject content,
    jobject result) {
  return call<QUMEN_CmsBlkDecryptMem>(env, cls, context, DecryptParam{param}, BlockIn{encrypted},
                                      BlockOut{content}, DecryptResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring encryptedFile,
    jstring contentFile, jobject result) {
  return call<QUMEN_CmsBlkDecryptFile>(env, cls, context, DecryptParam{param}, Text{encryptedFile},
                                       Text{contentFile}, DecryptResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encrypted, jobject stream) {
  return call<QUMEN_CmsStrDecryptInitMem>(env, cls, context, DecryptParam{param},
                                          BlockIn{encrypted}, HandleInit{stream});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted,
    jobject content) {
  return call<QUMEN_CmsStrDecryptUpdateMem>(env, cls, context, DecryptParam{param},
                                            HandleUpdate{stream}, BlockIn{encrypted},
                                            BlockOut{content});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject result) {
  return call<QUMEN_CmsStrDecryptFinalMem>(env, cls, context, DecryptParam{param},
                                           HandleFinal{stream}, BlockOut{content},
                                           DecryptResult{result});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring encryptedFile,
    jstring contentFile, jobject result) {
  return call<QUMEN_CmsStrDecryptFile>(env, cls, context, DecryptParam{param}, Text{encryptedFile},
                                       Text{contentFile}, DecryptResult{result});
}

// SignAttach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachMem(
    JNIEnv* env, jclass cls, jobject context, jobject input, jobject secondInput, jobject signed_,
    jint option) {
  return call<QUMEN_CmsBlkSignAttachMem>(env, cls, context, BlockIn{input}, BlockIn{secondInput},
                                         BlockOut{signed_}, Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachFile(
    JNIEnv* env, jclass cls, jobject context, jstring inputFile, jstring secondInputFile,
    jstring signedFile, jint option) {
  return call<QUMEN_CmsBlkSignAttachFile>(env, cls, context, Text{inputFile}, Text{secondInputFile},
                                          Text{signedFile}, Int{option});
}

// SignDetach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachMem(
    JNIEnv* env, jclass cls, jobject context, jobject signed_, jobject output, jobject secondOutput,
    jint option) {
  return call<QUMEN_CmsBlkSignDetachMem>(env, cls, context, BlockIn{signed_}, BlockOut{output},
                                         BlockOut{secondOutput}, Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachFile(
    JNIEnv* env, jclass cls, jobject context, jstring signedFile, jstring outputFile,
    jstring secondOutputFile, jint option) {
  return call<QUMEN_CmsBlkSignDetachFile>(env, cls, context, Text{signedFile}, Text{outputFile},
                                          Text{secondOutputFile}, Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject signed_, jobject stream, jint option) {
  return call<QUMEN_CmsStrSignDetachInitMem>(env, cls, context, BlockIn{signed_},
                                             HandleInit{stream}, Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject signed_, jobject output) {
  return call<QUMEN_CmsStrSignDetachUpdateMem>(env, cls, context, HandleUpdate{stream},
                                               BlockIn{signed_}, BlockOut{output});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject output,
    jobject secondOutput) {
  return call<QUMEN_CmsStrSignDetachFinalMem>(env, cls, context, HandleFinal{stream},
                                              BlockOut{output}, BlockOut{secondOutput});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFile(
    JNIEnv* env, jclass cls, jobject context, jstring signedFile, jstring outputFile,
    jstring secondOutputFile, jint option) {
  return call<QUMEN_CmsStrSignDetachFile>(env, cls, context, Text{signedFile}, Text{outputFile},
                                          Text{secondOutputFile}, Int{option});
}

// MsgInf
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfMem(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject message,
                                                                       jobject info, jint option) {
  return call<QUMEN_CmsBlkMsgInfMem>(env, cls, context, BlockIn{message}, CmsMsgInf{info},
                                     Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jstring messageFile,
                                                                        jobject info, jint option) {
  return call<QUMEN_CmsBlkMsgInfFile>(env, cls, context, Text{messageFile}, CmsMsgInf{info},
                                      Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject message, jobject stream, jint option) {
  return call<QUMEN_CmsStrMsgInfInitMem>(env, cls, context, BlockIn{message}, HandleInit{stream},
                                         Int{option});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject message) {
  return call<QUMEN_CmsStrMsgInfUpdateMem>(env, cls, context, HandleUpdate{stream},
                                           BlockIn{message});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFinalMem(JNIEnv* env, jclass cls,
                                                                            jobject context,
                                                                            jobject stream,
                                                                            jobject info) {
  return call<QUMEN_CmsStrMsgInfFinalMem>(env, cls, context, HandleFinal{stream}, CmsMsgInf{info});
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jstring messageFile,
                                                                        jobject info, jint option) {
  return call<QUMEN_CmsStrMsgInfFile>(env, cls, context, Text{messageFile}, CmsMsgInf{info},
                                      Int{option});
}

}  // extern "C"
