#include "store.h"

#include "common.h"

namespace tvj {

namespace {

template <const auto& Class, typename Rec>
bool option_record(JNIEnv* env, jobject obj, Rec* rec, const char* converter) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<Class> o(env, obj, converter);
  return o.template read<"flag">(rec->flag);
}

}  // namespace

bool jobject2import_param_t(JNIEnv* env, jobject obj, import_param_t* rec) {
  return option_record<kImportParamClass>(env, obj, rec, "jobject2import_param_t");
}

bool jobject2export_param_t(JNIEnv* env, jobject obj, export_param_t* rec) {
  return option_record<kExportParamClass>(env, obj, rec, "jobject2export_param_t");
}

bool jobject2add_param_t(JNIEnv* env, jobject obj, add_param_t* rec) {
  return option_record<kAddParamClass>(env, obj, rec, "jobject2add_param_t");
}

bool jobject2find_param_t(JNIEnv* env, jobject obj, find_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kFindParamClass> o(env, obj, "jobject2find_param_t");
  return o.read<"flag">(rec->flag) &&
         read_record<"certTemplate", jobject2certificate_t>(o, &rec->certTemplate) &&
         o.read<"info">(rec->info);
}

void find_param_tFree(JNIEnv* env, jobject obj, find_param_t* rec) {
  certificate_tFree(env, obj, &rec->certTemplate);
  rec->flag = 0;
  rec->reserved = 0;
  rec->info = 0;
}

bool find_result_t2jobject(JNIEnv* env, jobject obj, find_result_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kFindResultClass> o(env, obj, "find_result_t2jobject");
    if (!o.write<"num">(rec->num) ||
        !write_records<"certs", kCertificateClass, certificate_t2jobject>(o, rec->certs, rec->num,
                                                                          context))
      return false;
  }
  QUMEN_FreeFindResult(context, rec);
  zero(rec);
  return true;
}

}  // namespace tvj
