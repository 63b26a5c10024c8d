#include "ocsp.h"

#include "common.h"

namespace tvj {

bool jobject2ocsp_request_param_t(JNIEnv* env, jobject obj, ocsp_request_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kOcspRequestParamClass> o(env, obj, "jobject2ocsp_request_param_t");
  return o.read<"flag">(rec->flag);
}

bool jobject2ocsp_response_param_t(JNIEnv* env, jobject obj, ocsp_response_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kOcspResponseParamClass> o(env, obj, "jobject2ocsp_response_param_t");
  return o.read<"flag">(rec->flag);
}

bool jobject2ocsp_verify_param_t(JNIEnv* env, jobject obj, ocsp_verify_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kOcspVerifyParamClass> o(env, obj, "jobject2ocsp_verify_param_t");
  return o.read<"flag">(rec->flag) && o.read<"info">(rec->info);
}

bool ocsp_verify_result_t2jobject(JNIEnv* env, jobject obj, ocsp_verify_result_t* rec,
                                  context_t context) {
  if (obj != nullptr) {
    JavaObject<kOcspVerifyResultClass> o(env, obj, "ocsp_verify_result_t2jobject");
    bool done =
        o.write<"status">(rec->status) && o.write<"reason">(rec->reason) &&
        o.write_time<"revtimeEx">(rec->revtimeEx) && o.write_time<"thisupdEx">(rec->thisupdEx) &&
        o.write_time<"nextupdEx">(rec->nextupdEx) &&
        write_record<"cert", kCertificateClass, certificate_t2jobject>(o, rec->cert, context);
    if (!done) return false;
  }
  QUMEN_OcspFreeVerifyResult(context, rec);
  zero(rec);
  return true;
}

}  // namespace tvj
