#include "pkcs7.h"

#include "common.h"

namespace tvj {

bool pkcs7_info_t2jobject(JNIEnv* env, jobject obj, pkcs7_info_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kPkcs7InfoClass> o(env, obj, "pkcs7_info_t2jobject");
    bool done = o.write<"type">(rec->type) && o.write<"signer_num">(rec->signer_num) &&
                write_records<"signers", kPkcs7SignerClass, pkcs7_signer_t2jobject>(
                    o, rec->signers, rec->signer_num, context) &&
                write_string<"dataCipher">(o, &rec->dataCipher, context) &&
                o.write<"recipient_num">(rec->recipient_num) &&
                write_records<"recipients", kPkcs7RecipientClass, pkcs7_recipient_t2jobject>(
                    o, rec->recipients, rec->recipient_num, context);
    if (!done) return false;
  }
  QUMEN_FreePkcs7Info(context, rec);
  zero(rec);
  return true;
}

namespace {

// A list of texts and its block: every text (null once converted), then the block itself.
void free_text_list(context_t context, string_t*& list, int32_t count) {
  if (list == nullptr) return;
  for (int32_t i = 0; i < count; ++i) QUMEN_FreeMem(context, list[i]);
  free_native(context, list);
}

}  // namespace

bool pkcs7_signer_t2jobject(JNIEnv* env, jobject obj, pkcs7_signer_t* rec, context_t context) {
  JavaObject<kPkcs7SignerClass> o(env, obj, "pkcs7_signer_t2jobject");
  bool done = write_string<"digest">(o, &rec->digest, context) &&
              write_string<"encryption">(o, &rec->encryption, context) &&
              write_record<"signer", kIssuerSerialClass, issuer_and_serial_t2jobject>(
                  o, &rec->signer, context) &&
              o.write<"authAttr_num">(rec->authAttr_num) &&
              write_texts<"authAttrs">(o, rec->authAttrs, rec->authAttr_num, context) &&
              o.write<"unauthAttr_num">(rec->unauthAttr_num) &&
              write_texts<"unauthAttrs">(o, rec->unauthAttrs, rec->unauthAttr_num, context);
  if (!done) return false;
  // Everything converted was released on the way (its pointer is null): this gives back the rest.
  QUMEN_FreeMem(context, rec->digest);
  QUMEN_FreeMem(context, rec->encryption);
  QUMEN_FreeMem(context, rec->signer.issuer);
  QUMEN_FreeMem(context, rec->signer.serialNumber);
  free_text_list(context, rec->authAttrs, rec->authAttr_num);
  free_text_list(context, rec->unauthAttrs, rec->unauthAttr_num);
  zero(rec);
  return true;
}

bool pkcs7_recipient_t2jobject(JNIEnv* env, jobject obj, pkcs7_recipient_t* rec,
                               context_t context) {
  JavaObject<kPkcs7RecipientClass> o(env, obj, "pkcs7_recipient_t2jobject");
  if (!write_string<"publicKey">(o, &rec->publicKey, context) ||
      !write_record<"recipient", kIssuerSerialClass, issuer_and_serial_t2jobject>(
          o, &rec->recipient, context))
    return false;
  QUMEN_FreeMem(context, rec->publicKey);
  QUMEN_FreeMem(context, rec->recipient.issuer);
  QUMEN_FreeMem(context, rec->recipient.serialNumber);
  zero(rec);
  return true;
}

}  // namespace tvj
