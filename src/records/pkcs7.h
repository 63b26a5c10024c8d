// The structure of a PKCS#7 message as the library reads it: signers (digest, encryption,
// issuer and serial number, attributes as texts), the content cipher, and recipients.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "envelope.h"

namespace tvj {

inline constexpr JavaClass kPkcs7InfoClass{
    "Norv1/LocalIface$pkcs7_info_t",
    {{"type", "I"},
     {"signer_num", "I"},
     {"signers", "[LNorv1/LocalIface$pkcs7_signer_t;"},
     {"dataCipher", kStringSig},
     {"recipient_num", "I"},
     {"recipients", "[LNorv1/LocalIface$pkcs7_recipient_t;"}}};
inline constexpr JavaClass kPkcs7SignerClass{"Norv1/LocalIface$pkcs7_signer_t",
                                             {{"digest", kStringSig},
                                              {"encryption", kStringSig},
                                              {"signer", "LNorv1/LocalIface$issuer_and_serial_t;"},
                                              {"authAttr_num", "I"},
                                              {"authAttrs", "[Ljava/lang/String;"},
                                              {"unauthAttr_num", "I"},
                                              {"unauthAttrs", "[Ljava/lang/String;"}}};
inline constexpr JavaClass kPkcs7RecipientClass{
    "Norv1/LocalIface$pkcs7_recipient_t",
    {{"publicKey", kStringSig}, {"recipient", "LNorv1/LocalIface$issuer_and_serial_t;"}}};

// Fills `obj` in place (a null object only releases), then QUMEN_FreePkcs7Info and zero.
bool pkcs7_info_t2jobject(JNIEnv* env, jobject obj, pkcs7_info_t* rec, context_t context);
// The elements have no release function of the library's: each gives back its blocks one by one
// with QUMEN_FreeMem once converted.
bool pkcs7_signer_t2jobject(JNIEnv* env, jobject obj, pkcs7_signer_t* rec, context_t context);
bool pkcs7_recipient_t2jobject(JNIEnv* env, jobject obj, pkcs7_recipient_t* rec, context_t context);

using Pkcs7Info = RecordOut<pkcs7_info_t, pkcs7_info_t2jobject, QUMEN_FreePkcs7Info>;

}  // namespace tvj
