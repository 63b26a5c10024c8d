// Fully populated results from the stand-in's allocator.
#include <cstring>
#include <string>

#include "entry.h"

namespace standin {

std::string CertificateText::issuer(int seed) { return "CN=Stand-in CA " + std::to_string(seed) + ",O=Stand-in"; }
std::string CertificateText::subject(int seed) { return "CN=Signer " + std::to_string(seed) + ",O=Stand-in"; }
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
  static const char* const kFields[] = {
      "emailAddress", "DNS",         "URI",           "IP",      "organizationName",
      "registredAddress", "surname", "businessCategory", "telephoneNumber", "description",
      "account_number", "bank_id",   "physicalDelivery", "exchange_address"};
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
