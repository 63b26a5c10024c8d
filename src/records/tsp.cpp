#include "tsp.h"

#include "common.h"

namespace tvj {

bool jobject2tsp_request_param_t(JNIEnv* env, jobject obj, tsp_request_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kTspRequestParamClass> o(env, obj, "jobject2tsp_request_param_t");
  return o.read<"flag">(rec->flag) && o.read<"index">(rec->index);
}

bool jobject2tsp_response_param_t(JNIEnv* env, jobject obj, tsp_response_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kTspResponseParamClass> o(env, obj, "jobject2tsp_response_param_t");
  return o.read<"flag">(rec->flag);
}

bool jobject2tsp_verify_param_t(JNIEnv* env, jobject obj, tsp_verify_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kTspVerifyParamClass> o(env, obj, "jobject2tsp_verify_param_t");
  return o.read<"flag">(rec->flag) && o.read<"index">(rec->index) && o.read<"info">(rec->info);
}

bool tsp_verify_result_t2jobject(JNIEnv* env, jobject obj, tsp_verify_result_t* rec,
                                 context_t context) {
  if (obj != nullptr) {
    JavaObject<kTspVerifyResultClass> o(env, obj, "tsp_verify_result_t2jobject");
    if (!o.write_time<"timeEx">(rec->timeEx) ||
        !write_record<"cert", kCertificateClass, certificate_t2jobject>(o, rec->cert, context))
      return false;
  }
  QUMEN_TspFreeVerifyResult(context, rec);
  zero(rec);
  return true;
}

}  // namespace tvj
