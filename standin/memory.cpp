// The native library's memory functions: AllocMem, FreeMem and the deep releases of the
// records it fills. Each QUMEN_Free* gives back what is still in its record (pointers that a
// converter already released and cleared are null by then), never the record itself.
#include <cstring>

#include "entry.h"

using namespace standin;
using namespace standin::detail;

namespace standin::detail {

void free_string(context_t c, string_t* s, const char* by) {
  release(c, *s, by);
  *s = nullptr;
}

void free_strings(context_t c, string_t** list, int32_t count, const char* by) {
  if (*list == nullptr) return;
  for (int32_t i = 0; i < count; ++i) free_string(c, &(*list)[i], by);
  release(c, *list, by);
  *list = nullptr;
}

namespace {

void free_block(context_t c, mem_blk_t* blk, const char* by) {
  release(c, blk->buf, by);
  blk->buf = nullptr;
  blk->len = 0;
}

void free_altname(context_t c, altname_t* names, const char* by) {
  string_t* entries = &names->emailAddress;  // fourteen consecutive string_t
  for (size_t i = 0; i < sizeof(altname_t) / sizeof(string_t); ++i) free_string(c, &entries[i], by);
}

template <typename T, typename Each>
void free_array(context_t c, T** array, int32_t count, const char* by, Each each) {
  if (*array == nullptr) return;
  for (int32_t i = 0; i < count; ++i) each(&(*array)[i]);
  release(c, *array, by);
  *array = nullptr;
}

void free_issuer_and_serial(context_t c, issuer_and_serial_t* ias, const char* by) {
  free_string(c, &ias->issuer, by);
  free_string(c, &ias->serialNumber, by);
}

void free_cms_certid(context_t c, cms_certid_t* id, const char* by) {
  free_string(c, &id->issuer, by);  // also subjKeyId: one slot
  free_string(c, &id->serialNum, by);
  free_string(c, &id->certHash, by);
}

void free_owned_certificate(context_t c, certificate_t** cert, const char* by) {
  if (*cert == nullptr) return;
  free_certificate(c, *cert, by);
  release(c, *cert, by);
  *cert = nullptr;
}

}  // namespace

void free_certificate(context_t c, certificate_t* cert, const char* by) {
  free_string(c, &cert->issuer, by);
  free_string(c, &cert->serialNumber, by);
  free_string(c, &cert->subject, by);
  free_string(c, &cert->algorithm, by);
  free_altname(c, &cert->issuerAltName, by);
  free_altname(c, &cert->subjectAltName, by);
  free_string(c, &cert->keyId, by);
  free_array(c, &cert->policies, cert->policy_num, by, [&](policy_t* p) {
    free_string(c, &p->oid, by);
    free_string(c, &p->org_name, by);
    free_string(c, &p->text, by);
  });
  free_array(c, &cert->extKeyUsage, cert->extkeyusage_num, by,
             [&](extkeyusage_t* e) { free_string(c, &e->oid, by); });
  free_array(c, &cert->extensions, cert->extension_num, by, [&](extension_t* e) {
    free_string(c, &e->oid, by);
    release(c, e->data, by);
    e->data = nullptr;
  });
  free_block(c, &cert->certEncoded, by);
  free_block(c, &cert->certHash, by);
}

void free_certid(context_t c, certid_t* id, const char* by) {
  switch (id->type) {
    case CERTID_ISSUER_AND_SERIAL:
      free_issuer_and_serial(c, &id->ias, by);
      break;
    case CERTID_KEY_ID:
      free_string(c, &id->keyId, by);
      break;
    case CERTID_CERT_HASH:
      free_block(c, &id->certHash, by);
      break;
    case CERTID_ALIAS:
      free_string(c, &id->alias, by);
      break;
    default:
      break;
  }
}

}  // namespace standin::detail

extern "C" {

void* QUMEN_AllocMem(context_t c, int64_t size) {
  return enter<QUMEN_AllocMem>(
      __func__, [&]() -> void* { return alloc(c, size); }, c, size);
}

int32_t QUMEN_FreeMem(context_t c, void* block) {
  return enter<QUMEN_FreeMem>(
      __func__,
      [&] {
        release(c, block, "QUMEN_FreeMem");
        return 0;
      },
      c, block);
}

int32_t QUMEN_FreeCert(context_t c, certificate_t* cert) {
  return enter<QUMEN_FreeCert>(
      __func__,
      [&] {
        free_certificate(c, cert, "QUMEN_FreeCert");
        return 0;
      },
      c, cert);
}

int32_t QUMEN_FreeVerifyResult(context_t c, verify_result_t* r) {
  return enter<QUMEN_FreeVerifyResult>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeVerifyResult";
        free_array(c, &r->signs, r->sign_num, by,
                   [&](sign_status_t* s) { free_owned_certificate(c, &s->cert, by); });
        return 0;
      },
      c, r);
}

int32_t QUMEN_FreeDecryptResult(context_t c, decrypt_result_t* r) {
  return enter<QUMEN_FreeDecryptResult>(
      __func__,
      [&] {
        free_certificate(c, &r->sender, "QUMEN_FreeDecryptResult");
        return 0;
      },
      c, r);
}

int32_t QUMEN_FreeCertId(context_t c, certid_t* id) {
  return enter<QUMEN_FreeCertId>(
      __func__,
      [&] {
        free_certid(c, id, "QUMEN_FreeCertId");
        return 0;
      },
      c, id);
}

int32_t QUMEN_FreeSignedInfoResult(context_t c, signed_info_result_t* r) {
  return enter<QUMEN_FreeSignedInfoResult>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeSignedInfoResult";
        free_array(c, &r->infos, r->sign_num, by, [&](sign_info_t* info) {
          if (info->certid == nullptr) return;
          free_certid(c, info->certid, by);
          release(c, info->certid, by);
          info->certid = nullptr;
        });
        return 0;
      },
      c, r);
}

int32_t QUMEN_FreeEncryptedInfoResult(context_t c, encrypted_info_result_t* r) {
  return enter<QUMEN_FreeEncryptedInfoResult>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeEncryptedInfoResult";
        free_array(c, &r->recipients, r->recipients_num, by,
                   [&](certid_t* id) { free_certid(c, id, by); });
        free_certid(c, &r->sender, by);
        return 0;
      },
      c, r);
}

int32_t QUMEN_FreeFindResult(context_t c, find_result_t* r) {
  return enter<QUMEN_FreeFindResult>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeFindResult";
        free_array(c, &r->certs, r->num, by,
                   [&](certificate_t* cert) { free_certificate(c, cert, by); });
        return 0;
      },
      c, r);
}

int32_t QUMEN_FreePkcs7Info(context_t c, pkcs7_info_t* info) {
  return enter<QUMEN_FreePkcs7Info>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreePkcs7Info";
        free_array(c, &info->signers, info->signer_num, by, [&](pkcs7_signer_t* s) {
          free_string(c, &s->digest, by);
          free_string(c, &s->encryption, by);
          free_issuer_and_serial(c, &s->signer, by);
          free_strings(c, &s->authAttrs, s->authAttr_num, by);
          free_strings(c, &s->unauthAttrs, s->unauthAttr_num, by);
        });
        free_string(c, &info->dataCipher, by);
        free_array(c, &info->recipients, info->recipient_num, by, [&](pkcs7_recipient_t* r) {
          free_string(c, &r->publicKey, by);
          free_issuer_and_serial(c, &r->recipient, by);
        });
        return 0;
      },
      c, info);
}

int32_t QUMEN_FreeCrl(context_t c, crl_t* crl) {
  return enter<QUMEN_FreeCrl>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeCrl";
        free_string(c, &crl->issuer, by);
        free_array(c, &crl->revcerts, crl->revcert_num, by,
                   [&](revcert_t* r) { free_string(c, &r->serialNumber, by); });
        free_block(c, &crl->crlEncoded, by);
        free_block(c, &crl->crlHash, by);
        return 0;
      },
      c, crl);
}

int32_t QUMEN_FreeAltnameEx(context_t c, altname_ex_t* a) {
  return enter<QUMEN_FreeAltnameEx>(
      __func__,
      [&] {
        const char* by = "QUMEN_FreeAltnameEx";
        free_array(c, &a->othernames, a->othername_num, by, [&](othername_t* o) {
          free_string(c, &o->oid, by);
          free_string(c, &o->name, by);
        });
        return 0;
      },
      c, a);
}

int32_t QUMEN_CmsFreeMsgInf(context_t c, cms_msginf_t* m) {
  return enter<QUMEN_CmsFreeMsgInf>(
      __func__,
      [&] {
        const char* by = "QUMEN_CmsFreeMsgInf";
        if (m->type == CMS_MSG_SIGNED) {
          free_array(c, &m->signers, m->list_num, by, [&](cms_siginf_t* s) {
            free_string(c, &s->digestAlg, by);
            free_string(c, &s->signatureAlg, by);
            free_cms_certid(c, &s->signerId, by);
            free_strings(c, &s->authAttrs, s->authAttr_num, by);
            free_strings(c, &s->unauthAttrs, s->unauthAttr_num, by);
          });
        } else if (m->type == CMS_MSG_ENVELOPED) {
          free_array(c, &m->recipients, m->list_num, by, [&](cms_recinf_t* r) {
            free_cms_certid(c, &r->originatorId, by);
            free_string(c, &r->publicKeyAlg, by);
            free_string(c, &r->cipherAlg, by);
            free_cms_certid(c, &r->recipientId, by);
          });
        }
        free_string(c, &m->cipherAlg, by);
        free_strings(c, &m->unprotAttrs, m->unprotAttr_num, by);
        return 0;
      },
      c, m);
}

int32_t QUMEN_TspFreeVerifyResult(context_t c, tsp_verify_result_t* r) {
  return enter<QUMEN_TspFreeVerifyResult>(
      __func__,
      [&] {
        free_owned_certificate(c, &r->cert, "QUMEN_TspFreeVerifyResult");
        return 0;
      },
      c, r);
}

int32_t QUMEN_OcspFreeVerifyResult(context_t c, ocsp_verify_result_t* r) {
  return enter<QUMEN_OcspFreeVerifyResult>(
      __func__,
      [&] {
        free_owned_certificate(c, &r->cert, "QUMEN_OcspFreeVerifyResult");
        return 0;
      },
      c, r);
}

}  // extern "C"
