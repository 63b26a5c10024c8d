// What the tests know of each exported method that the surface cannot tell them: how it
// reaches the library. The methods themselves, their names and descriptors, come from LocalIface
// when the bridge is built (native_methods.h: TVJ_NATIVE_METHODS); every one of them is named
// here once, as a layout or as a departure, which this header checks when it is compiled.
//
// TVJ_FRAME_METHODS(ROW): every method that follows the call frame, ROW(op, layout) once for
// each, with nothing between them. The layout is its Java parameters after context, one letter
// each, which are also the native function's arguments after the context, in order. Upper case:
// what the library reads (a record by its letter, I an input block, N a String, T an int, G a
// long, C a certificate, J a handle by value, _ a position it receives as null); lower case: a
// record it fills; O an output block; H a handle by address; W an int[1] state word read and
// written. (ControlEx is here with a common selector; selector 4 departs.)
//
// TVJ_DEPARTING_METHODS(METHOD): the methods that depart from the frame and have tests of their
// own: the lifecycle, GetErrorText, EncodeMem and DecodeMem, the store enumerations,
// CreateCertificateStore and QueryRegistryProfile.
#pragma once

#include <native_methods.h>

#include <iterator>
#include <string_view>

// clang-format off
#define TVJ_FRAME_METHODS(ROW) \
  /* Diagnostics, hashing and one-shot signing. */ \
    ROW(GetErrorLineEx, "OOWO") ROW(GenRandom, "TO") ROW(UpdateCRLs, "") \
    ROW(ExportToSystemStore, "T") ROW(ControlEx, "GTIOT")  /* selector 101: the common path */ \
    ROW(HashMem, "IO") ROW(HashFile, "NO") ROW(BlkHashMem, "NIO") ROW(BlkHashFile, "NNO") \
    ROW(SignMem, "SIIO") ROW(SignFile, "SNNN") ROW(VerifyMem, "VIIOr") ROW(VerifyFile, "VNNNr") \
    ROW(SignHashMem, "_IO") ROW(VerifyHashMem, "_III") \
  /* Inspection. */ \
    ROW(ParseCert, "ITc") ROW(VerifyCert, "VIc") ROW(VerifyCertificatePolicy, "LI") \
    ROW(ParseCrl, "ITl") ROW(VerifyCrlPolicy, "LI") ROW(ParseAltnameEx, "Ia") \
    ROW(ParseBasicConstraintsEx, "Ib") ROW(ParseKeyIdentifierEx, "IO") ROW(ShowCertificate, "I") \
    ROW(ShowCrl, "I") ROW(ShowCertificateEx, "GI") ROW(ShowCrlEx, "GI") ROW(ShowRequestEx, "GI") \
    ROW(ShowRevocationEx, "GI") ROW(CreateXmlRequest, "TCO") \
  /* PKCS#7 envelopes. */ \
    ROW(EncryptMem, "EIO") ROW(EncryptFile, "ENN") ROW(DecryptMem, "DIOd") ROW(DecryptFile, "DNNd") \
    ROW(SignedInfoMem, "Is") ROW(SignedInfoFile, "Ns") ROW(EncryptedInfoMem, "Ie") \
    ROW(EncryptedInfoFile, "Ne") ROW(AttachSignMem, "IIO") ROW(AttachSignFile, "NNN") \
    ROW(DetachSignMem, "IOO") ROW(DetachSignFile, "NNN") ROW(VerifyAndSignMem, "VSIIOr") \
    ROW(VerifyAndSignFile, "VSNNNr") ROW(SignAndEncryptMem, "SEIO") ROW(SignAndEncryptFile, "SENN") \
    ROW(DecryptAndVerifyMem, "DVIOdr") ROW(DecryptAndVerifyFile, "DVNNdr") \
    ROW(GetPkcs7InfoMem, "Ip") ROW(GetPkcs7InfoFile, "Np") \
  /* Streaming. */ \
    ROW(StrHashInitMem, "NH") ROW(StrHashUpdateMem, "HI") ROW(StrHashFinalMem, "HO") \
    ROW(StrHashFile, "NNO") ROW(StrSignInitMem, "SIH") ROW(StrSignUpdateMem, "SHI") \
    ROW(StrSignFinalMem, "SHO") ROW(StrSignFile, "SNNN") ROW(StrVerifyInitMem, "VIH") \
    ROW(StrVerifyUpdateMem, "VHI") ROW(StrVerifyFinalMem, "VHOr") ROW(StrVerifyFile, "VNNNr") \
    ROW(StrEncryptInitMem, "EH") ROW(StrEncryptUpdateMem, "EHIO") ROW(StrEncryptFinalMem, "EHO") \
    ROW(StrEncryptFile, "ENN") ROW(StrDecryptInitMem, "DIWH") ROW(StrDecryptUpdateMem, "DHIWO") \
    ROW(StrDecryptFinalMem, "DHd") ROW(StrDecryptFile, "DNNd") ROW(StrEncryptedInfoMem, "Ie") \
    ROW(StrEncryptedInfoFile, "Ne") \
  /* CMS. */ \
    ROW(CmsBlkAttSignMem, "SIO") ROW(CmsBlkAttSignFile, "SNN") ROW(CmsStrAttSignInitMem, "SIH") \
    ROW(CmsStrAttSignUpdateMem, "SHIO") ROW(CmsStrAttSignFinalMem, "SHO") \
    ROW(CmsStrAttSignFile, "SNN") ROW(CmsBlkDetSignMem, "SIIO") ROW(CmsBlkDetSignFile, "SNNN") \
    ROW(CmsStrDetSignInitMem, "SIH") ROW(CmsStrDetSignUpdateMem, "SHI") \
    ROW(CmsStrDetSignFinalMem, "SHO") ROW(CmsStrDetSignFile, "SNNN") \
    ROW(CmsBlkAttVerifyMem, "VIOr") ROW(CmsBlkAttVerifyFile, "VNNr") \
    ROW(CmsStrAttVerifyInitMem, "VIH") ROW(CmsStrAttVerifyUpdateMem, "VHIO") \
    ROW(CmsStrAttVerifyFinalMem, "VHOr") ROW(CmsStrAttVerifyFile, "VNNr") \
    ROW(CmsBlkDetVerifyMem, "VIIOr") ROW(CmsBlkDetVerifyFile, "VNNNr") \
    ROW(CmsStrDetVerifyInitMem, "VIH") ROW(CmsStrDetVerifyUpdateMem, "VHI") \
    ROW(CmsStrDetVerifyFinalMem, "VHOr") ROW(CmsStrDetVerifyFile, "VNNNr") \
    ROW(CmsBlkEncryptMem, "EIO") ROW(CmsBlkEncryptFile, "ENN") ROW(CmsStrEncryptInitMem, "EIH") \
    ROW(CmsStrEncryptUpdateMem, "EHIO") ROW(CmsStrEncryptFinalMem, "EHO") \
    ROW(CmsStrEncryptFile, "ENN") ROW(CmsBlkDecryptMem, "DIOd") ROW(CmsBlkDecryptFile, "DNNd") \
    ROW(CmsStrDecryptInitMem, "DIH") ROW(CmsStrDecryptUpdateMem, "DHIO") \
    ROW(CmsStrDecryptFinalMem, "DHOd") ROW(CmsStrDecryptFile, "DNNd") \
    ROW(CmsBlkSignAttachMem, "IIOT") ROW(CmsBlkSignAttachFile, "NNNT") \
    ROW(CmsBlkSignDetachMem, "IOOT") ROW(CmsBlkSignDetachFile, "NNNT") \
    ROW(CmsStrSignDetachInitMem, "IHT") ROW(CmsStrSignDetachUpdateMem, "HIO") \
    ROW(CmsStrSignDetachFinalMem, "HOO") ROW(CmsStrSignDetachFile, "NNNT") \
    ROW(CmsBlkMsgInfMem, "ImT") ROW(CmsBlkMsgInfFile, "NmT") ROW(CmsStrMsgInfInitMem, "IHT") \
    ROW(CmsStrMsgInfUpdateMem, "HI") ROW(CmsStrMsgInfFinalMem, "Hm") ROW(CmsStrMsgInfFile, "NmT") \
  /* Stores and profiles. */ \
    ROW(ImportMem, "MI") ROW(ImportFile, "MN") ROW(ExportMem, "XO") ROW(ExportFile, "XN") \
    ROW(AddCertificate, "AI") ROW(AddCRL, "AI") ROW(FindCert, "Ff") ROW(IssueCertificateStore, "INN") \
    ROW(CreateRegistryProfile, "NNT") ROW(CreateRegistryProfileEx, "NNNNT") \
    ROW(QueryRegistryProfileEx, "OOOOT") \
  /* Time stamps, OCSP and TLS sessions. */ \
    ROW(TspBlkRequestFromCmsMem, "QIO") ROW(TspRequestFromPkcs7, "QIO") \
    ROW(TspBlkRequestFromCmsFile, "QNO") ROW(TspSignResponse, "RIO") ROW(TspVerifyResponse, "YIt") \
    ROW(TspBlkVerifyCmsMem, "YIt") ROW(TspVerifyPkcs7Mem, "YIt") ROW(TspBlkVerifyCmsFile, "YNt") \
    ROW(TspStrVerifyCmsFile, "YNt") ROW(TspVerifyPkcs7File, "YNt") ROW(TspBlkUrlStampCmsMem, "QNIO") \
    ROW(TspUrlStampPkcs7Mem, "QNIO") ROW(TspBlkUrlStampCmsFile, "QNNN") \
    ROW(TspStrUrlStampCmsFile, "QNNN") ROW(TspUrlStampPkcs7File, "QNNN") \
    ROW(TspStrUrlStampCmsInitMem, "QNIH") ROW(TspStrUrlStampCmsUpdateMem, "QNHIO") \
    ROW(TspStrUrlStampCmsFinalMem, "QNHO") ROW(TspStrVerifyCmsInitMem, "YIH") \
    ROW(TspStrVerifyCmsUpdateMem, "YHI") ROW(TspStrVerifyCmsFinalMem, "YHt") \
    ROW(OcspCreateRequest, "PIO") ROW(OcspUrlObtainResponse, "PNIO") ROW(OcspSignResponse, "KIO") \
    ROW(OcspVerifyResponse, "ZIx") ROW(TlsSessionCreate, "NHT") ROW(TlsSessionDestroy, "H") \
    ROW(TlsSessionHandshake, "JIO") ROW(TlsSessionComplete, "J") ROW(TlsSessionQuery, "JTO") \
    ROW(TlsSessionWrite, "JIO") ROW(TlsSessionRead, "JIO")

#define TVJ_DEPARTING_METHODS(METHOD) \
    METHOD(Initialize) METHOD(InitializeEx) METHOD(InitMinimal) METHOD(Uninitialize) \
    METHOD(GetErrorText) METHOD(EncodeMem) METHOD(DecodeMem) METHOD(EnumStoreObjects) \
    METHOD(EnumStoreObjectsEx) METHOD(CreateCertificateStore) METHOD(QueryRegistryProfile)
// clang-format on

namespace layouts {

#define TVJ_LAYOUT_NAME(op, ...) #op,
inline constexpr std::string_view kNativeMethods[] = {TVJ_NATIVE_METHODS(TVJ_LAYOUT_NAME)};
inline constexpr std::string_view kFrameMethods[] = {TVJ_FRAME_METHODS(TVJ_LAYOUT_NAME)};
inline constexpr std::string_view kDepartingMethods[] = {TVJ_DEPARTING_METHODS(TVJ_LAYOUT_NAME)};
#undef TVJ_LAYOUT_NAME

constexpr bool each_method_once() {
  for (std::string_view method : kNativeMethods) {
    int times = 0;
    for (std::string_view op : kFrameMethods) times += op == method;
    for (std::string_view op : kDepartingMethods) times += op == method;
    if (times != 1) return false;
  }
  return std::size(kFrameMethods) + std::size(kDepartingMethods) == std::size(kNativeMethods);
}
static_assert(each_method_once(),
              "every native method of LocalIface is a frame method or a departure, once");

}  // namespace layouts
