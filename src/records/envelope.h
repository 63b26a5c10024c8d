// Envelope records: encryption and decryption parameters, the sender of a decrypted message,
// and what the library reads from signed and encrypted messages: signatures with their signers'
// identifiers, recipients and sender. certid_t holds one of four kinds of identifier.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "certificate.h"

namespace tvj {

inline constexpr JavaClass kEncryptParamClass{
    "Norv1/LocalIface$encrypt_param_t",
    {{"flag", "I"}, {"receiver_num", "I"}, {"receivers", "[LNorv1/LocalIface$certificate_t;"}}};
inline constexpr JavaClass kDecryptParamClass{"Norv1/LocalIface$decrypt_param_t",
                                              {{"flag", "I"}, {"info", "I"}}};
inline constexpr JavaClass kDecryptResultClass{"Norv1/LocalIface$decrypt_result_t",
                                               {{"sender", "LNorv1/LocalIface$certificate_t;"}}};
inline constexpr JavaClass kIssuerSerialClass{
    "Norv1/LocalIface$issuer_and_serial_t", {{"issuer", kStringSig}, {"serialNumber", kStringSig}}};
inline constexpr JavaClass kCertidClass{"Norv1/LocalIface$certid_t",
                                        {{"type", "I"},
                                         {"ias", "LNorv1/LocalIface$issuer_and_serial_t;"},
                                         {"keyId", kStringSig},
                                         {"certHash", "LNorv1/LocalIface$mem_blk_t;"},
                                         {"alias", kStringSig}}};
inline constexpr JavaClass kSignInfoClass{
    "Norv1/LocalIface$sign_info_t", {{"timeEx", "J"}, {"certid", "LNorv1/LocalIface$certid_t;"}}};
inline constexpr JavaClass kSignedInfoResultClass{
    "Norv1/LocalIface$signed_info_result_t",
    {{"type", "I"}, {"sign_num", "I"}, {"infos", "[LNorv1/LocalIface$sign_info_t;"}}};
inline constexpr JavaClass kEncryptedInfoResultClass{
    "Norv1/LocalIface$encrypted_info_result_t",
    {{"type", "I"},
     {"recipients_num", "I"},
     {"recipients", "[LNorv1/LocalIface$certid_t;"},
     {"sender", "LNorv1/LocalIface$certid_t;"}}};

// Parameters, Java to native. The receivers' certificates are converted one by one
// (jobject2certificate_t); receiver_num alone says how many, whatever the array's length.
bool jobject2encrypt_param_t(JNIEnv* env, jobject obj, encrypt_param_t* rec);
void encrypt_param_tFree(JNIEnv* env, jobject obj, encrypt_param_t* rec);
bool jobject2decrypt_param_t(JNIEnv* env, jobject obj, decrypt_param_t* rec);

// Results, native to Java: each converts every field, then gives the record back to the library
// (QUMEN_FreeDecryptResult, QUMEN_FreeCertId, QUMEN_FreeSignedInfoResult,
// QUMEN_FreeEncryptedInfoResult) and zeroes it; a null Java object only releases. A failure
// stops the conversion and leaves the rest of the record unreleased.
bool decrypt_result_t2jobject(JNIEnv* env, jobject obj, decrypt_result_t* rec, context_t context);
bool issuer_and_serial_t2jobject(JNIEnv* env, jobject obj, issuer_and_serial_t* rec,
                                 context_t context);
// The field that `type` names (0 ias, 1 keyId, 2 certHash, 3 alias) gets the identifier; the
// three others, and all four for another type, become null.
bool certid_t2jobject(JNIEnv* env, jobject obj, certid_t* rec, context_t context);
bool sign_info_t2jobject(JNIEnv* env, jobject obj, sign_info_t* rec, context_t context);
bool signed_info_result_t2jobject(JNIEnv* env, jobject obj, signed_info_result_t* rec,
                                  context_t context);
bool encrypted_info_result_t2jobject(JNIEnv* env, jobject obj, encrypted_info_result_t* rec,
                                     context_t context);

using EncryptParam = RecordIn<encrypt_param_t, jobject2encrypt_param_t, encrypt_param_tFree>;
using DecryptParam = RecordIn<decrypt_param_t, jobject2decrypt_param_t>;
using DecryptResult =
    RecordOut<decrypt_result_t, decrypt_result_t2jobject, QUMEN_FreeDecryptResult>;
using SignedInfoResult =
    RecordOut<signed_info_result_t, signed_info_result_t2jobject, QUMEN_FreeSignedInfoResult>;
using EncryptedInfoResult = RecordOut<encrypted_info_result_t, encrypted_info_result_t2jobject,
                                      QUMEN_FreeEncryptedInfoResult>;

}  // namespace tvj
