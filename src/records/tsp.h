// Time-stamp records: options of a request, a response and a verification, and the outcome of
// a verification with the certificate of the time-stamp authority.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "certificate.h"

namespace tvj {

inline constexpr JavaClass kTspRequestParamClass{"Norv1/LocalIface$tsp_request_param_t",
                                                 {{"flag", "I"}, {"index", "I"}}};
inline constexpr JavaClass kTspResponseParamClass{"Norv1/LocalIface$tsp_response_param_t",
                                                  {{"flag", "I"}}};
inline constexpr JavaClass kTspVerifyParamClass{"Norv1/LocalIface$tsp_verify_param_t",
                                                {{"flag", "I"}, {"index", "I"}, {"info", "I"}}};
inline constexpr JavaClass kTspVerifyResultClass{
    "Norv1/LocalIface$tsp_verify_result_t",
    {{"timeEx", "J"}, {"cert", "LNorv1/LocalIface$certificate_t;"}}};
// Option records: a null object gives a zero record; the calls zero them afterwards.
bool jobject2tsp_request_param_t(JNIEnv* env, jobject obj, tsp_request_param_t* rec);
bool jobject2tsp_response_param_t(JNIEnv* env, jobject obj, tsp_response_param_t* rec);
bool jobject2tsp_verify_param_t(JNIEnv* env, jobject obj, tsp_verify_param_t* rec);

// The outcome: fills `obj` (a null object only releases), then QUMEN_TspFreeVerifyResult and
// zero. `cert` is a new certificate_t, or null when the library gave none.
bool tsp_verify_result_t2jobject(JNIEnv* env, jobject obj, tsp_verify_result_t* rec,
                                 context_t context);

using TspRequestParam = RecordIn<tsp_request_param_t, jobject2tsp_request_param_t>;
using TspResponseParam = RecordIn<tsp_response_param_t, jobject2tsp_response_param_t>;
using TspVerifyParam = RecordIn<tsp_verify_param_t, jobject2tsp_verify_param_t>;
using TspVerifyResult =
    RecordOut<tsp_verify_result_t, tsp_verify_result_t2jobject, QUMEN_TspFreeVerifyResult>;

}  // namespace tvj
