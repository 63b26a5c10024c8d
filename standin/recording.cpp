// What a call received, recorded for the Java kit: its blocks, texts, numbers, handles and the
// fields of its parameter records; and the call log encoded for Java.
#include <cstring>
#include <string>

#include "entry.h"

namespace standin {

namespace {

// The largest element count read from a parameter record's array: a count beyond its array is
// the caller's to get right, and the bridge passes what Java gave.
constexpr int32_t kMostElements = 64;

// Writes the fields of one record under a prefix ("certTemplate.", "policies[0].").
struct Fields {
  std::vector<Field>& out;
  std::string prefix;

  void number(const char* name, int64_t value) const {
    Field f;
    f.name = prefix + name;
    f.number = value;
    out.push_back(std::move(f));
  }
  void text(const char* name, const char* value) const {
    Field f;
    f.name = prefix + name;
    f.is_text = true;
    f.present = value != nullptr;
    if (value != nullptr) f.text = value;
    out.push_back(std::move(f));
  }
  void block(const char* name, const mem_blk_t& b) const {
    number((std::string(name) + ".len").c_str(), b.len);
  }
  Fields nested(const std::string& name) const { return Fields{out, prefix + name + "."}; }
  Fields element(const char* array, int32_t i) const {
    return Fields{out, prefix + array + "[" + std::to_string(i) + "]."};
  }
};

// Each element of a counted array, as far as it is there.
template <typename T, typename Each>
void elements(const Fields& f, const char* name, const T* array, int32_t count, Each each) {
  if (array == nullptr) return;
  for (int32_t i = 0; i < count && i < kMostElements; ++i) each(f.element(name, i), array[i]);
}

void policies(const Fields& f, const char* name, const policy_t* p, int32_t count) {
  elements(f, name, p, count, [](const Fields& e, const policy_t& x) {
    e.text("oid", x.oid);
    e.text("org_name", x.org_name);
    e.number("not_num", x.not_num);
    e.text("text", x.text);
  });
}

void extkeyusages(const Fields& f, const char* name, const extkeyusage_t* p, int32_t count) {
  elements(f, name, p, count,
           [](const Fields& e, const extkeyusage_t& x) { e.text("oid", x.oid); });
}

void extensions(const Fields& f, const extension_t* p, int32_t count) {
  elements(f, "extensions", p, count, [](const Fields& e, const extension_t& x) {
    e.text("oid", x.oid);
    e.number("type", x.type);
    e.number("critical", x.critical);
    e.number("len", x.len);
  });
}

void altname(const Fields& f, const altname_t& a) {
  static const char* const kNames[] = {"emailAddress",
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
  const string_t* slot = &a.emailAddress;
  for (const char* name : kNames) f.text(name, *slot++);
}

void certificate(const Fields& f, const certificate_t& c) {
  f.number("fields", c.fields);
  f.text("issuer", c.issuer);
  f.text("serialNumber", c.serialNumber);
  f.text("subject", c.subject);
  f.text("algorithm", c.algorithm);
  f.number("notBeforeEx", c.notBeforeEx);
  f.number("notAfterEx", c.notAfterEx);
  f.number("keyUsage", c.keyUsage);
  f.number("notBeforePrivateEx", c.notBeforePrivateEx);
  f.number("notAfterPrivateEx", c.notAfterPrivateEx);
  altname(f.nested("issuerAltName"), c.issuerAltName);
  altname(f.nested("subjectAltName"), c.subjectAltName);
  f.text("keyId", c.keyId);
  f.number("policy_num", c.policy_num);
  policies(f, "policies", c.policies, c.policy_num);
  f.number("extkeyusage_num", c.extkeyusage_num);
  extkeyusages(f, "extKeyUsage", c.extKeyUsage, c.extkeyusage_num);
  f.number("extension_num", c.extension_num);
  extensions(f, c.extensions, c.extension_num);
  f.block("certEncoded", c.certEncoded);
  f.block("certHash", c.certHash);
}

// The fields of each parameter record, as its Java class names them.
void describe(const Fields& f, const certificate_t& c) { certificate(f, c); }
void describe(const Fields& f, const sign_param_t& p) { f.number("flag", p.flag); }
void describe(const Fields& f, const store_param_t& p) {
  f.number("flag", p.flag);
}  // import, export, add
void describe(const Fields& f, const tsp_response_param_t& p) { f.number("flag", p.flag); }
void describe(const Fields& f, const ocsp_param_t& p) {
  f.number("flag", p.flag);
}  // request, response

void describe(const Fields& f, const local_param_t& p) {
  f.number("flag", p.flag);
  f.text("pse", p.pse);
  f.text("localstore", p.localstore);
  f.text("ldap", p.ldap);
  f.text("pincode", p.pincode);
}

void describe(const Fields& f, const verify_param_t& p) {
  f.number("flag", p.flag);
  f.number("keyUsage", p.keyUsage);
  f.number("policy_num", p.policy_num);
  policies(f, "policies", p.policies, p.policy_num);
  f.number("extkeyusage_num", p.extkeyusage_num);
  extkeyusages(f, "extKeyUsage", p.extKeyUsage, p.extkeyusage_num);
  f.number("extension_num", p.extension_num);
  extensions(f, p.extensions, p.extension_num);
  f.number("nSignToDelete", p.nSignToDelete);
  f.number("minsigns", p.minsigns);
  f.number("info", p.info);
}

void describe(const Fields& f, const verify_policy_param_t& p) {
  f.number("flag", p.flag);
  f.number("check_timeEx", p.check_timeEx);
  f.number("keyusage", p.keyusage);
  f.number("eku_num", p.eku_num);
  extkeyusages(f, "extkeyusages", p.extkeyusages, p.eku_num);
  f.number("policy_num", p.policy_num);
  policies(f, "policies", p.policies, p.policy_num);
}

void describe(const Fields& f, const encrypt_param_t& p) {
  f.number("flag", p.flag);
  f.number("receiver_num", p.receiver_num);
  elements(f, "receivers", p.receivers, p.receiver_num, certificate);
}

void describe(const Fields& f, const decrypt_param_t& p) {
  f.number("flag", p.flag);
  f.number("info", p.info);
}

void describe(const Fields& f, const find_param_t& p) {
  f.number("flag", p.flag);
  certificate(f.nested("certTemplate"), p.certTemplate);
  f.number("info", p.info);
}

void describe(const Fields& f, const tsp_request_param_t& p) {
  f.number("flag", p.flag);
  f.number("index", p.index);
}

void describe(const Fields& f, const tsp_verify_param_t& p) {
  f.number("flag", p.flag);
  f.number("index", p.index);
  f.number("info", p.info);
}

void describe(const Fields& f, const ocsp_verify_param_t& p) {
  f.number("flag", p.flag);
  f.number("info", p.info);
}

// A parameter record: its type, then its fields. A null record is not recorded.
template <typename T>
void record(std::vector<Arg>& out, const char* type, const T* param) {
  if (param == nullptr) return;
  Arg a{Arg::Kind::kRecord};
  a.text = type;
  describe(Fields{a.fields, ""}, *param);
  out.push_back(std::move(a));
}

bool is(const char* function, const char* name) { return std::strcmp(function, name) == 0; }

// The encoding for Java, big-endian like java.io.DataInputStream.
struct Writer {
  std::vector<uint8_t> out;
  void u8(uint8_t v) { out.push_back(v); }
  void i32(int64_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(uint64_t(v) >> s));
  }
  void i64(uint64_t v) {
    for (int s = 56; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
  }
  void bytes(const void* p, size_t n) {
    i32(int64_t(n));
    const auto* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }
  void text(const std::string& s) { bytes(s.data(), s.size()); }
  void optional_text(bool present, const std::string& s) {
    if (present)
      text(s);
    else
      i32(-1);
  }
};

}  // namespace

Arg::Arg(Arg&&) noexcept = default;
Arg::Arg(const Arg&) = default;
Arg& Arg::operator=(Arg&&) noexcept = default;
Arg& Arg::operator=(const Arg&) = default;
Arg::~Arg() = default;

namespace detail {

void capture(std::vector<Arg>& out, const char*, mem_blk_t* block) {
  Arg a{Arg::Kind::kBlock};
  if (block != nullptr) {
    a.number = block->len;
    if (recording_bytes() && block->buf != nullptr && block->len > 0) {
      a.present = true;
      a.bytes.assign(block->buf, block->buf + block->len);
    }
  }
  out.push_back(std::move(a));
}

void capture_block_arrays(std::vector<Arg>& out, const mem_blk_t* first, int32_t first_count,
                          const mem_blk_t* second, int32_t second_count) {
  for (const auto& [array, count] :
       {std::pair{first, first_count}, std::pair{second, second_count}})
    for (int32_t i = 0; array != nullptr && i < count; ++i)
      capture(out, "", const_cast<mem_blk_t*>(&array[i]));
}

// GetErrorText and QueryRegistryProfile pass a buffer for the library to write, not a text.
void capture(std::vector<Arg>& out, const char* function, char* text) {
  if (is(function, "QUMEN_GetErrorText") || is(function, "QUMEN_QueryRegistryProfile")) return;
  Arg a{Arg::Kind::kText};
  a.present = text != nullptr;
  if (text != nullptr) a.text = text;
  out.push_back(std::move(a));
}

void capture(std::vector<Arg>& out, const char*, int32_t number) {
  Arg a{Arg::Kind::kNumber};
  a.number = number;
  out.push_back(std::move(a));
}

void capture(std::vector<Arg>& out, const char*, int64_t number) {
  Arg a{Arg::Kind::kNumber};
  a.number = number;
  out.push_back(std::move(a));
}

void capture(std::vector<Arg>& out, const char* function, int32_t* word) {
  if (word != nullptr) capture(out, function, *word);
}

void capture(std::vector<Arg>& out, const char*, strhandle_t handle) {
  Arg a{Arg::Kind::kHandle};
  a.number = int64_t(handle);
  out.push_back(std::move(a));
}

void capture(std::vector<Arg>& out, const char* function, strhandle_t* handle) {
  if (handle != nullptr) capture(out, function, *handle);
}

// A certificate the library reads (CreateXmlRequest's); elsewhere it is a result to be filled.
void capture(std::vector<Arg>& out, const char* function, certificate_t* cert) {
  if (is(function, "QUMEN_CreateXmlRequest")) record(out, "certificate_t", cert);
}

#define STANDIN_RECORD(type) \
  void capture(std::vector<Arg>& out, const char*, type* param) { record(out, #type, param); }
STANDIN_RECORD(local_param_t)
STANDIN_RECORD(sign_param_t)
STANDIN_RECORD(verify_param_t)
STANDIN_RECORD(verify_policy_param_t)
STANDIN_RECORD(encrypt_param_t)
STANDIN_RECORD(decrypt_param_t)
STANDIN_RECORD(import_param_t)
STANDIN_RECORD(export_param_t)
STANDIN_RECORD(add_param_t)
STANDIN_RECORD(find_param_t)
STANDIN_RECORD(tsp_request_param_t)
STANDIN_RECORD(tsp_response_param_t)
STANDIN_RECORD(tsp_verify_param_t)
STANDIN_RECORD(ocsp_request_param_t)
STANDIN_RECORD(ocsp_response_param_t)
STANDIN_RECORD(ocsp_verify_param_t)
#undef STANDIN_RECORD

}  // namespace detail

// The log as the Java kit reads it: the number of calls, the number of the first (8 bytes), then
// for each its function (a text), thread (8 bytes) and the thread's name (a text), context (8),
// how it ended (1: 0 running, 1 returned, 2 faulted), status (4),
// the number of arguments and each argument: its kind (1) and
//   block:  len (4), then the number of bytes recorded (4; -1 when not recorded) and the bytes;
//   text:   the text (-1 for null);  number, handle: 8 bytes;
//   record: its type (a text), the number of fields and each: name, kind (1: number, 2: text)
//           and the number (8) or the text.
// A text is its length (4) and its bytes; 4-byte values are signed. The encoding is private to
// the stand-in and the kit, which are built together.
std::vector<uint8_t> encode_calls() {
  uint64_t first = 1;
  std::vector<Call> all = calls(&first);
  Writer w;
  w.i32(int64_t(all.size()));
  w.i64(first);
  for (const Call& c : all) {
    w.text(c.function);
    w.i64(c.thread);
    w.text(c.thread_name);
    w.i64(c.context);
    w.u8(uint8_t(c.end));
    w.i32(c.status);
    w.i32(int64_t(c.args.size()));
    for (const Arg& a : c.args) {
      w.u8(uint8_t(a.kind));
      switch (a.kind) {
        case Arg::Kind::kBlock:
          w.i32(a.number);
          if (a.present)
            w.bytes(a.bytes.data(), a.bytes.size());
          else
            w.i32(-1);
          break;
        case Arg::Kind::kText:
          w.optional_text(a.present, a.text);
          break;
        case Arg::Kind::kNumber:
        case Arg::Kind::kHandle:
          w.i64(uint64_t(a.number));
          break;
        case Arg::Kind::kRecord:
          w.text(a.text);
          w.i32(int64_t(a.fields.size()));
          for (const Field& f : a.fields) {
            w.text(f.name);
            w.u8(f.is_text ? 2 : 1);
            if (f.is_text)
              w.optional_text(f.present, f.text);
            else
              w.i64(uint64_t(f.number));
          }
          break;
      }
    }
  }
  return std::move(w.out);
}

}  // namespace standin
