// Results of the native parsers: a CRL with its revoked certificates, an alternative-name
// extension with its otherName entries, and a basic-constraints extension. Native to Java only.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "extensions.h"

namespace tvj {

inline constexpr JavaClass kCrlClass{"Norv1/LocalIface$crl_t",
                                     {{"fields", "I"},
                                      {"issuer", kStringSig},
                                      {"lastUpdateEx", "J"},
                                      {"nextUpdateEx", "J"},
                                      {"number", "I"},
                                      {"revcert_num", "I"},
                                      {"revcerts", "[LNorv1/LocalIface$revcert_t;"},
                                      {"crlEncoded", "LNorv1/LocalIface$mem_blk_t;"},
                                      {"crlHash", "LNorv1/LocalIface$mem_blk_t;"}}};
inline constexpr JavaClass kRevcertClass{
    "Norv1/LocalIface$revcert_t",
    {{"serialNumber", kStringSig}, {"revtimeEx", "J"}, {"reason", "I"}}};
inline constexpr JavaClass kAltnameExClass{
    "Norv1/LocalIface$altname_ex_t",
    {{"othername_num", "I"}, {"othernames", "[LNorv1/LocalIface$othername_t;"}}};
inline constexpr JavaClass kOthernameClass{"Norv1/LocalIface$othername_t",
                                           {{"oid", kStringSig}, {"name", kStringSig}}};
inline constexpr JavaClass kBasicConstraintsClass{"Norv1/LocalIface$basic_constraints_ex_t",
                                                  {{"ca", "I"}, {"pathlen", "I"}}};

// Each fills `obj` in place (a null object only releases), releases the native record (strings
// and buffers as they are converted, the rest with QUMEN_FreeCrl or QUMEN_FreeAltnameEx) and
// zeroes it. On a failure the unconverted parts stay in the record.
bool crl_t2jobject(JNIEnv* env, jobject obj, crl_t* rec, context_t context);
bool revcert_t2jobject(JNIEnv* env, jobject obj, revcert_t* rec, context_t context);
bool altname_ex_t2jobject(JNIEnv* env, jobject obj, altname_ex_t* rec, context_t context);
bool othername_t2jobject(JNIEnv* env, jobject obj, othername_t* rec, context_t context);
// No pointers: nothing to release; the record is zeroed.
bool basic_constraints_ex_t2jobject(JNIEnv* env, jobject obj, basic_constraints_ex_t* rec,
                                    context_t context);

using CrlOut = RecordOut<crl_t, crl_t2jobject, QUMEN_FreeCrl>;
using AltnameExOut = RecordOut<altname_ex_t, altname_ex_t2jobject, QUMEN_FreeAltnameEx>;
using BasicConstraintsOut = RecordOut<basic_constraints_ex_t, basic_constraints_ex_t2jobject,
                                      nothing_to_release<basic_constraints_ex_t>>;

}  // namespace tvj
