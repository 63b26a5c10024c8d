// The interface of the native cryptographic library `tarvex`, as the bridge uses it.
//
// Every record below crosses into the library by address, so its layout is binding: the
// natural alignment of a 64-bit target, each size and field offset checked at compile time.
// Memory inside records filled by the library belongs to the library's allocator and goes
// back through QUMEN_FreeMem or the matching QUMEN_Free* function, always with the context
// that produced it. The library keeps no pointer into an input after a call returns.
#pragma once

#include <cstddef>
#include <cstdint>

// Opaque 64-bit values made by the library: the context that every call receives first, and
// the handle of one stream, TLS session or store enumeration. Distinct types, so that one
// cannot be passed where the other is expected.
enum class context_t : uint64_t {};
enum class strhandle_t : uint64_t {};

// A NUL-terminated narrow string in the process's narrow codeset; null when absent.
typedef char* string_t;

#define TARVEX_RECORD_SIZE(rec, size) static_assert(sizeof(rec) == (size), #rec " size")
#define TARVEX_FIELD_AT(rec, field, offset) \
  static_assert(offsetof(rec, field) == (offset), #rec "." #field " offset")

// ---- Blocks and the lifecycle parameter record -------------------------------------------

struct mem_blk_t {
  int32_t len;
  uint8_t* buf;
};
TARVEX_RECORD_SIZE(mem_blk_t, 16);
TARVEX_FIELD_AT(mem_blk_t, len, 0);
TARVEX_FIELD_AT(mem_blk_t, buf, 8);

struct local_param_t {
  uint64_t size;  // 48 when filled from a Java object, 0 when the object was null
  int32_t flag;
  string_t pse;
  string_t localstore;
  string_t ldap;
  string_t pincode;
};
TARVEX_RECORD_SIZE(local_param_t, 48);
TARVEX_FIELD_AT(local_param_t, size, 0);
TARVEX_FIELD_AT(local_param_t, flag, 8);
TARVEX_FIELD_AT(local_param_t, pse, 16);
TARVEX_FIELD_AT(local_param_t, localstore, 24);
TARVEX_FIELD_AT(local_param_t, ldap, 32);
TARVEX_FIELD_AT(local_param_t, pincode, 40);

// ---- Certificate extension records ---------------------------------------------------------

struct policy_t {
  string_t oid;
  string_t org_name;
  int32_t not_num;
  string_t text;
};
TARVEX_RECORD_SIZE(policy_t, 32);
TARVEX_FIELD_AT(policy_t, oid, 0);
TARVEX_FIELD_AT(policy_t, org_name, 8);
TARVEX_FIELD_AT(policy_t, not_num, 16);
TARVEX_FIELD_AT(policy_t, text, 24);

struct extkeyusage_t {
  string_t oid;
};
TARVEX_RECORD_SIZE(extkeyusage_t, 8);
TARVEX_FIELD_AT(extkeyusage_t, oid, 0);

struct extension_t {
  string_t oid;
  int32_t type;
  int32_t critical;
  int32_t len;
  uint8_t* data;
};
TARVEX_RECORD_SIZE(extension_t, 32);
TARVEX_FIELD_AT(extension_t, oid, 0);
TARVEX_FIELD_AT(extension_t, type, 8);
TARVEX_FIELD_AT(extension_t, critical, 12);
TARVEX_FIELD_AT(extension_t, len, 16);
TARVEX_FIELD_AT(extension_t, data, 24);

// ---- Alternative names ---------------------------------------------------------------------

struct altname_t {
  string_t emailAddress;
  string_t DNS;
  string_t URI;
  string_t IP;
  string_t organizationName;
  string_t registredAddress;
  string_t surname;
  string_t businessCategory;
  string_t telephoneNumber;
  string_t description;
  string_t account_number;
  string_t bank_id;
  string_t physicalDelivery;
  string_t exchange_address;
};
TARVEX_RECORD_SIZE(altname_t, 112);
TARVEX_FIELD_AT(altname_t, emailAddress, 0);
TARVEX_FIELD_AT(altname_t, DNS, 8);
TARVEX_FIELD_AT(altname_t, URI, 16);
TARVEX_FIELD_AT(altname_t, IP, 24);
TARVEX_FIELD_AT(altname_t, organizationName, 32);
TARVEX_FIELD_AT(altname_t, registredAddress, 40);
TARVEX_FIELD_AT(altname_t, surname, 48);
TARVEX_FIELD_AT(altname_t, businessCategory, 56);
TARVEX_FIELD_AT(altname_t, telephoneNumber, 64);
TARVEX_FIELD_AT(altname_t, description, 72);
TARVEX_FIELD_AT(altname_t, account_number, 80);
TARVEX_FIELD_AT(altname_t, bank_id, 88);
TARVEX_FIELD_AT(altname_t, physicalDelivery, 96);
TARVEX_FIELD_AT(altname_t, exchange_address, 104);

// ---- Certificate ---------------------------------------------------------------------------

struct certificate_t {
  int32_t fields;
  string_t issuer;
  string_t serialNumber;
  string_t subject;
  string_t algorithm;
  uint32_t notBeforeEx;
  uint32_t notAfterEx;
  uint8_t reserved[16];  // the library's own; the bridge never reads or writes it
  int32_t keyUsage;
  uint32_t notBeforePrivateEx;
  uint32_t notAfterPrivateEx;
  altname_t issuerAltName;
  altname_t subjectAltName;
  string_t keyId;
  int32_t policy_num;
  policy_t* policies;
  int32_t extkeyusage_num;
  extkeyusage_t* extKeyUsage;
  int32_t extension_num;
  extension_t* extensions;
  mem_blk_t certEncoded;
  mem_blk_t certHash;
};
TARVEX_RECORD_SIZE(certificate_t, 392);
TARVEX_FIELD_AT(certificate_t, fields, 0);
TARVEX_FIELD_AT(certificate_t, issuer, 8);
TARVEX_FIELD_AT(certificate_t, serialNumber, 16);
TARVEX_FIELD_AT(certificate_t, subject, 24);
TARVEX_FIELD_AT(certificate_t, algorithm, 32);
TARVEX_FIELD_AT(certificate_t, notBeforeEx, 40);
TARVEX_FIELD_AT(certificate_t, notAfterEx, 44);
TARVEX_FIELD_AT(certificate_t, reserved, 48);
TARVEX_FIELD_AT(certificate_t, keyUsage, 64);
TARVEX_FIELD_AT(certificate_t, notBeforePrivateEx, 68);
TARVEX_FIELD_AT(certificate_t, notAfterPrivateEx, 72);
TARVEX_FIELD_AT(certificate_t, issuerAltName, 80);
TARVEX_FIELD_AT(certificate_t, subjectAltName, 192);
TARVEX_FIELD_AT(certificate_t, keyId, 304);
TARVEX_FIELD_AT(certificate_t, policy_num, 312);
TARVEX_FIELD_AT(certificate_t, policies, 320);
TARVEX_FIELD_AT(certificate_t, extkeyusage_num, 328);
TARVEX_FIELD_AT(certificate_t, extKeyUsage, 336);
TARVEX_FIELD_AT(certificate_t, extension_num, 344);
TARVEX_FIELD_AT(certificate_t, extensions, 352);
TARVEX_FIELD_AT(certificate_t, certEncoded, 360);
TARVEX_FIELD_AT(certificate_t, certHash, 376);

// ---- Signing and verification --------------------------------------------------------------

struct sign_param_t {
  int32_t flag;
  void* reserved;  // always null
};
TARVEX_RECORD_SIZE(sign_param_t, 16);
TARVEX_FIELD_AT(sign_param_t, flag, 0);
TARVEX_FIELD_AT(sign_param_t, reserved, 8);

struct verify_param_t {
  int32_t flag;
  void* reserved;  // always null
  int32_t keyUsage;
  int32_t policy_num;
  policy_t* policies;
  int32_t extkeyusage_num;
  extkeyusage_t* extKeyUsage;
  int32_t extension_num;
  extension_t* extensions;
  int32_t nSignToDelete;
  int32_t minsigns;
  int32_t info;
};
TARVEX_RECORD_SIZE(verify_param_t, 80);
TARVEX_FIELD_AT(verify_param_t, flag, 0);
TARVEX_FIELD_AT(verify_param_t, reserved, 8);
TARVEX_FIELD_AT(verify_param_t, keyUsage, 16);
TARVEX_FIELD_AT(verify_param_t, policy_num, 20);
TARVEX_FIELD_AT(verify_param_t, policies, 24);
TARVEX_FIELD_AT(verify_param_t, extkeyusage_num, 32);
TARVEX_FIELD_AT(verify_param_t, extKeyUsage, 40);
TARVEX_FIELD_AT(verify_param_t, extension_num, 48);
TARVEX_FIELD_AT(verify_param_t, extensions, 56);
TARVEX_FIELD_AT(verify_param_t, nSignToDelete, 64);
TARVEX_FIELD_AT(verify_param_t, minsigns, 68);
TARVEX_FIELD_AT(verify_param_t, info, 72);

struct verify_policy_param_t {
  uint32_t size;  // 56 when filled from a Java object, 0 when the object was null
  int32_t flag;
  void* reserved;  // always null
  uint32_t check_timeEx;
  int32_t keyusage;
  int32_t eku_num;
  extkeyusage_t* extkeyusages;
  int32_t policy_num;
  policy_t* policies;
};
TARVEX_RECORD_SIZE(verify_policy_param_t, 56);
TARVEX_FIELD_AT(verify_policy_param_t, size, 0);
TARVEX_FIELD_AT(verify_policy_param_t, flag, 4);
TARVEX_FIELD_AT(verify_policy_param_t, reserved, 8);
TARVEX_FIELD_AT(verify_policy_param_t, check_timeEx, 16);
TARVEX_FIELD_AT(verify_policy_param_t, keyusage, 20);
TARVEX_FIELD_AT(verify_policy_param_t, eku_num, 24);
TARVEX_FIELD_AT(verify_policy_param_t, extkeyusages, 32);
TARVEX_FIELD_AT(verify_policy_param_t, policy_num, 40);
TARVEX_FIELD_AT(verify_policy_param_t, policies, 48);

struct sign_status_t {
  int32_t status;
  uint32_t timeEx;
  certificate_t* cert;  // a block of the library, or null
};
TARVEX_RECORD_SIZE(sign_status_t, 16);
TARVEX_FIELD_AT(sign_status_t, status, 0);
TARVEX_FIELD_AT(sign_status_t, timeEx, 4);
TARVEX_FIELD_AT(sign_status_t, cert, 8);

struct verify_result_t {
  int32_t sign_num;
  sign_status_t* signs;
};
TARVEX_RECORD_SIZE(verify_result_t, 16);
TARVEX_FIELD_AT(verify_result_t, sign_num, 0);
TARVEX_FIELD_AT(verify_result_t, signs, 8);

// ---- CRLs and parsed extensions -------------------------------------------------------------

struct revcert_t {
  string_t serialNumber;
  uint32_t revtimeEx;
  int32_t reason;
};
TARVEX_RECORD_SIZE(revcert_t, 16);
TARVEX_FIELD_AT(revcert_t, serialNumber, 0);
TARVEX_FIELD_AT(revcert_t, revtimeEx, 8);
TARVEX_FIELD_AT(revcert_t, reason, 12);

struct crl_t {
  int32_t fields;
  string_t issuer;
  uint32_t lastUpdateEx;
  uint32_t nextUpdateEx;
  int32_t number;
  int32_t revcert_num;
  revcert_t* revcerts;
  mem_blk_t crlEncoded;
  mem_blk_t crlHash;
};
TARVEX_RECORD_SIZE(crl_t, 72);
TARVEX_FIELD_AT(crl_t, fields, 0);
TARVEX_FIELD_AT(crl_t, issuer, 8);
TARVEX_FIELD_AT(crl_t, lastUpdateEx, 16);
TARVEX_FIELD_AT(crl_t, nextUpdateEx, 20);
TARVEX_FIELD_AT(crl_t, number, 24);
TARVEX_FIELD_AT(crl_t, revcert_num, 28);
TARVEX_FIELD_AT(crl_t, revcerts, 32);
TARVEX_FIELD_AT(crl_t, crlEncoded, 40);
TARVEX_FIELD_AT(crl_t, crlHash, 56);

struct othername_t {
  string_t oid;
  string_t name;
};
TARVEX_RECORD_SIZE(othername_t, 16);
TARVEX_FIELD_AT(othername_t, oid, 0);
TARVEX_FIELD_AT(othername_t, name, 8);

struct altname_ex_t {
  int32_t othername_num;
  othername_t* othernames;
};
TARVEX_RECORD_SIZE(altname_ex_t, 16);
TARVEX_FIELD_AT(altname_ex_t, othername_num, 0);
TARVEX_FIELD_AT(altname_ex_t, othernames, 8);

struct basic_constraints_ex_t {
  int32_t ca;
  int32_t pathlen;
};
TARVEX_RECORD_SIZE(basic_constraints_ex_t, 8);
TARVEX_FIELD_AT(basic_constraints_ex_t, ca, 0);
TARVEX_FIELD_AT(basic_constraints_ex_t, pathlen, 4);

// ---- Envelopes ------------------------------------------------------------------------------

struct encrypt_param_t {
  int32_t flag;
  void* reserved;  // always null
  int32_t receiver_num;
  certificate_t* receivers;
};
TARVEX_RECORD_SIZE(encrypt_param_t, 32);
TARVEX_FIELD_AT(encrypt_param_t, flag, 0);
TARVEX_FIELD_AT(encrypt_param_t, reserved, 8);
TARVEX_FIELD_AT(encrypt_param_t, receiver_num, 16);
TARVEX_FIELD_AT(encrypt_param_t, receivers, 24);

struct decrypt_param_t {
  int32_t flag;
  void* reserved;  // always null
  int32_t info;
};
TARVEX_RECORD_SIZE(decrypt_param_t, 24);
TARVEX_FIELD_AT(decrypt_param_t, flag, 0);
TARVEX_FIELD_AT(decrypt_param_t, reserved, 8);
TARVEX_FIELD_AT(decrypt_param_t, info, 16);

struct decrypt_result_t {
  certificate_t sender;
};
TARVEX_RECORD_SIZE(decrypt_result_t, 392);
TARVEX_FIELD_AT(decrypt_result_t, sender, 0);

struct issuer_and_serial_t {
  string_t issuer;
  string_t serialNumber;
};
TARVEX_RECORD_SIZE(issuer_and_serial_t, 16);
TARVEX_FIELD_AT(issuer_and_serial_t, issuer, 0);
TARVEX_FIELD_AT(issuer_and_serial_t, serialNumber, 8);

// One certificate identifier; `type` chooses which member of the union is meant.
enum : int32_t {
  CERTID_ISSUER_AND_SERIAL = 0,
  CERTID_KEY_ID = 1,
  CERTID_CERT_HASH = 2,
  CERTID_ALIAS = 3,
};
struct certid_t {
  int32_t type;
  union {
    issuer_and_serial_t ias;  // type 0
    string_t keyId;           // type 1
    mem_blk_t certHash;       // type 2
    string_t alias;           // type 3
  };
};
TARVEX_RECORD_SIZE(certid_t, 24);
TARVEX_FIELD_AT(certid_t, type, 0);
TARVEX_FIELD_AT(certid_t, ias, 8);
TARVEX_FIELD_AT(certid_t, keyId, 8);
TARVEX_FIELD_AT(certid_t, certHash, 8);
TARVEX_FIELD_AT(certid_t, alias, 8);

struct sign_info_t {
  uint32_t timeEx;
  certid_t* certid;  // a block of the library
};
TARVEX_RECORD_SIZE(sign_info_t, 16);
TARVEX_FIELD_AT(sign_info_t, timeEx, 0);
TARVEX_FIELD_AT(sign_info_t, certid, 8);

struct signed_info_result_t {
  int32_t type;
  int32_t sign_num;
  sign_info_t* infos;
};
TARVEX_RECORD_SIZE(signed_info_result_t, 16);
TARVEX_FIELD_AT(signed_info_result_t, type, 0);
TARVEX_FIELD_AT(signed_info_result_t, sign_num, 4);
TARVEX_FIELD_AT(signed_info_result_t, infos, 8);

struct encrypted_info_result_t {
  int32_t type;
  int32_t recipients_num;
  certid_t* recipients;
  certid_t sender;
};
TARVEX_RECORD_SIZE(encrypted_info_result_t, 40);
TARVEX_FIELD_AT(encrypted_info_result_t, type, 0);
TARVEX_FIELD_AT(encrypted_info_result_t, recipients_num, 4);
TARVEX_FIELD_AT(encrypted_info_result_t, recipients, 8);
TARVEX_FIELD_AT(encrypted_info_result_t, sender, 16);

// ---- PKCS#7 information ----------------------------------------------------------------------

struct pkcs7_signer_t {
  string_t digest;
  string_t encryption;
  issuer_and_serial_t signer;
  int32_t authAttr_num;
  string_t* authAttrs;
  int32_t unauthAttr_num;
  string_t* unauthAttrs;
};
TARVEX_RECORD_SIZE(pkcs7_signer_t, 64);
TARVEX_FIELD_AT(pkcs7_signer_t, digest, 0);
TARVEX_FIELD_AT(pkcs7_signer_t, encryption, 8);
TARVEX_FIELD_AT(pkcs7_signer_t, signer, 16);
TARVEX_FIELD_AT(pkcs7_signer_t, authAttr_num, 32);
TARVEX_FIELD_AT(pkcs7_signer_t, authAttrs, 40);
TARVEX_FIELD_AT(pkcs7_signer_t, unauthAttr_num, 48);
TARVEX_FIELD_AT(pkcs7_signer_t, unauthAttrs, 56);

struct pkcs7_recipient_t {
  string_t publicKey;
  issuer_and_serial_t recipient;
};
TARVEX_RECORD_SIZE(pkcs7_recipient_t, 24);
TARVEX_FIELD_AT(pkcs7_recipient_t, publicKey, 0);
TARVEX_FIELD_AT(pkcs7_recipient_t, recipient, 8);

struct pkcs7_info_t {
  int32_t type;
  int32_t signer_num;
  pkcs7_signer_t* signers;
  string_t dataCipher;
  int32_t recipient_num;
  pkcs7_recipient_t* recipients;
};
TARVEX_RECORD_SIZE(pkcs7_info_t, 40);
TARVEX_FIELD_AT(pkcs7_info_t, type, 0);
TARVEX_FIELD_AT(pkcs7_info_t, signer_num, 4);
TARVEX_FIELD_AT(pkcs7_info_t, signers, 8);
TARVEX_FIELD_AT(pkcs7_info_t, dataCipher, 16);
TARVEX_FIELD_AT(pkcs7_info_t, recipient_num, 24);
TARVEX_FIELD_AT(pkcs7_info_t, recipients, 32);

// ---- Stores ---------------------------------------------------------------------------------

// import_param_t, export_param_t and add_param_t share one shape.
struct store_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
};
TARVEX_RECORD_SIZE(store_param_t, 16);
TARVEX_FIELD_AT(store_param_t, flag, 0);
TARVEX_FIELD_AT(store_param_t, reserved, 8);
struct import_param_t : store_param_t {};
struct export_param_t : store_param_t {};
struct add_param_t : store_param_t {};
TARVEX_RECORD_SIZE(import_param_t, 16);
TARVEX_RECORD_SIZE(export_param_t, 16);
TARVEX_RECORD_SIZE(add_param_t, 16);

struct find_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
  certificate_t certTemplate;
  int32_t info;
};
TARVEX_RECORD_SIZE(find_param_t, 416);
TARVEX_FIELD_AT(find_param_t, flag, 0);
TARVEX_FIELD_AT(find_param_t, reserved, 8);
TARVEX_FIELD_AT(find_param_t, certTemplate, 16);
TARVEX_FIELD_AT(find_param_t, info, 408);

struct find_result_t {
  int32_t num;
  certificate_t* certs;  // num contiguous records
};
TARVEX_RECORD_SIZE(find_result_t, 16);
TARVEX_FIELD_AT(find_result_t, num, 0);
TARVEX_FIELD_AT(find_result_t, certs, 8);

// ---- Time stamps ------------------------------------------------------------------------------

struct tsp_request_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
  int32_t index;
};
TARVEX_RECORD_SIZE(tsp_request_param_t, 24);
TARVEX_FIELD_AT(tsp_request_param_t, flag, 0);
TARVEX_FIELD_AT(tsp_request_param_t, reserved, 8);
TARVEX_FIELD_AT(tsp_request_param_t, index, 16);

struct tsp_response_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
};
TARVEX_RECORD_SIZE(tsp_response_param_t, 16);
TARVEX_FIELD_AT(tsp_response_param_t, flag, 0);
TARVEX_FIELD_AT(tsp_response_param_t, reserved, 8);

struct tsp_verify_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
  int32_t index;
  int32_t info;
};
TARVEX_RECORD_SIZE(tsp_verify_param_t, 24);
TARVEX_FIELD_AT(tsp_verify_param_t, flag, 0);
TARVEX_FIELD_AT(tsp_verify_param_t, reserved, 8);
TARVEX_FIELD_AT(tsp_verify_param_t, index, 16);
TARVEX_FIELD_AT(tsp_verify_param_t, info, 20);

struct tsp_verify_result_t {
  uint32_t timeEx;
  certificate_t* cert;  // a block of the library, or null
};
TARVEX_RECORD_SIZE(tsp_verify_result_t, 16);
TARVEX_FIELD_AT(tsp_verify_result_t, timeEx, 0);
TARVEX_FIELD_AT(tsp_verify_result_t, cert, 8);

// ---- OCSP ---------------------------------------------------------------------------------------

// ocsp_request_param_t and ocsp_response_param_t share one shape.
struct ocsp_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
};
TARVEX_RECORD_SIZE(ocsp_param_t, 16);
struct ocsp_request_param_t : ocsp_param_t {};
struct ocsp_response_param_t : ocsp_param_t {};
TARVEX_RECORD_SIZE(ocsp_request_param_t, 16);
TARVEX_RECORD_SIZE(ocsp_response_param_t, 16);
TARVEX_FIELD_AT(ocsp_param_t, flag, 0);
TARVEX_FIELD_AT(ocsp_param_t, reserved, 8);

struct ocsp_verify_param_t {
  int32_t flag;
  uint64_t reserved;  // always 0
  int32_t info;
};
TARVEX_RECORD_SIZE(ocsp_verify_param_t, 24);
TARVEX_FIELD_AT(ocsp_verify_param_t, flag, 0);
TARVEX_FIELD_AT(ocsp_verify_param_t, reserved, 8);
TARVEX_FIELD_AT(ocsp_verify_param_t, info, 16);

struct ocsp_verify_result_t {
  int32_t status;
  int32_t reason;
  uint32_t revtimeEx;
  uint32_t thisupdEx;
  uint32_t nextupdEx;
  certificate_t* cert;  // a block of the library, or null
};
TARVEX_RECORD_SIZE(ocsp_verify_result_t, 32);
TARVEX_FIELD_AT(ocsp_verify_result_t, status, 0);
TARVEX_FIELD_AT(ocsp_verify_result_t, reason, 4);
TARVEX_FIELD_AT(ocsp_verify_result_t, revtimeEx, 8);
TARVEX_FIELD_AT(ocsp_verify_result_t, thisupdEx, 12);
TARVEX_FIELD_AT(ocsp_verify_result_t, nextupdEx, 16);
TARVEX_FIELD_AT(ocsp_verify_result_t, cert, 24);

// ---- CMS message information -------------------------------------------------------------------

enum : int32_t {
  CMS_CERTID_ISSUER_SERIAL = 1,   // issuer, serialNum, certHash
  CMS_CERTID_SUBJECT_KEY_ID = 2,  // subjKeyId, in the issuer's slot
};
struct cms_certid_t {
  int32_t type;
  union {
    string_t issuer;     // type 1
    string_t subjKeyId;  // type 2
  };
  string_t serialNum;
  string_t certHash;
};
TARVEX_RECORD_SIZE(cms_certid_t, 32);
TARVEX_FIELD_AT(cms_certid_t, type, 0);
TARVEX_FIELD_AT(cms_certid_t, issuer, 8);
TARVEX_FIELD_AT(cms_certid_t, subjKeyId, 8);
TARVEX_FIELD_AT(cms_certid_t, serialNum, 16);
TARVEX_FIELD_AT(cms_certid_t, certHash, 24);

struct cms_siginf_t {
  int32_t version;
  string_t digestAlg;
  string_t signatureAlg;
  cms_certid_t signerId;
  uint32_t signingTimeEx;
  int32_t authAttr_num;
  string_t* authAttrs;
  int32_t unauthAttr_num;
  string_t* unauthAttrs;
};
TARVEX_RECORD_SIZE(cms_siginf_t, 88);
TARVEX_FIELD_AT(cms_siginf_t, version, 0);
TARVEX_FIELD_AT(cms_siginf_t, digestAlg, 8);
TARVEX_FIELD_AT(cms_siginf_t, signatureAlg, 16);
TARVEX_FIELD_AT(cms_siginf_t, signerId, 24);
TARVEX_FIELD_AT(cms_siginf_t, signingTimeEx, 56);
TARVEX_FIELD_AT(cms_siginf_t, authAttr_num, 60);
TARVEX_FIELD_AT(cms_siginf_t, authAttrs, 64);
TARVEX_FIELD_AT(cms_siginf_t, unauthAttr_num, 72);
TARVEX_FIELD_AT(cms_siginf_t, unauthAttrs, 80);

struct cms_recinf_t {
  int32_t type;
  int32_t index;
  int32_t version;
  cms_certid_t originatorId;
  string_t publicKeyAlg;
  string_t cipherAlg;
  cms_certid_t recipientId;
};
TARVEX_RECORD_SIZE(cms_recinf_t, 96);
TARVEX_FIELD_AT(cms_recinf_t, type, 0);
TARVEX_FIELD_AT(cms_recinf_t, index, 4);
TARVEX_FIELD_AT(cms_recinf_t, version, 8);
TARVEX_FIELD_AT(cms_recinf_t, originatorId, 16);
TARVEX_FIELD_AT(cms_recinf_t, publicKeyAlg, 48);
TARVEX_FIELD_AT(cms_recinf_t, cipherAlg, 56);
TARVEX_FIELD_AT(cms_recinf_t, recipientId, 64);

enum : int32_t {
  CMS_MSG_SIGNED = 1,     // the list holds signers
  CMS_MSG_ENVELOPED = 2,  // the list holds recipients
};
struct cms_msginf_t {
  int32_t type;
  int32_t flags;
  int32_t list_num;  // signer_num (type 1) or recipient_num (type 2)
  union {
    cms_siginf_t* signers;     // type 1
    cms_recinf_t* recipients;  // type 2
  };
  string_t cipherAlg;
  int32_t unprotAttr_num;
  string_t* unprotAttrs;
};
TARVEX_RECORD_SIZE(cms_msginf_t, 48);
TARVEX_FIELD_AT(cms_msginf_t, type, 0);
TARVEX_FIELD_AT(cms_msginf_t, flags, 4);
TARVEX_FIELD_AT(cms_msginf_t, list_num, 8);
TARVEX_FIELD_AT(cms_msginf_t, signers, 16);
TARVEX_FIELD_AT(cms_msginf_t, recipients, 16);
TARVEX_FIELD_AT(cms_msginf_t, cipherAlg, 24);
TARVEX_FIELD_AT(cms_msginf_t, unprotAttr_num, 32);
TARVEX_FIELD_AT(cms_msginf_t, unprotAttrs, 40);

#undef TARVEX_RECORD_SIZE
#undef TARVEX_FIELD_AT

// ---- Functions ----------------------------------------------------------------------------------
// Every function returns a 32-bit status (0 for success) unless noted. Records and blocks go by
// address; strings and handles by value; the context first, where a function takes one.

extern "C" {

// Lifecycle
int32_t QUMEN_Initialize(string_t name, int32_t value, context_t* context);
int32_t QUMEN_InitializeEx(int32_t value, local_param_t* param, context_t* context);
int32_t QUMEN_InitMinimal(context_t* context);
int32_t QUMEN_Uninitialize(context_t context);

// Memory of the library: AllocMem returns null on failure; the Free functions' results are ignored.
void* QUMEN_AllocMem(context_t context, int64_t size);
int32_t QUMEN_FreeMem(context_t context, void* block);
int32_t QUMEN_FreeCert(context_t context, certificate_t* cert);
int32_t QUMEN_FreeVerifyResult(context_t context, verify_result_t* result);
int32_t QUMEN_FreeDecryptResult(context_t context, decrypt_result_t* result);
int32_t QUMEN_FreeCertId(context_t context, certid_t* certid);
int32_t QUMEN_FreeSignedInfoResult(context_t context, signed_info_result_t* result);
int32_t QUMEN_FreeEncryptedInfoResult(context_t context, encrypted_info_result_t* result);
int32_t QUMEN_FreeFindResult(context_t context, find_result_t* result);
int32_t QUMEN_FreePkcs7Info(context_t context, pkcs7_info_t* info);
int32_t QUMEN_FreeCrl(context_t context, crl_t* crl);
int32_t QUMEN_FreeAltnameEx(context_t context, altname_ex_t* altname);
int32_t QUMEN_CmsFreeMsgInf(context_t context, cms_msginf_t* info);
int32_t QUMEN_TspFreeVerifyResult(context_t context, tsp_verify_result_t* result);
int32_t QUMEN_OcspFreeVerifyResult(context_t context, ocsp_verify_result_t* result);

// Diagnostics and utilities. GetErrorText returns its buffer, or null when it has no text.
string_t QUMEN_GetErrorText(int32_t code, char* buffer, int32_t capacity);
int32_t QUMEN_GetErrorLineEx(context_t context, mem_blk_t* a, mem_blk_t* b, int32_t* c,
                             mem_blk_t* d);
int32_t QUMEN_GenRandom(context_t context, int32_t count, mem_blk_t* out);
int32_t QUMEN_EncodeMem(uint8_t* first, uint8_t* second, int64_t length);
int32_t QUMEN_DecodeMem(uint8_t* first, uint8_t* second, int64_t length);
int32_t QUMEN_UpdateCRLs(context_t context);
int32_t QUMEN_ExportToSystemStore(context_t context, int32_t value);
int32_t QUMEN_ControlEx(context_t context, int64_t value, int32_t selector, mem_blk_t* in,
                        mem_blk_t* out, int32_t option);

// Hashing and one-shot signing
int32_t QUMEN_HashMem(context_t context, mem_blk_t* data, mem_blk_t* hash);
int32_t QUMEN_HashFile(context_t context, string_t name, mem_blk_t* hash);
int32_t QUMEN_BlkHashMem(context_t context, string_t text, mem_blk_t* data, mem_blk_t* hash);
int32_t QUMEN_BlkHashFile(context_t context, string_t text, string_t name, mem_blk_t* hash);
int32_t QUMEN_SignMem(context_t context, sign_param_t* param, mem_blk_t* in1, mem_blk_t* in2,
                      mem_blk_t* result);
int32_t QUMEN_SignFile(context_t context, sign_param_t* param, string_t name1, string_t name2,
                       string_t name3);
int32_t QUMEN_VerifyMem(context_t context, verify_param_t* param, mem_blk_t* in1, mem_blk_t* in2,
                        mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_VerifyFile(context_t context, verify_param_t* param, string_t name1, string_t name2,
                         string_t name3, verify_result_t* result);
int32_t QUMEN_SignHashMem(context_t context, sign_param_t* unused, mem_blk_t* in,
                          mem_blk_t* result);
int32_t QUMEN_VerifyHashMem(context_t context, verify_param_t* unused, mem_blk_t* in1,
                            mem_blk_t* in2, mem_blk_t* in3);

// Certificate and CRL inspection
int32_t QUMEN_ParseCert(context_t context, mem_blk_t* encoded, int32_t flag, certificate_t* cert);
int32_t QUMEN_VerifyCert(context_t context, verify_param_t* param, mem_blk_t* encoded,
                         certificate_t* cert);
int32_t QUMEN_VerifyCertificatePolicy(context_t context, verify_policy_param_t* param,
                                      mem_blk_t* encoded);
int32_t QUMEN_ParseCrl(context_t context, mem_blk_t* encoded, int32_t flag, crl_t* crl);
int32_t QUMEN_VerifyCrlPolicy(context_t context, verify_policy_param_t* param, mem_blk_t* encoded);
int32_t QUMEN_ParseAltnameEx(context_t context, mem_blk_t* encoded, altname_ex_t* altname);
int32_t QUMEN_ParseBasicConstraintsEx(context_t context, mem_blk_t* encoded,
                                      basic_constraints_ex_t* constraints);
int32_t QUMEN_ParseKeyIdentifierEx(context_t context, mem_blk_t* encoded, mem_blk_t* key_id);
int32_t QUMEN_ShowCertificate(context_t context, mem_blk_t* encoded);
int32_t QUMEN_ShowCrl(context_t context, mem_blk_t* encoded);
int32_t QUMEN_ShowCertificateEx(context_t context, int64_t value, mem_blk_t* encoded);
int32_t QUMEN_ShowCrlEx(context_t context, int64_t value, mem_blk_t* encoded);
int32_t QUMEN_ShowRequestEx(context_t context, int64_t value, mem_blk_t* encoded);
int32_t QUMEN_ShowRevocationEx(context_t context, int64_t value, mem_blk_t* encoded);
int32_t QUMEN_CreateXmlRequest(context_t context, int32_t flag, certificate_t* cert,
                               mem_blk_t* request);

// PKCS#7 envelopes
int32_t QUMEN_EncryptMem(context_t context, encrypt_param_t* param, mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_EncryptFile(context_t context, encrypt_param_t* param, string_t in, string_t out);
int32_t QUMEN_DecryptMem(context_t context, decrypt_param_t* param, mem_blk_t* in, mem_blk_t* out,
                         decrypt_result_t* result);
int32_t QUMEN_DecryptFile(context_t context, decrypt_param_t* param, string_t in, string_t out,
                          decrypt_result_t* result);
int32_t QUMEN_SignedInfoMem(context_t context, mem_blk_t* in, signed_info_result_t* result);
int32_t QUMEN_SignedInfoFile(context_t context, string_t in, signed_info_result_t* result);
int32_t QUMEN_EncryptedInfoMem(context_t context, mem_blk_t* in, encrypted_info_result_t* result);
int32_t QUMEN_EncryptedInfoFile(context_t context, string_t in, encrypted_info_result_t* result);
int32_t QUMEN_AttachSignMem(context_t context, mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out);
int32_t QUMEN_AttachSignFile(context_t context, string_t in, string_t in2, string_t out);
int32_t QUMEN_DetachSignMem(context_t context, mem_blk_t* in, mem_blk_t* out, mem_blk_t* out2);
int32_t QUMEN_DetachSignFile(context_t context, string_t in, string_t out, string_t out2);
int32_t QUMEN_VerifyAndSignMem(context_t context, verify_param_t* verify, sign_param_t* sign,
                               mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out,
                               verify_result_t* result);
int32_t QUMEN_VerifyAndSignFile(context_t context, verify_param_t* verify, sign_param_t* sign,
                                string_t in, string_t in2, string_t out, verify_result_t* result);
int32_t QUMEN_SignAndEncryptMem(context_t context, sign_param_t* sign, encrypt_param_t* encrypt,
                                mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_SignAndEncryptFile(context_t context, sign_param_t* sign, encrypt_param_t* encrypt,
                                 string_t in, string_t out);
int32_t QUMEN_DecryptAndVerifyMem(context_t context, decrypt_param_t* decrypt,
                                  verify_param_t* verify, mem_blk_t* in, mem_blk_t* out,
                                  decrypt_result_t* result, verify_result_t* verify_result);
int32_t QUMEN_DecryptAndVerifyFile(context_t context, decrypt_param_t* decrypt,
                                   verify_param_t* verify, string_t in, string_t out,
                                   decrypt_result_t* result, verify_result_t* verify_result);
int32_t QUMEN_GetPkcs7InfoMem(context_t context, mem_blk_t* in, pkcs7_info_t* info);
int32_t QUMEN_GetPkcs7InfoFile(context_t context, string_t in, pkcs7_info_t* info);

// Streaming
int32_t QUMEN_StrHashInitMem(context_t context, string_t a, strhandle_t* h);
int32_t QUMEN_StrHashUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in);
int32_t QUMEN_StrHashFinalMem(context_t context, strhandle_t* h, mem_blk_t* out);
int32_t QUMEN_StrHashFile(context_t context, string_t a, string_t in, mem_blk_t* out);
int32_t QUMEN_StrSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in, strhandle_t* h);
int32_t QUMEN_StrSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                               mem_blk_t* in);
int32_t QUMEN_StrSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                              mem_blk_t* out);
int32_t QUMEN_StrSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                          string_t out);
int32_t QUMEN_StrVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                               strhandle_t* h);
int32_t QUMEN_StrVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                 mem_blk_t* in);
int32_t QUMEN_StrVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_StrVerifyFile(context_t context, verify_param_t* param, string_t in, string_t in2,
                            string_t out, verify_result_t* result);
int32_t QUMEN_StrEncryptInitMem(context_t context, encrypt_param_t* param, strhandle_t* h);
int32_t QUMEN_StrEncryptUpdateMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                  mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_StrEncryptFinalMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                 mem_blk_t* out);
int32_t QUMEN_StrEncryptFile(context_t context, encrypt_param_t* param, string_t in, string_t out);
int32_t QUMEN_StrDecryptInitMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                                int32_t* state, strhandle_t* h);
int32_t QUMEN_StrDecryptUpdateMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                  mem_blk_t* in, int32_t* state, mem_blk_t* out);
int32_t QUMEN_StrDecryptFinalMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                 decrypt_result_t* result);
int32_t QUMEN_StrDecryptFile(context_t context, decrypt_param_t* param, string_t in, string_t out,
                             decrypt_result_t* result);
int32_t QUMEN_StrEncryptedInfoMem(context_t context, mem_blk_t* in,
                                  encrypted_info_result_t* result);
int32_t QUMEN_StrEncryptedInfoFile(context_t context, string_t in, encrypted_info_result_t* result);

// CMS: signing with a parameter record, attached (one input) and detached (two inputs)
int32_t QUMEN_CmsBlkAttSignMem(context_t context, sign_param_t* param, mem_blk_t* in,
                               mem_blk_t* out);
int32_t QUMEN_CmsBlkAttSignFile(context_t context, sign_param_t* param, string_t in, string_t out);
int32_t QUMEN_CmsStrAttSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in,
                                   strhandle_t* h);
int32_t QUMEN_CmsStrAttSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_CmsStrAttSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                                    mem_blk_t* out);
int32_t QUMEN_CmsStrAttSignFile(context_t context, sign_param_t* param, string_t in, string_t out);
int32_t QUMEN_CmsBlkDetSignMem(context_t context, sign_param_t* param, mem_blk_t* in,
                               mem_blk_t* in2, mem_blk_t* out);
int32_t QUMEN_CmsBlkDetSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                                string_t out);
int32_t QUMEN_CmsStrDetSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in,
                                   strhandle_t* h);
int32_t QUMEN_CmsStrDetSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                                     mem_blk_t* in);
int32_t QUMEN_CmsStrDetSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                                    mem_blk_t* out);
int32_t QUMEN_CmsStrDetSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                                string_t out);

// CMS: verification, attached and detached
int32_t QUMEN_CmsBlkAttVerifyMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                 mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_CmsBlkAttVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t out, verify_result_t* result);
int32_t QUMEN_CmsStrAttVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h);
int32_t QUMEN_CmsStrAttVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_CmsStrAttVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                      mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_CmsStrAttVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t out, verify_result_t* result);
int32_t QUMEN_CmsBlkDetVerifyMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                 mem_blk_t* in2, mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_CmsBlkDetVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t in2, string_t out, verify_result_t* result);
int32_t QUMEN_CmsStrDetVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h);
int32_t QUMEN_CmsStrDetVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in);
int32_t QUMEN_CmsStrDetVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                      mem_blk_t* out, verify_result_t* result);
int32_t QUMEN_CmsStrDetVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t in2, string_t out, verify_result_t* result);

// CMS: encryption and decryption
int32_t QUMEN_CmsBlkEncryptMem(context_t context, encrypt_param_t* param, mem_blk_t* in,
                               mem_blk_t* out);
int32_t QUMEN_CmsBlkEncryptFile(context_t context, encrypt_param_t* param, string_t in,
                                string_t out);
int32_t QUMEN_CmsStrEncryptInitMem(context_t context, encrypt_param_t* param, mem_blk_t* in,
                                   strhandle_t* h);
int32_t QUMEN_CmsStrEncryptUpdateMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_CmsStrEncryptFinalMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                    mem_blk_t* out);
int32_t QUMEN_CmsStrEncryptFile(context_t context, encrypt_param_t* param, string_t in,
                                string_t out);
int32_t QUMEN_CmsBlkDecryptMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                               mem_blk_t* out, decrypt_result_t* result);
int32_t QUMEN_CmsBlkDecryptFile(context_t context, decrypt_param_t* param, string_t in,
                                string_t out, decrypt_result_t* result);
int32_t QUMEN_CmsStrDecryptInitMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                                   strhandle_t* h);
int32_t QUMEN_CmsStrDecryptUpdateMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_CmsStrDecryptFinalMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                    mem_blk_t* out, decrypt_result_t* result);
int32_t QUMEN_CmsStrDecryptFile(context_t context, decrypt_param_t* param, string_t in,
                                string_t out, decrypt_result_t* result);

// CMS: signing without a parameter record, and message information
int32_t QUMEN_CmsBlkSignAttachMem(context_t context, mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out,
                                  int32_t value);
int32_t QUMEN_CmsBlkSignAttachFile(context_t context, string_t in, string_t in2, string_t out,
                                   int32_t value);
int32_t QUMEN_CmsBlkSignDetachMem(context_t context, mem_blk_t* in, mem_blk_t* out, mem_blk_t* out2,
                                  int32_t value);
int32_t QUMEN_CmsBlkSignDetachFile(context_t context, string_t in, string_t out, string_t out2,
                                   int32_t value);
int32_t QUMEN_CmsStrSignDetachInitMem(context_t context, mem_blk_t* in, strhandle_t* h,
                                      int32_t value);
int32_t QUMEN_CmsStrSignDetachUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in,
                                        mem_blk_t* out);
int32_t QUMEN_CmsStrSignDetachFinalMem(context_t context, strhandle_t* h, mem_blk_t* out,
                                       mem_blk_t* out2);
int32_t QUMEN_CmsStrSignDetachFile(context_t context, string_t in, string_t out, string_t out2,
                                   int32_t value);
int32_t QUMEN_CmsBlkMsgInfMem(context_t context, mem_blk_t* in, cms_msginf_t* info, int32_t value);
int32_t QUMEN_CmsBlkMsgInfFile(context_t context, string_t in, cms_msginf_t* info, int32_t value);
int32_t QUMEN_CmsStrMsgInfInitMem(context_t context, mem_blk_t* in, strhandle_t* h, int32_t value);
int32_t QUMEN_CmsStrMsgInfUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in);
int32_t QUMEN_CmsStrMsgInfFinalMem(context_t context, strhandle_t* h, cms_msginf_t* info);
int32_t QUMEN_CmsStrMsgInfFile(context_t context, string_t in, cms_msginf_t* info, int32_t value);

// Stores and profiles. The enumerations receive 0 (a null pointer) in their second position.
int32_t QUMEN_ImportMem(context_t context, import_param_t* param, mem_blk_t* data);
int32_t QUMEN_ImportFile(context_t context, import_param_t* param, string_t name);
int32_t QUMEN_ExportMem(context_t context, export_param_t* param, mem_blk_t* out);
int32_t QUMEN_ExportFile(context_t context, export_param_t* param, string_t name);
int32_t QUMEN_FindCert(context_t context, find_param_t* param, find_result_t* result);
int32_t QUMEN_AddCertificate(context_t context, add_param_t* param, mem_blk_t* cert);
int32_t QUMEN_AddCRL(context_t context, add_param_t* param, mem_blk_t* crl);
int32_t QUMEN_EnumStoreObjects(context_t context, void* unused, strhandle_t* h, mem_blk_t* out,
                               int32_t options);
int32_t QUMEN_EnumStoreObjectsEx(context_t context, void* unused, string_t text1, string_t text2,
                                 strhandle_t* h, mem_blk_t* out, int32_t options);
int32_t QUMEN_IssueCertificateStore(context_t context, mem_blk_t* data, string_t text1,
                                    string_t text2);
int32_t QUMEN_CreateCertificateStore(context_t context, mem_blk_t* blocks1, int32_t count1,
                                     mem_blk_t* blocks2, int32_t count2, string_t text1,
                                     string_t text2, int32_t options);
int32_t QUMEN_CreateRegistryProfile(context_t context, string_t text1, string_t text2,
                                    int32_t value);
int32_t QUMEN_CreateRegistryProfileEx(context_t context, string_t text1, string_t text2,
                                      string_t text3, string_t text4, int32_t value);
int32_t QUMEN_QueryRegistryProfile(context_t context, char* buffer, int32_t size, int32_t selector);
int32_t QUMEN_QueryRegistryProfileEx(context_t context, mem_blk_t* out1, mem_blk_t* out2,
                                     mem_blk_t* out3, mem_blk_t* out4, int32_t selector);

// Time stamps
int32_t QUMEN_TspBlkRequestFromCmsMem(context_t context, tsp_request_param_t* param, mem_blk_t* in,
                                      mem_blk_t* out);
int32_t QUMEN_TspRequestFromPkcs7(context_t context, tsp_request_param_t* param, mem_blk_t* in,
                                  mem_blk_t* out);
int32_t QUMEN_TspBlkRequestFromCmsFile(context_t context, tsp_request_param_t* param, string_t in,
                                       mem_blk_t* out);
int32_t QUMEN_TspSignResponse(context_t context, tsp_response_param_t* param, mem_blk_t* in,
                              mem_blk_t* out);
int32_t QUMEN_TspVerifyResponse(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                tsp_verify_result_t* result);
int32_t QUMEN_TspBlkVerifyCmsMem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                 tsp_verify_result_t* result);
int32_t QUMEN_TspVerifyPkcs7Mem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                tsp_verify_result_t* result);
int32_t QUMEN_TspBlkVerifyCmsFile(context_t context, tsp_verify_param_t* param, string_t in,
                                  tsp_verify_result_t* result);
int32_t QUMEN_TspStrVerifyCmsFile(context_t context, tsp_verify_param_t* param, string_t in,
                                  tsp_verify_result_t* result);
int32_t QUMEN_TspVerifyPkcs7File(context_t context, tsp_verify_param_t* param, string_t in,
                                 tsp_verify_result_t* result);
int32_t QUMEN_TspBlkUrlStampCmsMem(context_t context, tsp_request_param_t* param, string_t url,
                                   mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_TspUrlStampPkcs7Mem(context_t context, tsp_request_param_t* param, string_t url,
                                  mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_TspBlkUrlStampCmsFile(context_t context, tsp_request_param_t* param, string_t url,
                                    string_t in, string_t out);
int32_t QUMEN_TspStrUrlStampCmsFile(context_t context, tsp_request_param_t* param, string_t url,
                                    string_t in, string_t out);
int32_t QUMEN_TspUrlStampPkcs7File(context_t context, tsp_request_param_t* param, string_t url,
                                   string_t in, string_t out);
int32_t QUMEN_TspStrUrlStampCmsInitMem(context_t context, tsp_request_param_t* param, string_t url,
                                       mem_blk_t* in, strhandle_t* h);
int32_t QUMEN_TspStrUrlStampCmsUpdateMem(context_t context, tsp_request_param_t* param,
                                         string_t url, strhandle_t* h, mem_blk_t* in,
                                         mem_blk_t* out);
int32_t QUMEN_TspStrUrlStampCmsFinalMem(context_t context, tsp_request_param_t* param, string_t url,
                                        strhandle_t* h, mem_blk_t* out);
int32_t QUMEN_TspStrVerifyCmsInitMem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h);
int32_t QUMEN_TspStrVerifyCmsUpdateMem(context_t context, tsp_verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in);
int32_t QUMEN_TspStrVerifyCmsFinalMem(context_t context, tsp_verify_param_t* param, strhandle_t* h,
                                      tsp_verify_result_t* result);

// OCSP
int32_t QUMEN_OcspCreateRequest(context_t context, ocsp_request_param_t* param, mem_blk_t* in,
                                mem_blk_t* out);
int32_t QUMEN_OcspUrlObtainResponse(context_t context, ocsp_request_param_t* param, string_t url,
                                    mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_OcspSignResponse(context_t context, ocsp_response_param_t* param, mem_blk_t* in,
                               mem_blk_t* out);
int32_t QUMEN_OcspVerifyResponse(context_t context, ocsp_verify_param_t* param, mem_blk_t* in,
                                 ocsp_verify_result_t* result);

// TLS sessions. Destroy receives the handle's address; the others take it by value.
int32_t QUMEN_TlsSessionCreate(context_t context, string_t text, strhandle_t* h, int32_t value);
int32_t QUMEN_TlsSessionDestroy(context_t context, strhandle_t* h);
int32_t QUMEN_TlsSessionHandshake(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_TlsSessionComplete(context_t context, strhandle_t h);
int32_t QUMEN_TlsSessionQuery(context_t context, strhandle_t h, int32_t selector, mem_blk_t* out);
int32_t QUMEN_TlsSessionWrite(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out);
int32_t QUMEN_TlsSessionRead(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out);

}  // extern "C"
