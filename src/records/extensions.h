// Certificate extension records: a policy, an extended key usage, a raw extension. They travel
// only as elements of the arrays of certificate_t, verify_param_t and verify_policy_param_t.
#pragma once

#include <jni.h>

#include "../core/java_class.h"
#include "../native/tarvex.h"

namespace tvj {

inline constexpr const char* kStringSig = "Ljava/lang/String;";

inline constexpr JavaClass kPolicyClass{
    "Norv1/LocalIface$policy_t",
    {{"oid", kStringSig}, {"org_name", kStringSig}, {"not_num", "I"}, {"text", kStringSig}}};
inline constexpr JavaClass kExtKeyUsageClass{"Norv1/LocalIface$extkeyusage_t",
                                             {{"oid", kStringSig}}};
inline constexpr JavaClass kExtensionClass{
    "Norv1/LocalIface$extension_t",
    {{"oid", kStringSig}, {"type", "I"}, {"critical", "I"}, {"len", "I"}, {"data", "[B"}}};

// Java to native: a null object gives a zero record. The strings are copies in the call's
// memory; extension_t.data is a copy of the first `len` bytes of the Java array (a `len` beyond
// the array is refused: ArrayIndexOutOfBoundsException "jobject2extension_t:len").
bool jobject2policy_t(JNIEnv* env, jobject obj, policy_t* rec);
bool jobject2extkeyusage_t(JNIEnv* env, jobject obj, extkeyusage_t* rec);
bool jobject2extension_t(JNIEnv* env, jobject obj, extension_t* rec);

// Native to Java, on an object the caller made: each native block is released with
// QUMEN_FreeMem as its contents reach Java, and the record is zero afterwards.
bool policy_t2jobject(JNIEnv* env, jobject obj, policy_t* rec, context_t context);
bool extkeyusage_t2jobject(JNIEnv* env, jobject obj, extkeyusage_t* rec, context_t context);
bool extension_t2jobject(JNIEnv* env, jobject obj, extension_t* rec, context_t context);

// Releases after a conversion to native: the record is cleared (its memory is the call's).
void policy_tFree(JNIEnv* env, policy_t* rec);
void extkeyusage_tFree(JNIEnv* env, extkeyusage_t* rec);
void extension_tFree(JNIEnv* env, jobject obj, extension_t* rec);

}  // namespace tvj
