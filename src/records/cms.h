// CMS message information: a message's signers or recipients (one list, chosen by the message's
// type), each with certificate identifiers, algorithms and attributes as texts. Native to Java
// only; the whole tree goes back to the library with QUMEN_CmsFreeMsgInf.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "extensions.h"

namespace tvj {

inline constexpr JavaClass kCmsCertidClass{"Norv1/LocalIface$cms_certid_t",
                                           {{"type", "I"},
                                            {"issuer", kStringSig},
                                            {"subjKeyId", kStringSig},
                                            {"serialNum", kStringSig},
                                            {"certHash", kStringSig}}};
inline constexpr JavaClass kCmsSiginfClass{"Norv1/LocalIface$cms_siginf_t",
                                           {{"version", "I"},
                                            {"digestAlg", kStringSig},
                                            {"signatureAlg", kStringSig},
                                            {"signerId", "LNorv1/LocalIface$cms_certid_t;"},
                                            {"signingTimeEx", "J"},
                                            {"authAttr_num", "I"},
                                            {"authAttrs", "[Ljava/lang/String;"},
                                            {"unauthAttr_num", "I"},
                                            {"unauthAttrs", "[Ljava/lang/String;"}}};
inline constexpr JavaClass kCmsRecinfClass{"Norv1/LocalIface$cms_recinf_t",
                                           {{"type", "I"},
                                            {"index", "I"},
                                            {"version", "I"},
                                            {"originatorId", "LNorv1/LocalIface$cms_certid_t;"},
                                            {"publicKeyAlg", kStringSig},
                                            {"cipherAlg", kStringSig},
                                            {"recipientId", "LNorv1/LocalIface$cms_certid_t;"}}};
inline constexpr JavaClass kCmsMsginfClass{"Norv1/LocalIface$cms_msginf_t",
                                           {{"type", "I"},
                                            {"flags", "I"},
                                            {"signer_num", "I"},
                                            {"signers", "[LNorv1/LocalIface$cms_siginf_t;"},
                                            {"recipient_num", "I"},
                                            {"recipients", "[LNorv1/LocalIface$cms_recinf_t;"},
                                            {"cipherAlg", kStringSig},
                                            {"unprotAttr_num", "I"},
                                            {"unprotAttrs", "[Ljava/lang/String;"}}};

// The top record: fills `obj` (a null object only releases), then QUMEN_CmsFreeMsgInf and zero.
// A failure anywhere in the tree stops the whole conversion.
bool cms_msginf_t2jobject(JNIEnv* env, jobject obj, cms_msginf_t* rec, context_t context);
// The inner records release nothing but their texts; a null object converts nothing.
bool cms_siginf_t2jobject(JNIEnv* env, jobject obj, cms_siginf_t* rec, context_t context);
bool cms_recinf_t2jobject(JNIEnv* env, jobject obj, cms_recinf_t* rec, context_t context);
// Type 1 fills issuer, serialNum and certHash; type 2 subjKeyId (the same native slot as
// issuer); any other type only `type`.
bool cms_certid_t2jobject(JNIEnv* env, jobject obj, cms_certid_t* rec, context_t context);

using CmsMsgInf = RecordOut<cms_msginf_t, cms_msginf_t2jobject, QUMEN_CmsFreeMsgInf>;

}  // namespace tvj
