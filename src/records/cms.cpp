#include "cms.h"

#include "common.h"

namespace tvj {

bool cms_msginf_t2jobject(JNIEnv* env, jobject obj, cms_msginf_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kCmsMsginfClass> o(env, obj, "cms_msginf_t2jobject");
    bool done = o.write<"type">(rec->type) && o.write<"flags">(rec->flags);
    if (done && rec->type == CMS_MSG_SIGNED) {
      done = o.write<"signer_num">(rec->list_num) &&
             write_records<"signers", kCmsSiginfClass, cms_siginf_t2jobject>(
                 o, rec->signers, rec->list_num, context);
    } else if (done && rec->type == CMS_MSG_ENVELOPED) {
      done = o.write<"recipient_num">(rec->list_num) &&
             write_records<"recipients", kCmsRecinfClass, cms_recinf_t2jobject>(
                 o, rec->recipients, rec->list_num, context);
    }
    done = done && write_string<"cipherAlg">(o, &rec->cipherAlg, context) &&
           o.write<"unprotAttr_num">(rec->unprotAttr_num) &&
           write_texts<"unprotAttrs">(o, rec->unprotAttrs, rec->unprotAttr_num, context);
    if (!done) return false;
  }
  QUMEN_CmsFreeMsgInf(context, rec);
  zero(rec);
  return true;
}

bool cms_siginf_t2jobject(JNIEnv* env, jobject obj, cms_siginf_t* rec, context_t context) {
  if (obj == nullptr) return true;
  JavaObject<kCmsSiginfClass> o(env, obj, "cms_siginf_t2jobject");
  return o.write<"version">(rec->version) &&
         write_string<"digestAlg">(o, &rec->digestAlg, context) &&
         write_string<"signatureAlg">(o, &rec->signatureAlg, context) &&
         write_record<"signerId", kCmsCertidClass, cms_certid_t2jobject>(o, &rec->signerId,
                                                                         context) &&
         o.write_time<"signingTimeEx">(rec->signingTimeEx) &&
         o.write<"authAttr_num">(rec->authAttr_num) &&
         write_texts<"authAttrs">(o, rec->authAttrs, rec->authAttr_num, context) &&
         o.write<"unauthAttr_num">(rec->unauthAttr_num) &&
         write_texts<"unauthAttrs">(o, rec->unauthAttrs, rec->unauthAttr_num, context);
}

bool cms_recinf_t2jobject(JNIEnv* env, jobject obj, cms_recinf_t* rec, context_t context) {
  if (obj == nullptr) return true;
  JavaObject<kCmsRecinfClass> o(env, obj, "cms_recinf_t2jobject");
  return o.write<"type">(rec->type) && o.write<"index">(rec->index) &&
         o.write<"version">(rec->version) &&
         write_record<"originatorId", kCmsCertidClass, cms_certid_t2jobject>(o, &rec->originatorId,
                                                                             context) &&
         write_string<"publicKeyAlg">(o, &rec->publicKeyAlg, context) &&
         write_string<"cipherAlg">(o, &rec->cipherAlg, context) &&
         write_record<"recipientId", kCmsCertidClass, cms_certid_t2jobject>(o, &rec->recipientId,
                                                                            context);
}

bool cms_certid_t2jobject(JNIEnv* env, jobject obj, cms_certid_t* rec, context_t context) {
  if (obj == nullptr) return true;
  JavaObject<kCmsCertidClass> o(env, obj, "cms_certid_t2jobject");
  if (!o.write<"type">(rec->type)) return false;
  if (rec->type == CMS_CERTID_ISSUER_SERIAL) {
    return write_string<"issuer">(o, &rec->issuer, context) &&
           write_string<"serialNum">(o, &rec->serialNum, context) &&
           write_string<"certHash">(o, &rec->certHash, context);
  }
  if (rec->type == CMS_CERTID_SUBJECT_KEY_ID)
    return write_string<"subjKeyId">(o, &rec->subjKeyId, context);
  return true;
}

}  // namespace tvj
