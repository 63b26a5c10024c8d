// Fully populated results from the stand-in's allocator.
#include <cstdio>
#include <cstring>
#include <string>

#include "entry.h"

namespace standin {

std::string CertificateText::issuer(int seed) {
  return "CN=Stand-in CA " + std::to_string(seed) + ",O=Stand-in";
}
std::string CertificateText::subject(int seed) {
  return "CN=Signer " + std::to_string(seed) + ",O=Stand-in";
}
std::string CertificateText::serial(int seed) { return "5E:" + std::to_string(seed); }

namespace {

template <typename T>
T* array(context_t c, int count) {
  auto* p = static_cast<T*>(alloc(c, int64_t(sizeof(T)) * count));
  std::memset(static_cast<void*>(p), 0, sizeof(T) * size_t(count));
  return p;
}

std::vector<uint8_t> pattern(size_t n, int seed) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed * 31 + int(i));
  return b;
}

void fill_altname(context_t c, altname_t* names, const std::string& who) {
  static const char* const kFields[] = {"emailAddress",
                                        "DNS",
                                        "URI",
                                        "IP",
                                        "organizationName",
                                        "registredAddress",
                                        "surname",
                                        "businessCategory",
                                        "telephoneNumber",
                                        "description",
                                        "account_number",
                                        "bank_id",
                                        "physicalDelivery",
                                        "exchange_address"};
  string_t* slot = &names->emailAddress;
  for (const char* f : kFields) *slot++ = text(c, who + "." + f);
}

}  // namespace

void fill_certificate(context_t c, certificate_t* cert, int seed) {
  std::memset(static_cast<void*>(cert), 0, sizeof *cert);
  std::string s = std::to_string(seed);
  cert->fields = 0x3FF;
  cert->issuer = text(c, CertificateText::issuer(seed));
  cert->serialNumber = text(c, CertificateText::serial(seed));
  cert->subject = text(c, CertificateText::subject(seed));
  cert->algorithm = text(c, "1.2.840.113549.1.1.11");
  cert->notBeforeEx = 0x65000000u + uint32_t(seed);
  cert->notAfterEx = 0xFFFFFFF0u;
  cert->keyUsage = 0x86;
  cert->notBeforePrivateEx = 0x65000000u;
  cert->notAfterPrivateEx = 0x80000001u;
  fill_altname(c, &cert->issuerAltName, "issuer" + s);
  fill_altname(c, &cert->subjectAltName, "subject" + s);
  cert->keyId = text(c, "key-" + s);
  cert->policy_num = 3;
  cert->policies = array<policy_t>(c, 3);
  for (int i = 0; i < 3; ++i) {
    policy_t& p = cert->policies[i];
    p.oid = text(c, "1.3.6.1.4.1.99999.1." + std::to_string(i));
    p.org_name = text(c, "Org " + std::to_string(i));
    p.not_num = 10 + i;
    if (i < 2) p.text = text(c, "notice " + std::to_string(i));
  }
  cert->extkeyusage_num = 2;
  cert->extKeyUsage = array<extkeyusage_t>(c, 2);
  cert->extKeyUsage[0].oid = text(c, "1.3.6.1.5.5.7.3.2");
  cert->extKeyUsage[1].oid = text(c, "1.3.6.1.5.5.7.3.4");
  cert->extension_num = 2;
  cert->extensions = array<extension_t>(c, 2);
  for (int i = 0; i < 2; ++i) {
    extension_t& e = cert->extensions[i];
    e.oid = text(c, "2.5.29." + std::to_string(15 + i));
    e.type = i;
    e.critical = i == 0;
    e.len = i == 0 ? 3 : 5;
    e.data = bytes(c, pattern(size_t(e.len), seed + i));
  }
  cert->certEncoded = mem_blk_t{40, bytes(c, pattern(40, seed))};
  cert->certHash = mem_blk_t{32, bytes(c, digest(cert->certEncoded.buf, 40))};
}

certificate_t* new_certificate(context_t c, int seed) {
  auto* cert = static_cast<certificate_t*>(alloc(c, sizeof(certificate_t)));
  fill_certificate(c, cert, seed);
  return cert;
}

void fill_verify_result(context_t c, verify_result_t* result, int signers) {
  result->sign_num = signers;
  result->signs = signers > 0 ? array<sign_status_t>(c, signers) : nullptr;
  for (int i = 0; i < signers; ++i) {
    sign_status_t& s = result->signs[i];
    s.status = i;
    s.timeEx = 0x80000000u + uint32_t(i);
    s.cert = i + 1 < signers ? new_certificate(c, i + 1) : nullptr;
  }
}

}  // namespace standin

namespace standin {

void fill_crl(context_t c, crl_t* crl, int revoked) {
  std::memset(static_cast<void*>(crl), 0, sizeof *crl);
  crl->fields = 0x1F;
  crl->issuer = text(c, CertificateText::issuer(1));
  crl->lastUpdateEx = 0x66000000u;
  crl->nextUpdateEx = 0xFFFFFFFFu;
  crl->number = 42;
  crl->revcert_num = revoked;
  crl->revcerts = revoked > 0 ? array<revcert_t>(c, revoked) : nullptr;
  for (int i = 0; i < revoked; ++i) {
    char serial[16];  // "R<i>"; "R" + std::to_string(i) draws a false -Wrestrict from g++ 12 at -O2
    std::snprintf(serial, sizeof serial, "R%d", i);
    crl->revcerts[i] = revcert_t{text(c, serial), 0xF0000000u + uint32_t(i), i};
  }
  crl->crlEncoded = mem_blk_t{24, bytes(c, pattern(24, 9))};
  crl->crlHash = mem_blk_t{32, bytes(c, digest(crl->crlEncoded.buf, 24))};
}

void fill_altname_ex(context_t c, altname_ex_t* ext, int count) {
  ext->othername_num = count;
  ext->othernames = count > 0 ? array<othername_t>(c, count) : nullptr;
  for (int i = 0; i < count; ++i)
    ext->othernames[i] = othername_t{text(c, "1.3.6.1.4.1.311.20.2." + std::to_string(i)),
                                     text(c, "other-" + std::to_string(i))};
}

void fill_certid(context_t c, certid_t* id, int32_t type, int seed) {
  std::memset(static_cast<void*>(id), 0, sizeof *id);
  id->type = type;
  std::string s = std::to_string(seed);
  switch (type) {
    case CERTID_ISSUER_AND_SERIAL:
      id->ias = issuer_and_serial_t{text(c, "CN=Issuer " + s), text(c, "S" + s)};
      break;
    case CERTID_KEY_ID:
      id->keyId = text(c, "keyid-" + s);
      break;
    case CERTID_CERT_HASH:
      id->certHash = mem_blk_t{20, bytes(c, pattern(20, seed))};
      break;
    case CERTID_ALIAS:
      id->alias = text(c, "alias-" + s);
      break;
    default:
      break;
  }
}

void fill_signed_info(context_t c, signed_info_result_t* result, int count) {
  result->type = 1;
  result->sign_num = count;
  result->infos = count > 0 ? array<sign_info_t>(c, count) : nullptr;
  for (int i = 0; i < count; ++i) {
    result->infos[i].timeEx = 0xFFFFFF00u + uint32_t(i);
    result->infos[i].certid = static_cast<certid_t*>(alloc(c, sizeof(certid_t)));
    fill_certid(c, result->infos[i].certid, i % 4, i + 1);
  }
}

void fill_encrypted_info(context_t c, encrypted_info_result_t* result, int count) {
  result->type = 7;
  result->recipients_num = count;
  result->recipients = count > 0 ? array<certid_t>(c, count) : nullptr;
  for (int i = 0; i < count; ++i) fill_certid(c, &result->recipients[i], i % 4, i + 1);
  fill_certid(c, &result->sender, CERTID_ISSUER_AND_SERIAL, 99);
}

void fill_pkcs7_info(context_t c, pkcs7_info_t* info, int signers, int recipients) {
  std::memset(static_cast<void*>(info), 0, sizeof *info);
  info->type = 2;
  info->signer_num = signers;
  info->signers = signers > 0 ? array<pkcs7_signer_t>(c, signers) : nullptr;
  for (int i = 0; i < signers; ++i) {
    pkcs7_signer_t& s = info->signers[i];
    std::string n = std::to_string(i);
    s.digest = text(c, "sha256-" + n);
    s.encryption = text(c, "rsa-" + n);
    s.signer = issuer_and_serial_t{text(c, "CN=Signer CA " + n), text(c, "SS" + n)};
    s.authAttr_num = 2;
    s.authAttrs = array<string_t>(c, 2);
    s.authAttrs[0] = text(c, "signingTime=" + n);
    s.authAttrs[1] = text(c, "");
    s.unauthAttr_num = 1;
    s.unauthAttrs = array<string_t>(c, 1);
    s.unauthAttrs[0] = text(c, "counterSignature=" + n);
  }
  info->dataCipher = text(c, "aes256-cbc");
  info->recipient_num = recipients;
  info->recipients = recipients > 0 ? array<pkcs7_recipient_t>(c, recipients) : nullptr;
  for (int i = 0; i < recipients; ++i) {
    std::string n = std::to_string(i);
    info->recipients[i] =
        pkcs7_recipient_t{text(c, "rsaEncryption-" + n),
                          issuer_and_serial_t{text(c, "CN=Recipient CA " + n), text(c, "RS" + n)}};
  }
}

}  // namespace standin

namespace standin {

namespace {

void fill_cms_certid(context_t c, cms_certid_t* id, int32_t type, int seed) {
  std::memset(static_cast<void*>(id), 0, sizeof *id);
  id->type = type;
  std::string s = std::to_string(seed);
  if (type == CMS_CERTID_ISSUER_SERIAL) {
    id->issuer = text(c, "CN=CMS Issuer " + s);
    id->serialNum = text(c, "CS" + s);
    id->certHash = text(c, "hash-" + s);
  } else if (type == CMS_CERTID_SUBJECT_KEY_ID) {
    id->subjKeyId = text(c, "ski-" + s);
  }
}

string_t* texts(context_t c, const std::vector<std::string>& items) {
  auto* list = array<string_t>(c, int(items.size()));
  for (size_t i = 0; i < items.size(); ++i) list[i] = text(c, items[i]);
  return list;
}

}  // namespace

void fill_cms_msginf(context_t c, cms_msginf_t* info, int32_t type, int count) {
  std::memset(static_cast<void*>(info), 0, sizeof *info);
  info->type = type;
  info->flags = 0x10;
  if (type == CMS_MSG_SIGNED) {
    info->list_num = count;
    info->signers = array<cms_siginf_t>(c, count);
    for (int i = 0; i < count; ++i) {
      cms_siginf_t& s = info->signers[i];
      std::string n = std::to_string(i);
      s.version = 1;
      s.digestAlg = text(c, "sha256");
      s.signatureAlg = text(c, "ecdsa-with-sha256");
      fill_cms_certid(c, &s.signerId, 1 + i % 2, i);
      s.signingTimeEx = 0xFFFFFFFFu - uint32_t(i);
      s.authAttr_num = 2;
      s.authAttrs = texts(c, {"contentType=data", ""});
      s.unauthAttr_num = 1;
      s.unauthAttrs = texts(c, {"countersignature=" + n});
    }
  } else if (type == CMS_MSG_ENVELOPED) {
    info->list_num = count;
    info->recipients = array<cms_recinf_t>(c, count);
    for (int i = 0; i < count; ++i) {
      cms_recinf_t& r = info->recipients[i];
      r.type = 2;
      r.index = i;
      r.version = 2;
      fill_cms_certid(c, &r.originatorId, 1 + i % 2, 100 + i);
      r.publicKeyAlg = text(c, "rsaEncryption");
      r.cipherAlg = text(c, "rsaes-oaep");
      fill_cms_certid(c, &r.recipientId, 2 - i % 2, 200 + i);
    }
  }
  info->cipherAlg = text(c, "aes128-gcm");
  info->unprotAttr_num = 1;
  info->unprotAttrs = texts(c, {"unprotected=1"});
}

void fill_find_result(context_t c, find_result_t* result, int count) {
  result->num = count;
  result->certs = count > 0 ? array<certificate_t>(c, count) : nullptr;
  for (int i = 0; i < count; ++i) fill_certificate(c, &result->certs[i], 11 + i);
}

void fill_tsp_verify_result(context_t c, tsp_verify_result_t* result, bool with_cert) {
  result->timeEx = 0x66554433u;
  result->cert = with_cert ? new_certificate(c, 5) : nullptr;
}

void fill_ocsp_verify_result(context_t c, ocsp_verify_result_t* result, bool with_cert) {
  *result = ocsp_verify_result_t{0, 0, 0, 0x66000000u, 0xFFFFFFFFu, nullptr};
  result->cert = with_cert ? new_certificate(c, 6) : nullptr;
}

}  // namespace standin
