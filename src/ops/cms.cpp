// CMS operations: nine kinds of message operation (signing with a parameter record, attached or
// detached; verification, attached or detached; encryption; decryption; signing without a
// parameter record, attaching or detaching; message information), each in its forms: one-shot
// over memory blocks (CmsBlk..Mem) or files (CmsBlk..File), and streamed in Init, Update and
// Final stages (CmsStr..InitMem, UpdateMem, FinalMem) with a file form of its own (CmsStr..File).
//
// A kind is what its forms are made of: its parameter record, its input and output blocks, its
// result record and its trailing int. Each form lays those out in its own order, and every
// exported method below is its kind, its form and its native function.
#include "../records/cms.h"

#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"
#include "../records/envelope.h"
#include "../records/signing.h"

using namespace tvj;

namespace {

// The kinds of one form's Java parameters, in order.
template <typename... K>
struct Kinds {};

template <typename... Lists>
struct Concat;
template <typename... A>
struct Concat<Kinds<A...>> {
  using type = Kinds<A...>;
};
template <typename... A, typename... B, typename... Rest>
struct Concat<Kinds<A...>, Kinds<B...>, Rest...> {
  using type = typename Concat<Kinds<A..., B...>, Rest...>::type;
};
template <typename... Lists>
using Join = typename Concat<Lists...>::type;

template <typename K, int N>
struct Repeat {
  using type = Join<Kinds<K>, typename Repeat<K, N - 1>::type>;
};
template <typename K>
struct Repeat<K, 0> {
  using type = Kinds<>;
};
template <typename K, int N>
using Times = typename Repeat<K, N>::type;

struct Absent {};  // a kind without a parameter record or a result record
template <typename K>
using Maybe = std::conditional_t<std::is_same_v<K, Absent>, Kinds<>, Kinds<K>>;

// What the Update stage does with its output block: none; converted whatever the status; or,
// for the attached signing and verification, left as it was after a failure.
enum class UpdateOutput { kNone, kAlways, kOnSuccess };
template <UpdateOutput U>
using UpdateOut = std::conditional_t<
    U == UpdateOutput::kNone, Kinds<>,
    std::conditional_t<U == UpdateOutput::kAlways, Kinds<BlockOut>, Kinds<OnSuccess<BlockOut>>>>;

template <typename Param, int Inputs, int Outputs, typename ResultRecord, bool TrailingInt,
          UpdateOutput Update>
struct CmsKind {
  using P = Maybe<Param>;
  using R = Maybe<ResultRecord>;
  using T = std::conditional_t<TrailingInt, Kinds<Int>, Kinds<>>;
  // One-shot: the parameters, the input blocks, the output blocks, the result, the int.
  using BlkMem = Join<P, Times<BlockIn, Inputs>, Times<BlockOut, Outputs>, R, T>;
  // A file name in place of every block.
  using BlkFile = Join<P, Times<Text, Inputs + Outputs>, R, T>;
  using StrFile = BlkFile;
  // Streamed: one input block per stage; the handle rules come from the frame.
  using InitMem = Join<P, Kinds<BlockIn, HandleInit>, T>;
  using UpdateMem = Join<P, Kinds<HandleUpdate, BlockIn>, UpdateOut<Update>>;
  using FinalMem = Join<P, Kinds<HandleFinal>, Times<BlockOut, Outputs>, R>;
};

using AttSign = CmsKind<SignParam, 1, 1, Absent, false, UpdateOutput::kOnSuccess>;
using DetSign = CmsKind<SignParam, 2, 1, Absent, false, UpdateOutput::kNone>;
using AttVerify = CmsKind<VerifyParam, 1, 1, VerifyResult, false, UpdateOutput::kOnSuccess>;
using DetVerify = CmsKind<VerifyParam, 2, 1, VerifyResult, false, UpdateOutput::kNone>;
using Encrypt = CmsKind<EncryptParam, 1, 1, Absent, false, UpdateOutput::kAlways>;
using Decrypt = CmsKind<DecryptParam, 1, 1, DecryptResult, false, UpdateOutput::kAlways>;
using SignAttach = CmsKind<Absent, 2, 1, Absent, true, UpdateOutput::kNone>;
using SignDetach = CmsKind<Absent, 1, 2, Absent, true, UpdateOutput::kAlways>;
using MsgInf = CmsKind<Absent, 1, 0, CmsMsgInf, true, UpdateOutput::kNone>;

// One form of one kind over the frame: each Java parameter in the kind of its position.
template <auto Native, typename... K, typename... J>
jint call_as(Kinds<K...>, JNIEnv* env, jclass cls, jobject self, J... java) {
  static_assert(sizeof...(K) == sizeof...(J), "one Java parameter for each of the form's kinds");
  return call<Native>(env, cls, self, K{java}...);
}

}  // namespace

extern "C" {

// AttSign
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject signed_) {
  return call_as<QUMEN_CmsBlkAttSignMem>(AttSign::BlkMem{}, env, cls, context, param, content,
                                         signed_);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring signedFile) {
  return call_as<QUMEN_CmsBlkAttSignFile>(AttSign::BlkFile{}, env, cls, context, param, contentFile,
                                          signedFile);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call_as<QUMEN_CmsStrAttSignInitMem>(AttSign::InitMem{}, env, cls, context, param, input,
                                             stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject signed_) {
  return call_as<QUMEN_CmsStrAttSignUpdateMem>(AttSign::UpdateMem{}, env, cls, context, param,
                                               stream, content, signed_);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signed_) {
  return call_as<QUMEN_CmsStrAttSignFinalMem>(AttSign::FinalMem{}, env, cls, context, param, stream,
                                              signed_);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring signedFile) {
  return call_as<QUMEN_CmsStrAttSignFile>(AttSign::StrFile{}, env, cls, context, param, contentFile,
                                          signedFile);
}

// DetSign
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject secondInput,
    jobject signature) {
  return call_as<QUMEN_CmsBlkDetSignMem>(DetSign::BlkMem{}, env, cls, context, param, content,
                                         secondInput, signature);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring contentFile,
    jstring secondInputFile, jstring signatureFile) {
  return call_as<QUMEN_CmsBlkDetSignFile>(DetSign::BlkFile{}, env, cls, context, param, contentFile,
                                          secondInputFile, signatureFile);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call_as<QUMEN_CmsStrDetSignInitMem>(DetSign::InitMem{}, env, cls, context, param, input,
                                             stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content) {
  return call_as<QUMEN_CmsStrDetSignUpdateMem>(DetSign::UpdateMem{}, env, cls, context, param,
                                               stream, content);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signature) {
  return call_as<QUMEN_CmsStrDetSignFinalMem>(DetSign::FinalMem{}, env, cls, context, param, stream,
                                              signature);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring contentFile,
    jstring secondInputFile, jstring signatureFile) {
  return call_as<QUMEN_CmsStrDetSignFile>(DetSign::StrFile{}, env, cls, context, param, contentFile,
                                          secondInputFile, signatureFile);
}

// AttVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject signed_, jobject content,
    jobject result) {
  return call_as<QUMEN_CmsBlkAttVerifyMem>(AttVerify::BlkMem{}, env, cls, context, param, signed_,
                                           content, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring contentFile, jobject result) {
  return call_as<QUMEN_CmsBlkAttVerifyFile>(AttVerify::BlkFile{}, env, cls, context, param,
                                            signedFile, contentFile, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call_as<QUMEN_CmsStrAttVerifyInitMem>(AttVerify::InitMem{}, env, cls, context, param,
                                               input, stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject signed_,
    jobject content) {
  return call_as<QUMEN_CmsStrAttVerifyUpdateMem>(AttVerify::UpdateMem{}, env, cls, context, param,
                                                 stream, signed_, content);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject result) {
  return call_as<QUMEN_CmsStrAttVerifyFinalMem>(AttVerify::FinalMem{}, env, cls, context, param,
                                                stream, content, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring signedFile,
    jstring contentFile, jobject result) {
  return call_as<QUMEN_CmsStrAttVerifyFile>(AttVerify::StrFile{}, env, cls, context, param,
                                            signedFile, contentFile, result);
}

// DetVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject secondInput,
    jobject output, jobject result) {
  return call_as<QUMEN_CmsBlkDetVerifyMem>(DetVerify::BlkMem{}, env, cls, context, param, input,
                                           secondInput, output, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring inputFile,
    jstring secondInputFile, jstring outputFile, jobject result) {
  return call_as<QUMEN_CmsBlkDetVerifyFile>(DetVerify::BlkFile{}, env, cls, context, param,
                                            inputFile, secondInputFile, outputFile, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call_as<QUMEN_CmsStrDetVerifyInitMem>(DetVerify::InitMem{}, env, cls, context, param,
                                               input, stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content) {
  return call_as<QUMEN_CmsStrDetVerifyUpdateMem>(DetVerify::UpdateMem{}, env, cls, context, param,
                                                 stream, content);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject output,
    jobject result) {
  return call_as<QUMEN_CmsStrDetVerifyFinalMem>(DetVerify::FinalMem{}, env, cls, context, param,
                                                stream, output, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring inputFile,
    jstring secondInputFile, jstring outputFile, jobject result) {
  return call_as<QUMEN_CmsStrDetVerifyFile>(DetVerify::StrFile{}, env, cls, context, param,
                                            inputFile, secondInputFile, outputFile, result);
}

// Encrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject content, jobject encrypted) {
  return call_as<QUMEN_CmsBlkEncryptMem>(Encrypt::BlkMem{}, env, cls, context, param, content,
                                         encrypted);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring encryptedFile) {
  return call_as<QUMEN_CmsBlkEncryptFile>(Encrypt::BlkFile{}, env, cls, context, param, contentFile,
                                          encryptedFile);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject input, jobject stream) {
  return call_as<QUMEN_CmsStrEncryptInitMem>(Encrypt::InitMem{}, env, cls, context, param, input,
                                             stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject encrypted) {
  return call_as<QUMEN_CmsStrEncryptUpdateMem>(Encrypt::UpdateMem{}, env, cls, context, param,
                                               stream, content, encrypted);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted) {
  return call_as<QUMEN_CmsStrEncryptFinalMem>(Encrypt::FinalMem{}, env, cls, context, param, stream,
                                              encrypted);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject param,
                                                                         jstring contentFile,
                                                                         jstring encryptedFile) {
  return call_as<QUMEN_CmsStrEncryptFile>(Encrypt::StrFile{}, env, cls, context, param, contentFile,
                                          encryptedFile);
}

// Decrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encrypted, jobject content,
    jobject result) {
  return call_as<QUMEN_CmsBlkDecryptMem>(Decrypt::BlkMem{}, env, cls, context, param, encrypted,
                                         content, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring encryptedFile,
    jstring contentFile, jobject result) {
  return call_as<QUMEN_CmsBlkDecryptFile>(Decrypt::BlkFile{}, env, cls, context, param,
                                          encryptedFile, contentFile, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject encrypted, jobject stream) {
  return call_as<QUMEN_CmsStrDecryptInitMem>(Decrypt::InitMem{}, env, cls, context, param,
                                             encrypted, stream);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject encrypted,
    jobject content) {
  return call_as<QUMEN_CmsStrDecryptUpdateMem>(Decrypt::UpdateMem{}, env, cls, context, param,
                                               stream, encrypted, content);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject param, jobject stream, jobject content,
    jobject result) {
  return call_as<QUMEN_CmsStrDecryptFinalMem>(Decrypt::FinalMem{}, env, cls, context, param, stream,
                                              content, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFile(
    JNIEnv* env, jclass cls, jobject context, jobject param, jstring encryptedFile,
    jstring contentFile, jobject result) {
  return call_as<QUMEN_CmsStrDecryptFile>(Decrypt::StrFile{}, env, cls, context, param,
                                          encryptedFile, contentFile, result);
}

// SignAttach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachMem(
    JNIEnv* env, jclass cls, jobject context, jobject input, jobject secondInput, jobject signed_,
    jint option) {
  return call_as<QUMEN_CmsBlkSignAttachMem>(SignAttach::BlkMem{}, env, cls, context, input,
                                            secondInput, signed_, option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachFile(
    JNIEnv* env, jclass cls, jobject context, jstring inputFile, jstring secondInputFile,
    jstring signedFile, jint option) {
  return call_as<QUMEN_CmsBlkSignAttachFile>(SignAttach::BlkFile{}, env, cls, context, inputFile,
                                             secondInputFile, signedFile, option);
}

// SignDetach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachMem(
    JNIEnv* env, jclass cls, jobject context, jobject signed_, jobject output, jobject secondOutput,
    jint option) {
  return call_as<QUMEN_CmsBlkSignDetachMem>(SignDetach::BlkMem{}, env, cls, context, signed_,
                                            output, secondOutput, option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachFile(
    JNIEnv* env, jclass cls, jobject context, jstring signedFile, jstring outputFile,
    jstring secondOutputFile, jint option) {
  return call_as<QUMEN_CmsBlkSignDetachFile>(SignDetach::BlkFile{}, env, cls, context, signedFile,
                                             outputFile, secondOutputFile, option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject signed_, jobject stream, jint option) {
  return call_as<QUMEN_CmsStrSignDetachInitMem>(SignDetach::InitMem{}, env, cls, context, signed_,
                                                stream, option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject signed_, jobject output) {
  return call_as<QUMEN_CmsStrSignDetachUpdateMem>(SignDetach::UpdateMem{}, env, cls, context,
                                                  stream, signed_, output);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFinalMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject output,
    jobject secondOutput) {
  return call_as<QUMEN_CmsStrSignDetachFinalMem>(SignDetach::FinalMem{}, env, cls, context, stream,
                                                 output, secondOutput);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFile(
    JNIEnv* env, jclass cls, jobject context, jstring signedFile, jstring outputFile,
    jstring secondOutputFile, jint option) {
  return call_as<QUMEN_CmsStrSignDetachFile>(SignDetach::StrFile{}, env, cls, context, signedFile,
                                             outputFile, secondOutputFile, option);
}

// MsgInf
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfMem(JNIEnv* env, jclass cls,
                                                                       jobject context,
                                                                       jobject message,
                                                                       jobject info, jint option) {
  return call_as<QUMEN_CmsBlkMsgInfMem>(MsgInf::BlkMem{}, env, cls, context, message, info, option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jstring messageFile,
                                                                        jobject info, jint option) {
  return call_as<QUMEN_CmsBlkMsgInfFile>(MsgInf::BlkFile{}, env, cls, context, messageFile, info,
                                         option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfInitMem(
    JNIEnv* env, jclass cls, jobject context, jobject message, jobject stream, jint option) {
  return call_as<QUMEN_CmsStrMsgInfInitMem>(MsgInf::InitMem{}, env, cls, context, message, stream,
                                            option);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfUpdateMem(
    JNIEnv* env, jclass cls, jobject context, jobject stream, jobject message) {
  return call_as<QUMEN_CmsStrMsgInfUpdateMem>(MsgInf::UpdateMem{}, env, cls, context, stream,
                                              message);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFinalMem(JNIEnv* env, jclass cls,
                                                                            jobject context,
                                                                            jobject stream,
                                                                            jobject info) {
  return call_as<QUMEN_CmsStrMsgInfFinalMem>(MsgInf::FinalMem{}, env, cls, context, stream, info);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject context,
                                                                        jstring messageFile,
                                                                        jobject info, jint option) {
  return call_as<QUMEN_CmsStrMsgInfFile>(MsgInf::StrFile{}, env, cls, context, messageFile, info,
                                         option);
}

}  // extern "C"
