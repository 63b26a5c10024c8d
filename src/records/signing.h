// Signing and verification records: how to sign, what a verification or a policy check
// requires, and the outcome of a verification with each signer's certificate.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "certificate.h"

namespace tvj {

inline constexpr JavaClass kSignParamClass{"Norv1/LocalIface$sign_param_t", {{"flag", "I"}}};
inline constexpr JavaClass kVerifyParamClass{"Norv1/LocalIface$verify_param_t",
                                             {{"flag", "I"},
                                              {"keyUsage", "I"},
                                              {"policy_num", "I"},
                                              {"policies", "[LNorv1/LocalIface$policy_t;"},
                                              {"extkeyusage_num", "I"},
                                              {"extKeyUsage", "[LNorv1/LocalIface$extkeyusage_t;"},
                                              {"extension_num", "I"},
                                              {"extensions", "[LNorv1/LocalIface$extension_t;"},
                                              {"nSignToDelete", "I"},
                                              {"minsigns", "I"},
                                              {"info", "I"}}};
inline constexpr JavaClass kVerifyPolicyParamClass{
    "Norv1/LocalIface$verify_policy_param_t",
    {{"flag", "I"},
     {"check_timeEx", "J"},
     {"keyusage", "I"},
     {"eku_num", "I"},
     {"extkeyusages", "[LNorv1/LocalIface$extkeyusage_t;"},
     {"policy_num", "I"},
     {"policies", "[LNorv1/LocalIface$policy_t;"}}};
inline constexpr JavaClass kVerifyResultClass{
    "Norv1/LocalIface$verify_result_t",
    {{"sign_num", "I"}, {"signs", "[LNorv1/LocalIface$sign_status_t;"}}};
inline constexpr JavaClass kSignStatusClass{
    "Norv1/LocalIface$sign_status_t",
    {{"status", "I"}, {"timeEx", "J"}, {"cert", "LNorv1/LocalIface$certificate_t;"}}};

// Parameter records, Java to native; a null object gives an all-zero record (verify_policy_param_t
// included: its size field is 56 only for a present object).
bool jobject2sign_param_t(JNIEnv* env, jobject obj, sign_param_t* rec);
bool jobject2verify_param_t(JNIEnv* env, jobject obj, verify_param_t* rec);
bool jobject2verify_policy_param_t(JNIEnv* env, jobject obj, verify_policy_param_t* rec);
void verify_param_tFree(JNIEnv* env, jobject obj, verify_param_t* rec);
void verify_policy_param_tFree(JNIEnv* env, jobject obj, verify_policy_param_t* rec);

// The outcome of a verification into Java: a new sign_status_t per signature, each with a new
// certificate_t when the library gave one. The whole result then goes back with
// QUMEN_FreeVerifyResult (also for a null Java object) and is zeroed.
bool verify_result_t2jobject(JNIEnv* env, jobject obj, verify_result_t* rec, context_t context);
bool sign_status_t2jobject(JNIEnv* env, jobject obj, sign_status_t* rec, context_t context);

// Frame kinds of this family.
using SignParam = RecordIn<sign_param_t, jobject2sign_param_t>;
using VerifyParam = RecordIn<verify_param_t, jobject2verify_param_t, verify_param_tFree>;
using VerifyPolicyParam =
    RecordIn<verify_policy_param_t, jobject2verify_policy_param_t, verify_policy_param_tFree>;
using VerifyResult = RecordOut<verify_result_t, verify_result_t2jobject, QUMEN_FreeVerifyResult>;

}  // namespace tvj
