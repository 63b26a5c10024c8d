// Results a test programmed from Java, put in place of a function's own: the signers and content
// of a verification, the certificates of a store. Java encodes them (big-endian, as
// java.io.DataOutputStream writes); every text, array and buffer is handed out from the ledger
// under the call's context, so the bridge must give each back as it gives back the library's.
//
//   text, bytes   length (4; -1 for null), then the bytes
//   certificate   fields; issuer, serialNumber, subject, algorithm (texts); notBeforeEx,
//                 notAfterEx, keyUsage, notBeforePrivateEx, notAfterPrivateEx (4 each); the
//                 14 texts of issuerAltName, then of subjectAltName; keyId; the number of
//                 policies and each (oid, org_name, not_num, text); of extended key usages and
//                 each (oid); of extensions and each (oid, type, critical, data as bytes);
//                 certEncoded and certHash (bytes)
//   verification  status (4); the number of signers and each: status, timeEx (4 each), 1 and a
//                 certificate or 0 for none; the content (bytes; -1: the block stays empty)
//   store         the number of certificates and each
#include <cstring>
#include <string>

#include "entry.h"

namespace standin::detail {

namespace {

// Reads what Java wrote; past the end it reads zeros and lengths of -1.
struct Reader {
  const std::vector<uint8_t>& in;
  size_t at = 0;

  uint32_t u32() {
    if (in.size() - at < 4) {
      at = in.size();
      return 0;
    }
    uint32_t v = uint32_t(in[at]) << 24 | uint32_t(in[at + 1]) << 16 | uint32_t(in[at + 2]) << 8 |
                 in[at + 3];
    at += 4;
    return v;
  }
  int32_t i32() { return int32_t(u32()); }
  uint8_t u8() { return at < in.size() ? in[at++] : 0; }
  // A length and as many bytes; false for -1 (null).
  bool bytes(std::vector<uint8_t>* out) {
    int32_t n = at < in.size() ? i32() : -1;
    if (n < 0) return false;
    size_t take = std::min(size_t(n), in.size() - at);
    out->assign(in.begin() + long(at), in.begin() + long(at + take));
    at += take;
    return true;
  }
  string_t text(context_t c) {
    std::vector<uint8_t> b;
    if (!bytes(&b)) return nullptr;
    return standin::text(c, std::string(b.begin(), b.end()));
  }
  mem_blk_t block(context_t c) {
    std::vector<uint8_t> b;
    if (!bytes(&b)) return mem_blk_t{0, nullptr};
    return mem_blk_t{int32_t(b.size()), standin::bytes(c, b)};
  }
  // A count, and an array of that many zeroed elements from the ledger (null for none).
  template <typename T>
  T* array(context_t c, int32_t* count) {
    int32_t n = std::max(i32(), 0);
    *count = n;
    if (n == 0) return nullptr;
    auto* p = static_cast<T*>(alloc(c, int64_t(sizeof(T)) * n));
    std::memset(static_cast<void*>(p), 0, sizeof(T) * size_t(n));
    return p;
  }
};

void read_altname(Reader& r, context_t c, altname_t* names) {
  string_t* slot = &names->emailAddress;  // fourteen consecutive string_t
  for (size_t i = 0; i < sizeof(altname_t) / sizeof(string_t); ++i) slot[i] = r.text(c);
}

void read_certificate(Reader& r, context_t c, certificate_t* cert) {
  std::memset(static_cast<void*>(cert), 0, sizeof *cert);
  cert->fields = r.i32();
  cert->issuer = r.text(c);
  cert->serialNumber = r.text(c);
  cert->subject = r.text(c);
  cert->algorithm = r.text(c);
  cert->notBeforeEx = r.u32();
  cert->notAfterEx = r.u32();
  cert->keyUsage = r.i32();
  cert->notBeforePrivateEx = r.u32();
  cert->notAfterPrivateEx = r.u32();
  read_altname(r, c, &cert->issuerAltName);
  read_altname(r, c, &cert->subjectAltName);
  cert->keyId = r.text(c);
  cert->policies = r.array<policy_t>(c, &cert->policy_num);
  for (int32_t i = 0; i < cert->policy_num; ++i) {
    policy_t& p = cert->policies[i];
    p.oid = r.text(c);
    p.org_name = r.text(c);
    p.not_num = r.i32();
    p.text = r.text(c);
  }
  cert->extKeyUsage = r.array<extkeyusage_t>(c, &cert->extkeyusage_num);
  for (int32_t i = 0; i < cert->extkeyusage_num; ++i) cert->extKeyUsage[i].oid = r.text(c);
  cert->extensions = r.array<extension_t>(c, &cert->extension_num);
  for (int32_t i = 0; i < cert->extension_num; ++i) {
    extension_t& e = cert->extensions[i];
    e.oid = r.text(c);
    e.type = r.i32();
    e.critical = r.i32();
    mem_blk_t data = r.block(c);
    e.len = data.len;
    e.data = data.buf;
  }
  cert->certEncoded = r.block(c);
  cert->certHash = r.block(c);
}

// The encodings of a store's certificates, which an enumeration hands out one per step.
std::vector<std::vector<uint8_t>> encodings(const std::vector<uint8_t>& encoded) {
  Reader r{encoded};
  std::vector<std::vector<uint8_t>> objects;
  int32_t n = std::max(r.i32(), 0);
  for (int32_t i = 0; i < n && r.at < encoded.size(); ++i) {
    // Read into a scratch record whose blocks are given back at once: only the encoding counts.
    certificate_t cert;
    read_certificate(r, context_t{}, &cert);
    const mem_blk_t& e = cert.certEncoded;
    objects.emplace_back(e.buf, e.buf + (e.buf != nullptr ? e.len : 0));
    free_certificate(context_t{}, &cert, "stand-in");
  }
  return objects;
}

}  // namespace

int32_t answer_verification(context_t c, const std::vector<uint8_t>& encoded, mem_blk_t* content,
                            verify_result_t* result) {
  Reader r{encoded};
  int32_t status = r.i32();
  result->signs = r.array<sign_status_t>(c, &result->sign_num);
  for (int32_t i = 0; i < result->sign_num; ++i) {
    sign_status_t& s = result->signs[i];
    s.status = r.i32();
    s.timeEx = r.u32();
    if (r.u8() != 0) {
      s.cert = static_cast<certificate_t*>(alloc(c, sizeof(certificate_t)));
      read_certificate(r, c, s.cert);
    }
  }
  std::vector<uint8_t> bytes;
  if (r.bytes(&bytes) && content != nullptr) {
    content->len = int32_t(bytes.size());
    content->buf = standin::bytes(c, bytes);
  }
  return status;
}

int32_t answer_find(context_t c, const std::vector<uint8_t>& encoded, find_result_t* result) {
  Reader r{encoded};
  result->certs = r.array<certificate_t>(c, &result->num);
  for (int32_t i = 0; i < result->num; ++i) read_certificate(r, c, &result->certs[i]);
  return 0;
}

int32_t answer_enumeration(context_t c, const std::vector<uint8_t>& encoded, strhandle_t* position,
                           mem_blk_t* out) {
  std::vector<std::vector<uint8_t>> objects = encodings(encoded);
  return enumerate(c, position, out, &objects);
}

}  // namespace standin::detail
