// OCSP records: options of a request, a response and a verification, and the certificate status
// a verified response states, with the certificate the library reports.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "certificate.h"

namespace tvj {

inline constexpr JavaClass kOcspRequestParamClass{"Norv1/LocalIface$ocsp_request_param_t",
                                                  {{"flag", "I"}}};
inline constexpr JavaClass kOcspResponseParamClass{"Norv1/LocalIface$ocsp_response_param_t",
                                                   {{"flag", "I"}}};
inline constexpr JavaClass kOcspVerifyParamClass{"Norv1/LocalIface$ocsp_verify_param_t",
                                                 {{"flag", "I"}, {"info", "I"}}};
inline constexpr JavaClass kOcspVerifyResultClass{"Norv1/LocalIface$ocsp_verify_result_t",
                                                  {{"status", "I"},
                                                   {"reason", "I"},
                                                   {"revtimeEx", "J"},
                                                   {"thisupdEx", "J"},
                                                   {"nextupdEx", "J"},
                                                   {"cert", "LNorv1/LocalIface$certificate_t;"}}};

// Option records: a null object gives a zero record; the calls zero them afterwards.
bool jobject2ocsp_request_param_t(JNIEnv* env, jobject obj, ocsp_request_param_t* rec);
bool jobject2ocsp_response_param_t(JNIEnv* env, jobject obj, ocsp_response_param_t* rec);
bool jobject2ocsp_verify_param_t(JNIEnv* env, jobject obj, ocsp_verify_param_t* rec);

// The outcome: fills `obj` (a null object only releases), then QUMEN_OcspFreeVerifyResult and
// zero. `cert` is a new certificate_t, or null when the library gave none.
bool ocsp_verify_result_t2jobject(JNIEnv* env, jobject obj, ocsp_verify_result_t* rec,
                                  context_t context);

using OcspRequestParam = RecordIn<ocsp_request_param_t, jobject2ocsp_request_param_t>;
using OcspResponseParam = RecordIn<ocsp_response_param_t, jobject2ocsp_response_param_t>;
using OcspVerifyParam = RecordIn<ocsp_verify_param_t, jobject2ocsp_verify_param_t>;
using OcspVerifyResult =
    RecordOut<ocsp_verify_result_t, ocsp_verify_result_t2jobject, QUMEN_OcspFreeVerifyResult>;

}  // namespace tvj
