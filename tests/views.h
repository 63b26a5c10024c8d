// Blocks, names and identities as short texts, for the inspection and envelope tests: what the
// library received during a call and what Java holds after it compare at a glance.
#pragma once

#include <clocale>

#include "records.h"

namespace tj {

// The bytes the stand-in's builders put into encodings and hashes.
inline Bytes builder_bytes(size_t n, int seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed * 31 + int(i));
  return b;
}

// A Java mem_blk_t as "len:hex" ('-' for a null buf), or "null"; bytes the same way.
inline std::string show_block(jobject b) {
  if (b == nullptr) return "null";
  auto buf = get_bytes(b, "buf");
  return std::to_string(get_int(b, "len")) + ":" + (buf ? hex(buf->data(), int32_t(buf->size())) : "-");
}
inline std::string show_block(const Bytes& b) {
  return std::to_string(b.size()) + ":" + hex(b.data(), int32_t(b.size()));
}
// An input block or a name as the library received it (valid only during the call).
inline std::string seen(const mem_blk_t* b) { return std::to_string(b->len) + ":" + hex(b->buf, b->len); }
inline std::string name_of(string_t n) { return n ? std::string(n) : "null"; }

inline bool same(jobject a, jobject b) { return env()->IsSameObject(a, b); }
inline jsize length(jobject array) { return env()->GetArrayLength(static_cast<jarray>(array)); }

// LC_CTYPE switched for one scope.
class Locale {
 public:
  explicit Locale(const char* name) : previous_(std::setlocale(LC_CTYPE, nullptr)) {
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~Locale() { std::setlocale(LC_CTYPE, previous_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_;
};

}  // namespace tj
