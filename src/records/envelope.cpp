#include "envelope.h"

#include "common.h"

namespace tvj {

bool jobject2encrypt_param_t(JNIEnv* env, jobject obj, encrypt_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kEncryptParamClass> o(env, obj, "jobject2encrypt_param_t");
  return o.read<"flag">(rec->flag) && o.read<"receiver_num">(rec->receiver_num) &&
         read_records<"receivers", jobject2certificate_t>(o, rec->receiver_num, &rec->receivers);
}

void encrypt_param_tFree(JNIEnv*, jobject, encrypt_param_t* rec) { zero(rec); }

bool jobject2decrypt_param_t(JNIEnv* env, jobject obj, decrypt_param_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kDecryptParamClass> o(env, obj, "jobject2decrypt_param_t");
  return o.read<"flag">(rec->flag) && o.read<"info">(rec->info);
}

bool decrypt_result_t2jobject(JNIEnv* env, jobject obj, decrypt_result_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kDecryptResultClass> o(env, obj, "decrypt_result_t2jobject");
    if (!write_record<"sender", kCertificateClass, certificate_t2jobject>(o, &rec->sender, context))
      return false;
  }
  QUMEN_FreeDecryptResult(context, rec);
  zero(rec);
  return true;
}

bool issuer_and_serial_t2jobject(JNIEnv* env, jobject obj, issuer_and_serial_t* rec,
                                 context_t context) {
  JavaObject<kIssuerSerialClass> o(env, obj, "issuer_and_serial_t2jobject");
  if (!write_string<"issuer">(o, &rec->issuer, context) ||
      !write_string<"serialNumber">(o, &rec->serialNumber, context))
    return false;
  QUMEN_FreeMem(context, rec->issuer);  // both null by now: the conversions released them
  QUMEN_FreeMem(context, rec->serialNumber);
  zero(rec);
  return true;
}

bool certid_t2jobject(JNIEnv* env, jobject obj, certid_t* rec, context_t context) {
  JavaObject<kCertidClass> o(env, obj, "certid_t2jobject");
  string_t none = nullptr;
  int32_t type = rec->type;
  bool done = o.write<"type">(type) &&
              write_record<"ias", kIssuerSerialClass, issuer_and_serial_t2jobject>(
                  o, type == CERTID_ISSUER_AND_SERIAL ? &rec->ias : nullptr, context) &&
              write_string<"keyId">(o, type == CERTID_KEY_ID ? &rec->keyId : &none, context) &&
              write_record<"certHash", kMemBlkClass, mem_blk_t2jobject>(
                  o, type == CERTID_CERT_HASH ? &rec->certHash : nullptr, context) &&
              write_string<"alias">(o, type == CERTID_ALIAS ? &rec->alias : &none, context);
  if (!done) return false;
  QUMEN_FreeCertId(context, rec);
  zero(rec);
  return true;
}

// The certid_t a signature points to is a block of the library: its contents go back through
// certid_t2jobject, the block with QUMEN_FreeMem. An element without one leaves certid null.
bool sign_info_t2jobject(JNIEnv* env, jobject obj, sign_info_t* rec, context_t context) {
  JavaObject<kSignInfoClass> o(env, obj, "sign_info_t2jobject");
  if (!o.write_time<"timeEx">(rec->timeEx) ||
      !write_record<"certid", kCertidClass, certid_t2jobject>(o, rec->certid, context))
    return false;
  QUMEN_FreeMem(context, rec->certid);
  zero(rec);
  return true;
}

bool signed_info_result_t2jobject(JNIEnv* env, jobject obj, signed_info_result_t* rec,
                                  context_t context) {
  if (obj != nullptr) {
    JavaObject<kSignedInfoResultClass> o(env, obj, "signed_info_result_t2jobject");
    bool done = o.write<"type">(rec->type) && o.write<"sign_num">(rec->sign_num) &&
                write_records<"infos", kSignInfoClass, sign_info_t2jobject>(o, rec->infos,
                                                                            rec->sign_num, context);
    if (!done) return false;
  }
  QUMEN_FreeSignedInfoResult(context, rec);
  zero(rec);
  return true;
}

bool encrypted_info_result_t2jobject(JNIEnv* env, jobject obj, encrypted_info_result_t* rec,
                                     context_t context) {
  if (obj != nullptr) {
    JavaObject<kEncryptedInfoResultClass> o(env, obj, "encrypted_info_result_t2jobject");
    bool done = o.write<"type">(rec->type) && o.write<"recipients_num">(rec->recipients_num) &&
                write_records<"recipients", kCertidClass, certid_t2jobject>(
                    o, rec->recipients, rec->recipients_num, context) &&
                write_record<"sender", kCertidClass, certid_t2jobject>(o, &rec->sender, context);
    if (!done) return false;
  }
  QUMEN_FreeEncryptedInfoResult(context, rec);
  zero(rec);
  return true;
}

}  // namespace tvj
