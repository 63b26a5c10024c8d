#include "tsp.h"

#include "common.h"

namespace tvj {

void jobject2tsp_request_param_t(JNIEnv* env, jobject obj, tsp_request_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return;
  JavaObject<kTspRequestParamClass> o(env, obj, "jobject2tsp_request_param_t");
  o.read<"flag">(rec->flag) && o.read<"index">(rec->index);
}

void jobject2tsp_response_param_t(JNIEnv* env, jobject obj, tsp_response_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return;
  JavaObject<kTspResponseParamClass> o(env, obj, "jobject2tsp_response_param_t");
  o.read<"flag">(rec->flag);
}

void jobject2tsp_verify_param_t(JNIEnv* env, jobject obj, tsp_verify_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return;
  JavaObject<kTspVerifyParamClass> o(env, obj, "jobject2tsp_verify_param_t");
  o.read<"flag">(rec->flag) && o.read<"index">(rec->index) && o.read<"info">(rec->info);
}

void tsp_verify_result_t2jobject(JNIEnv* env, jobject obj, tsp_verify_result_t* rec,
                                 context_t context) {
  if (obj != nullptr) {
    JavaObject<kTspVerifyResultClass> o(env, obj, "tsp_verify_result_t2jobject");
    if (!o.write_time<"timeEx">(rec->timeEx) ||
        !write_record<"cert", kCertificateClass, certificate_t2jobject>(o, rec->cert, context))
      return;
  }
  QUMEN_TspFreeVerifyResult(context, rec);
  zero(rec);
}

}  // namespace tvj
