#include "signing.h"

#include "common.h"

namespace tvj {

bool jobject2sign_param_t(JNIEnv* env, jobject obj, sign_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kSignParamClass> o(env, obj, "jobject2sign_param_t");
  return o.read<"flag">(rec->flag);
}

bool jobject2verify_param_t(JNIEnv* env, jobject obj, verify_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kVerifyParamClass> o(env, obj, "jobject2verify_param_t");
  return o.read<"flag">(rec->flag) && o.read<"keyUsage">(rec->keyUsage) &&
         read_extension_arrays(o, rec) && o.read<"nSignToDelete">(rec->nSignToDelete) &&
         o.read<"minsigns">(rec->minsigns) && o.read<"info">(rec->info);
}

bool jobject2verify_policy_param_t(JNIEnv* env, jobject obj, verify_policy_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  rec->size = sizeof(verify_policy_param_t);
  JavaObject<kVerifyPolicyParamClass> o(env, obj, "jobject2verify_policy_param_t");
  return o.read<"flag">(rec->flag) && read_time<"check_timeEx">(o, &rec->check_timeEx) &&
         o.read<"keyusage">(rec->keyusage) && o.read<"eku_num">(rec->eku_num) &&
         read_records<"extkeyusages", jobject2extkeyusage_t>(o, rec->eku_num, &rec->extkeyusages) &&
         o.read<"policy_num">(rec->policy_num) &&
         read_records<"policies", jobject2policy_t>(o, rec->policy_num, &rec->policies);
}

void verify_param_tFree(JNIEnv*, jobject, verify_param_t* rec) { zero(rec); }

void verify_policy_param_tFree(JNIEnv*, jobject, verify_policy_param_t* rec) {
  uint32_t size = rec->size;  // only the bridge sets it; it stays
  zero(rec);
  rec->size = size;
}

bool verify_result_t2jobject(JNIEnv* env, jobject obj, verify_result_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kVerifyResultClass> o(env, obj, "verify_result_t2jobject");
    if (!o.write<"sign_num">(rec->sign_num) ||
        !write_records<"signs", kSignStatusClass, sign_status_t2jobject>(o, rec->signs,
                                                                         rec->sign_num, context))
      return false;
  }
  QUMEN_FreeVerifyResult(context, rec);
  zero(rec);
  return true;
}

// The signer's certificate record is itself a block of the library: its contents go back
// through certificate_t2jobject, the block with QUMEN_FreeMem.
bool sign_status_t2jobject(JNIEnv* env, jobject obj, sign_status_t* rec, context_t context) {
  JavaObject<kSignStatusClass> o(env, obj, "sign_status_t2jobject");
  if (!o.write<"status">(rec->status) || !o.write_time<"timeEx">(rec->timeEx) ||
      !write_record<"cert", kCertificateClass, certificate_t2jobject>(o, rec->cert, context))
    return false;
  QUMEN_FreeMem(context, rec->cert);
  zero(rec);
  return true;
}

}  // namespace tvj
