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
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject out) {
  return call_as<QUMEN_CmsBlkAttSignMem>(AttSign::BlkMem{}, env, cls, self, param, in, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring out) {
  return call_as<QUMEN_CmsBlkAttSignFile>(AttSign::BlkFile{}, env, cls, self, param, in, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignInitMem(JNIEnv* env, jclass cls,
                                                                            jobject self,
                                                                            jobject param,
                                                                            jobject in, jobject h) {
  return call_as<QUMEN_CmsStrAttSignInitMem>(AttSign::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in, jobject out) {
  return call_as<QUMEN_CmsStrAttSignUpdateMem>(AttSign::UpdateMem{}, env, cls, self, param, h, in,
                                               out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out) {
  return call_as<QUMEN_CmsStrAttSignFinalMem>(AttSign::FinalMem{}, env, cls, self, param, h, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttSignFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring out) {
  return call_as<QUMEN_CmsStrAttSignFile>(AttSign::StrFile{}, env, cls, self, param, in, out);
}

// DetSign
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject in2,
                                                                        jobject out) {
  return call_as<QUMEN_CmsBlkDetSignMem>(DetSign::BlkMem{}, env, cls, self, param, in, in2, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetSignFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring in2, jstring out) {
  return call_as<QUMEN_CmsBlkDetSignFile>(DetSign::BlkFile{}, env, cls, self, param, in, in2, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignInitMem(JNIEnv* env, jclass cls,
                                                                            jobject self,
                                                                            jobject param,
                                                                            jobject in, jobject h) {
  return call_as<QUMEN_CmsStrDetSignInitMem>(DetSign::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in) {
  return call_as<QUMEN_CmsStrDetSignUpdateMem>(DetSign::UpdateMem{}, env, cls, self, param, h, in);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out) {
  return call_as<QUMEN_CmsStrDetSignFinalMem>(DetSign::FinalMem{}, env, cls, self, param, h, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetSignFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring in2, jstring out) {
  return call_as<QUMEN_CmsStrDetSignFile>(DetSign::StrFile{}, env, cls, self, param, in, in2, out);
}

// AttVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject out, jobject result) {
  return call_as<QUMEN_CmsBlkAttVerifyMem>(AttVerify::BlkMem{}, env, cls, self, param, in, out,
                                           result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkAttVerifyFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring out, jobject result) {
  return call_as<QUMEN_CmsBlkAttVerifyFile>(AttVerify::BlkFile{}, env, cls, self, param, in, out,
                                            result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyInitMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject h) {
  return call_as<QUMEN_CmsStrAttVerifyInitMem>(AttVerify::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in, jobject out) {
  return call_as<QUMEN_CmsStrAttVerifyUpdateMem>(AttVerify::UpdateMem{}, env, cls, self, param, h,
                                                 in, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out, jobject result) {
  return call_as<QUMEN_CmsStrAttVerifyFinalMem>(AttVerify::FinalMem{}, env, cls, self, param, h,
                                                out, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrAttVerifyFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring out, jobject result) {
  return call_as<QUMEN_CmsStrAttVerifyFile>(AttVerify::StrFile{}, env, cls, self, param, in, out,
                                            result);
}

// DetVerify
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyMem(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject param, jobject in,
                                                                          jobject in2, jobject out,
                                                                          jobject result) {
  return call_as<QUMEN_CmsBlkDetVerifyMem>(DetVerify::BlkMem{}, env, cls, self, param, in, in2, out,
                                           result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDetVerifyFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring in2, jstring out,
    jobject result) {
  return call_as<QUMEN_CmsBlkDetVerifyFile>(DetVerify::BlkFile{}, env, cls, self, param, in, in2,
                                            out, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyInitMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject in, jobject h) {
  return call_as<QUMEN_CmsStrDetVerifyInitMem>(DetVerify::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in) {
  return call_as<QUMEN_CmsStrDetVerifyUpdateMem>(DetVerify::UpdateMem{}, env, cls, self, param, h,
                                                 in);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out, jobject result) {
  return call_as<QUMEN_CmsStrDetVerifyFinalMem>(DetVerify::FinalMem{}, env, cls, self, param, h,
                                                out, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDetVerifyFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring in2, jstring out,
    jobject result) {
  return call_as<QUMEN_CmsStrDetVerifyFile>(DetVerify::StrFile{}, env, cls, self, param, in, in2,
                                            out, result);
}

// Encrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject out) {
  return call_as<QUMEN_CmsBlkEncryptMem>(Encrypt::BlkMem{}, env, cls, self, param, in, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring out) {
  return call_as<QUMEN_CmsBlkEncryptFile>(Encrypt::BlkFile{}, env, cls, self, param, in, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptInitMem(JNIEnv* env, jclass cls,
                                                                            jobject self,
                                                                            jobject param,
                                                                            jobject in, jobject h) {
  return call_as<QUMEN_CmsStrEncryptInitMem>(Encrypt::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in, jobject out) {
  return call_as<QUMEN_CmsStrEncryptUpdateMem>(Encrypt::UpdateMem{}, env, cls, self, param, h, in,
                                               out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out) {
  return call_as<QUMEN_CmsStrEncryptFinalMem>(Encrypt::FinalMem{}, env, cls, self, param, h, out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrEncryptFile(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject param, jstring in,
                                                                         jstring out) {
  return call_as<QUMEN_CmsStrEncryptFile>(Encrypt::StrFile{}, env, cls, self, param, in, out);
}

// Decrypt
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptMem(JNIEnv* env, jclass cls,
                                                                        jobject self, jobject param,
                                                                        jobject in, jobject out,
                                                                        jobject result) {
  return call_as<QUMEN_CmsBlkDecryptMem>(Decrypt::BlkMem{}, env, cls, self, param, in, out, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkDecryptFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring out, jobject result) {
  return call_as<QUMEN_CmsBlkDecryptFile>(Decrypt::BlkFile{}, env, cls, self, param, in, out,
                                          result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptInitMem(JNIEnv* env, jclass cls,
                                                                            jobject self,
                                                                            jobject param,
                                                                            jobject in, jobject h) {
  return call_as<QUMEN_CmsStrDecryptInitMem>(Decrypt::InitMem{}, env, cls, self, param, in, h);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject in, jobject out) {
  return call_as<QUMEN_CmsStrDecryptUpdateMem>(Decrypt::UpdateMem{}, env, cls, self, param, h, in,
                                               out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject param, jobject h, jobject out, jobject result) {
  return call_as<QUMEN_CmsStrDecryptFinalMem>(Decrypt::FinalMem{}, env, cls, self, param, h, out,
                                              result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrDecryptFile(
    JNIEnv* env, jclass cls, jobject self, jobject param, jstring in, jstring out, jobject result) {
  return call_as<QUMEN_CmsStrDecryptFile>(Decrypt::StrFile{}, env, cls, self, param, in, out,
                                          result);
}

// SignAttach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachMem(JNIEnv* env, jclass cls,
                                                                           jobject self, jobject in,
                                                                           jobject in2, jobject out,
                                                                           jint value) {
  return call_as<QUMEN_CmsBlkSignAttachMem>(SignAttach::BlkMem{}, env, cls, self, in, in2, out,
                                            value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignAttachFile(
    JNIEnv* env, jclass cls, jobject self, jstring in, jstring in2, jstring out, jint value) {
  return call_as<QUMEN_CmsBlkSignAttachFile>(SignAttach::BlkFile{}, env, cls, self, in, in2, out,
                                             value);
}

// SignDetach
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachMem(
    JNIEnv* env, jclass cls, jobject self, jobject in, jobject out, jobject out2, jint value) {
  return call_as<QUMEN_CmsBlkSignDetachMem>(SignDetach::BlkMem{}, env, cls, self, in, out, out2,
                                            value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkSignDetachFile(
    JNIEnv* env, jclass cls, jobject self, jstring in, jstring out, jstring out2, jint value) {
  return call_as<QUMEN_CmsBlkSignDetachFile>(SignDetach::BlkFile{}, env, cls, self, in, out, out2,
                                             value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachInitMem(
    JNIEnv* env, jclass cls, jobject self, jobject in, jobject h, jint value) {
  return call_as<QUMEN_CmsStrSignDetachInitMem>(SignDetach::InitMem{}, env, cls, self, in, h,
                                                value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject h, jobject in, jobject out) {
  return call_as<QUMEN_CmsStrSignDetachUpdateMem>(SignDetach::UpdateMem{}, env, cls, self, h, in,
                                                  out);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFinalMem(
    JNIEnv* env, jclass cls, jobject self, jobject h, jobject out, jobject out2) {
  return call_as<QUMEN_CmsStrSignDetachFinalMem>(SignDetach::FinalMem{}, env, cls, self, h, out,
                                                 out2);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrSignDetachFile(
    JNIEnv* env, jclass cls, jobject self, jstring in, jstring out, jstring out2, jint value) {
  return call_as<QUMEN_CmsStrSignDetachFile>(SignDetach::StrFile{}, env, cls, self, in, out, out2,
                                             value);
}

// MsgInf
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfMem(JNIEnv* env, jclass cls,
                                                                       jobject self, jobject in,
                                                                       jobject result, jint value) {
  return call_as<QUMEN_CmsBlkMsgInfMem>(MsgInf::BlkMem{}, env, cls, self, in, result, value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsBlkMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject self, jstring in,
                                                                        jobject result,
                                                                        jint value) {
  return call_as<QUMEN_CmsBlkMsgInfFile>(MsgInf::BlkFile{}, env, cls, self, in, result, value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfInitMem(JNIEnv* env, jclass cls,
                                                                           jobject self, jobject in,
                                                                           jobject h, jint value) {
  return call_as<QUMEN_CmsStrMsgInfInitMem>(MsgInf::InitMem{}, env, cls, self, in, h, value);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfUpdateMem(
    JNIEnv* env, jclass cls, jobject self, jobject h, jobject in) {
  return call_as<QUMEN_CmsStrMsgInfUpdateMem>(MsgInf::UpdateMem{}, env, cls, self, h, in);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFinalMem(JNIEnv* env, jclass cls,
                                                                            jobject self, jobject h,
                                                                            jobject result) {
  return call_as<QUMEN_CmsStrMsgInfFinalMem>(MsgInf::FinalMem{}, env, cls, self, h, result);
}
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CmsStrMsgInfFile(JNIEnv* env, jclass cls,
                                                                        jobject self, jstring in,
                                                                        jobject result,
                                                                        jint value) {
  return call_as<QUMEN_CmsStrMsgInfFile>(MsgInf::StrFile{}, env, cls, self, in, result, value);
}

}  // extern "C"
