// Texts encoded and decoded in a codeset named explicitly, for the codeset tests of every
// platform (an iconv name on POSIX, "CP" and a code page number on Windows).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/codeset.h"

struct Encoded {
  long count;
  std::string bytes;
  bool operator==(const Encoded&) const = default;
};

inline Encoded encode(const char* codeset, const std::u16string& text) {
  const tvj::Codeset* cs = tvj::codeset_named(codeset);
  EXPECT_NE(cs, nullptr) << codeset;
  std::string out(text.size(), '\0');
  long n =
      tvj::encode_narrow(*cs, reinterpret_cast<const jchar*>(text.data()), text.size(), out.data());
  return {n, n >= 0 ? out.substr(0, size_t(n)) : ""};
}

inline std::u16string decode(const char* codeset, const std::string& bytes, long* count = nullptr) {
  const tvj::Codeset* cs = tvj::codeset_named(codeset);
  EXPECT_NE(cs, nullptr) << codeset;
  std::u16string out(bytes.size(), u'\0');
  long n =
      tvj::decode_narrow(*cs, bytes.data(), bytes.size(), reinterpret_cast<jchar*>(out.data()));
  if (count) *count = n;
  return out.substr(0, size_t(n > 0 ? n : 0));
}
