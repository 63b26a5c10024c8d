// Results of any shape, drawn from a chooser: what a fuzzer makes the library answer.
#include <cstring>
#include <string>

#include "entry.h"

namespace standin {

namespace {

constexpr int32_t kFar = 1 << 30;  // a count no array could have

// Draws every choice of one fill.
struct Draw {
  context_t c;
  const Choose& choose;

  uint32_t below(uint32_t n) const { return n > 1 ? choose(n) % n : 0; }
  bool one_in(uint32_t n) const { return below(n) == 0; }

  int32_t number() const {
    static const int32_t kValues[] = {0, 1, -1, 2, 7, 0x7FFFFFFF, int32_t(0x80000000), 0xFFFF};
    return kValues[below(std::size(kValues))];
  }
  uint32_t time() const { return one_in(2) ? 0xFFFFFFFFu - below(3) : below(0x80000000u); }

  string_t text() const {
    switch (below(8)) {
      case 0:
      case 1:
        return nullptr;
      case 2:
        return standin::text(c, "");
      case 3:
        return standin::text(c, std::string(300 + below(300), 'x'));  // past any stack buffer
      case 4:
        return standin::text(c, "caf\xC3\xA9 \xFF\x80");  // not ASCII
      default:
        return standin::text(c, "t" + std::to_string(below(1000)));
    }
  }

  void block(mem_blk_t* b) const {
    switch (below(7)) {
      case 0:
        *b = {0, nullptr};
        break;
      case 1:
        *b = {int32_t(below(5)) - 4, standin::bytes(c, {1, 2})};
        break;  // len <= 0
      case 2:
        *b = {one_in(2) ? kFar : 9, nullptr};
        break;
      case 3:
        *b = {int32_t(-1 - int32_t(below(3))), nullptr};
        break;
      default: {
        int32_t n = int32_t(1 + below(one_in(8) ? 5000 : 40));
        *b = {n, static_cast<uint8_t*>(alloc(c, n))};
        std::memset(b->buf, int(below(256)), size_t(n));
      }
    }
  }

  // An array of records: its count and, for a count of at least 1, `count` elements each made by
  // `each`, or no array at all; a negative or far count goes with an empty block or none.
  template <typename T, typename Each>
  void array(int32_t* count, T** out, Each each) const {
    *out = nullptr;
    switch (below(8)) {
      case 0:
        *count = 0;
        break;
      case 1:
        *count = int32_t(1 + below(4));
        break;  // no array for them
      case 2:
        *count = one_in(2) ? -1 - int32_t(below(5)) : kFar;
        if (*count < 0 && one_in(2)) *out = static_cast<T*>(zeroed(sizeof(T)));
        break;
      default:
        *count = int32_t(1 + below(one_in(10) ? 40 : 4));
        *out = static_cast<T*>(zeroed(sizeof(T) * size_t(*count)));
        for (int32_t i = 0; i < *count; ++i) each(&(*out)[i]);
    }
  }
  void texts(int32_t* count, string_t** out) const {
    array(count, out, [&](string_t* s) { *s = text(); });
  }

  void* zeroed(size_t size) const {
    void* p = alloc(c, int64_t(size));
    std::memset(p, 0, size);
    return p;
  }

  void altname(altname_t* names) const {
    string_t* slot = &names->emailAddress;
    for (size_t i = 0; i < sizeof(altname_t) / sizeof(string_t); ++i) slot[i] = text();
  }

  void certificate(certificate_t* cert) const {
    std::memset(static_cast<void*>(cert), 0, sizeof *cert);
    cert->fields = number();
    cert->issuer = text();
    cert->serialNumber = text();
    cert->subject = text();
    cert->algorithm = text();
    cert->notBeforeEx = time();
    cert->notAfterEx = time();
    cert->keyUsage = number();
    cert->notBeforePrivateEx = time();
    cert->notAfterPrivateEx = time();
    altname(&cert->issuerAltName);
    altname(&cert->subjectAltName);
    cert->keyId = text();
    array(&cert->policy_num, &cert->policies, [&](policy_t* p) {
      *p = {text(), text(), number(), text()};
    });
    array(&cert->extkeyusage_num, &cert->extKeyUsage, [&](extkeyusage_t* e) { e->oid = text(); });
    array(&cert->extension_num, &cert->extensions, [&](extension_t* e) {
      mem_blk_t data;
      block(&data);
      *e = {text(), number(), number(), data.len, data.buf};
    });
    block(&cert->certEncoded);
    block(&cert->certHash);
  }
  certificate_t* owned_certificate() const {
    if (one_in(3)) return nullptr;
    auto* cert = static_cast<certificate_t*>(alloc(c, sizeof(certificate_t)));
    certificate(cert);
    return cert;
  }

  void certid(certid_t* id) const {
    std::memset(static_cast<void*>(id), 0, sizeof *id);
    id->type = int32_t(below(6)) - 1;  // -1 and 4 are types nobody knows
    switch (id->type) {
      case CERTID_ISSUER_AND_SERIAL:
        id->ias = {text(), text()};
        break;
      case CERTID_KEY_ID:
        id->keyId = text();
        break;
      case CERTID_CERT_HASH:
        block(&id->certHash);
        break;
      case CERTID_ALIAS:
        id->alias = text();
        break;
      default:
        break;
    }
  }

  void cms_certid(cms_certid_t* id) const {
    id->type = int32_t(below(4));
    id->issuer = text();
    id->serialNum = text();
    id->certHash = text();
  }
};

}  // namespace

void fill_any(context_t c, const Choose& choose, mem_blk_t* blk) { Draw{c, choose}.block(blk); }

void fill_any(context_t c, const Choose& choose, certificate_t* cert) {
  Draw{c, choose}.certificate(cert);
}

void fill_any(context_t c, const Choose& choose, verify_result_t* result) {
  Draw d{c, choose};
  d.array(&result->sign_num, &result->signs, [&](sign_status_t* s) {
    *s = {d.number(), d.time(), d.owned_certificate()};
  });
}

void fill_any(context_t c, const Choose& choose, decrypt_result_t* result) {
  Draw{c, choose}.certificate(&result->sender);
}

void fill_any(context_t c, const Choose& choose, encrypted_info_result_t* result) {
  Draw d{c, choose};
  result->type = d.number();
  d.array(&result->recipients_num, &result->recipients, [&](certid_t* id) { d.certid(id); });
  d.certid(&result->sender);
}

void fill_any(context_t c, const Choose& choose, signed_info_result_t* result) {
  Draw d{c, choose};
  result->type = d.number();
  d.array(&result->sign_num, &result->infos, [&](sign_info_t* info) {
    info->timeEx = d.time();
    if (d.one_in(4)) return;
    info->certid = static_cast<certid_t*>(alloc(c, sizeof(certid_t)));
    d.certid(info->certid);
  });
}

void fill_any(context_t c, const Choose& choose, pkcs7_info_t* info) {
  Draw d{c, choose};
  info->type = d.number();
  d.array(&info->signer_num, &info->signers, [&](pkcs7_signer_t* s) {
    s->digest = d.text();
    s->encryption = d.text();
    s->signer = {d.text(), d.text()};
    d.texts(&s->authAttr_num, &s->authAttrs);
    d.texts(&s->unauthAttr_num, &s->unauthAttrs);
  });
  info->dataCipher = d.text();
  d.array(&info->recipient_num, &info->recipients, [&](pkcs7_recipient_t* r) {
    *r = {d.text(), {d.text(), d.text()}};
  });
}

void fill_any(context_t c, const Choose& choose, cms_msginf_t* info) {
  Draw d{c, choose};
  std::memset(static_cast<void*>(info), 0, sizeof *info);
  info->type = int32_t(d.below(4));
  info->flags = d.number();
  if (info->type == CMS_MSG_SIGNED) {
    d.array(&info->list_num, &info->signers, [&](cms_siginf_t* s) {
      s->version = d.number();
      s->digestAlg = d.text();
      s->signatureAlg = d.text();
      d.cms_certid(&s->signerId);
      s->signingTimeEx = d.time();
      d.texts(&s->authAttr_num, &s->authAttrs);
      d.texts(&s->unauthAttr_num, &s->unauthAttrs);
    });
  } else if (info->type == CMS_MSG_ENVELOPED) {
    d.array(&info->list_num, &info->recipients, [&](cms_recinf_t* r) {
      r->type = d.number();
      r->index = d.number();
      r->version = d.number();
      d.cms_certid(&r->originatorId);
      r->publicKeyAlg = d.text();
      r->cipherAlg = d.text();
      d.cms_certid(&r->recipientId);
    });
  } else {
    info->list_num = d.number();  // no list for other types, whatever the count says
  }
  info->cipherAlg = d.text();
  d.texts(&info->unprotAttr_num, &info->unprotAttrs);
}

void fill_any(context_t c, const Choose& choose, crl_t* crl) {
  Draw d{c, choose};
  crl->fields = d.number();
  crl->issuer = d.text();
  crl->lastUpdateEx = d.time();
  crl->nextUpdateEx = d.time();
  crl->number = d.number();
  d.array(&crl->revcert_num, &crl->revcerts, [&](revcert_t* r) {
    *r = {d.text(), d.time(), d.number()};
  });
  d.block(&crl->crlEncoded);
  d.block(&crl->crlHash);
}

void fill_any(context_t c, const Choose& choose, altname_ex_t* ext) {
  Draw d{c, choose};
  d.array(&ext->othername_num, &ext->othernames, [&](othername_t* o) {
    *o = {d.text(), d.text()};
  });
}

void fill_any(context_t c, const Choose& choose, basic_constraints_ex_t* bc) {
  Draw d{c, choose};
  *bc = {d.number(), d.number()};
}

void fill_any(context_t c, const Choose& choose, find_result_t* result) {
  Draw d{c, choose};
  d.array(&result->num, &result->certs, [&](certificate_t* cert) { d.certificate(cert); });
}

void fill_any(context_t c, const Choose& choose, tsp_verify_result_t* result) {
  Draw d{c, choose};
  *result = {d.time(), d.owned_certificate()};
}

void fill_any(context_t c, const Choose& choose, ocsp_verify_result_t* result) {
  Draw d{c, choose};
  *result = {d.number(), d.number(), d.time(), d.time(), d.time(), d.owned_certificate()};
}

}  // namespace standin
