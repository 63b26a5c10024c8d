// Shared by the tests: Java records built in one line, and native and Java records shown as
// short texts, so that what reached the library compares with what Java holds at a glance.
#pragma once

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "harness/jvm.h"

namespace tj {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

// ---- Building Java objects ----------------------------------------------------------------------

inline jobject policy(const char* oid, const char* org, jint num, const char* text) {
  jobject p = make("policy_t");
  set(p, "oid", oid);
  set(p, "org_name", org);
  set(p, "not_num", num);
  set(p, "text", text);
  return p;
}

inline jobject eku(const char* oid) {
  jobject e = make("extkeyusage_t");
  set(e, "oid", oid);
  return e;
}

inline jobject extension(const char* oid, jint type, jint critical, const Bytes& data, jint len) {
  jobject e = make("extension_t");
  set(e, "oid", oid);
  set(e, "type", type);
  set(e, "critical", critical);
  set(e, "len", len);
  set(e, "data", data);
  return e;
}

// A strhandle_t holding `value`.
inline jobject handle_object(jlong value = 0) {
  jobject h = make("strhandle_t");
  set(h, "handle", L{value});
  return h;
}

// A static method of tvtest/Records returning an array of n records.
inline jobject built(const char* method, const char* element, jint n) {
  std::string sig = std::string("(I)[LNorv1/LocalIface$") + element + ";";
  jmethodID m = env()->GetStaticMethodID(cls("tvtest/Records"), method, sig.c_str());
  jobject out = env()->CallStaticObjectMethod(cls("tvtest/Records"), m, n);
  EXPECT_FALSE(env()->ExceptionCheck());
  return out;
}

// The bytes the stand-in's builders put into encodings, hashes and extensions.
inline Bytes builder_bytes(size_t n, int seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed * 31 + int(i));
  return b;
}

// ---- Native records as texts ('-' for a null text or buffer)
// -------------------------------------

// Every byte of a native record is zero.
template <typename T>
bool zeroed(const T& rec) {
  const auto* b = reinterpret_cast<const unsigned char*>(&rec);
  return std::all_of(b, b + sizeof rec, [](unsigned char x) { return x == 0; });
}

inline std::string text_of(const char* s) { return s ? std::string(s) : "-"; }

inline std::string hex(const uint8_t* p, int32_t n) {
  if (p == nullptr) return "-";
  std::string out;
  char b[3];
  for (int32_t i = 0; i < n; ++i) {
    std::snprintf(b, sizeof b, "%02x", p[i]);
    out += b;
  }
  return out;
}

// "len:hex", for a block as the library received it (valid only during the call).
inline std::string seen(const mem_blk_t* b) {
  return std::to_string(b->len) + ":" + hex(b->buf, b->len);
}
// "oid|org_name|not_num|text".
inline std::string show(const policy_t& p) {
  return text_of(p.oid) + "|" + text_of(p.org_name) + "|" + std::to_string(p.not_num) + "|" +
         text_of(p.text);
}
inline std::string show(const extkeyusage_t& e) { return text_of(e.oid); }
// "oid|type|critical|len|hex".
inline std::string show(const extension_t& e) {
  return text_of(e.oid) + "|" + std::to_string(e.type) + "|" + std::to_string(e.critical) + "|" +
         std::to_string(e.len) + "|" + hex(e.data, e.len);
}

// The elements of a native array, or {"null"} for a null pointer.
template <typename T>
Texts show_all(const T* elems, int32_t count) {
  if (elems == nullptr) return {"null"};
  Texts out;
  for (int32_t i = 0; i < count; ++i) out.push_back(show(elems[i]));
  return out;
}

// ---- Java records as texts, in the same forms -------------------------------------------------

inline std::string text_of(const std::optional<std::string>& s) { return s ? *s : "-"; }

inline bool same(jobject a, jobject b) { return env()->IsSameObject(a, b); }

// The elements of a Java array (none for a null array).
inline std::vector<jobject> elements(jobject array) {
  std::vector<jobject> out;
  auto a = static_cast<jobjectArray>(array);
  for (jsize i = 0; a != nullptr && i < env()->GetArrayLength(a); ++i)
    out.push_back(env()->GetObjectArrayElement(a, i));
  return out;
}

// Every element of a Java array shown by `each`, "null" for a null element, or {"null"} for a
// null array.
template <typename Each>
Texts java_all(jobject array, Each each) {
  if (array == nullptr) return {"null"};
  Texts out;
  for (jobject e : elements(array)) out.push_back(e ? each(e) : "null");
  return out;
}

// A Java mem_blk_t as "len:hex", or "null"; bytes the same way.
inline std::string show_block(jobject b) {
  if (b == nullptr) return "null";
  auto buf = get_bytes(b, "buf");
  return std::to_string(get_int(b, "len")) + ":" +
         (buf ? hex(buf->data(), int32_t(buf->size())) : "-");
}
inline std::string show_block(const Bytes& b) {
  return std::to_string(b.size()) + ":" + hex(b.data(), int32_t(b.size()));
}

inline std::string show_policy(jobject p) {
  return text_of(get_string(p, "oid")) + "|" + text_of(get_string(p, "org_name")) + "|" +
         std::to_string(get_int(p, "not_num")) + "|" + text_of(get_string(p, "text"));
}
inline std::string show_eku(jobject e) { return text_of(get_string(e, "oid")); }
// The bytes are the whole Java array, so an array longer than len shows.
inline std::string show_extension(jobject e) {
  auto data = get_bytes(e, "data");
  return text_of(get_string(e, "oid")) + "|" + std::to_string(get_int(e, "type")) + "|" +
         std::to_string(get_int(e, "critical")) + "|" + std::to_string(get_int(e, "len")) + "|" +
         (data ? hex(data->data(), int32_t(data->size())) : "-");
}

}  // namespace tj
