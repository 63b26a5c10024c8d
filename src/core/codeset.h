// The narrow codeset of strings that cross into the native library: the codeset of the
// process locale (nl_langinfo(CODESET)), playing the part of a Windows process's active ANSI
// code page.
//
// The rule is a code page's: a character the codeset cannot represent becomes '?' and takes
// one byte; a character the codeset writes as more than one byte makes the text longer than
// its count of UTF-16 units, which the string converters refuse (CharConversionException).
// A supplementary character (two units) is one character: one '?' where the codeset has no
// form for it. Decoding is the mirror: each byte that starts no character of the codeset
// becomes U+FFFD; a multi-byte character gives fewer units than bytes, which is refused.
//
// Exact fast paths: ASCII in every ASCII-compatible codeset, UTF-8, and any single-byte
// codeset (tables built once from iconv). Other multi-byte codesets go through iconv, with
// the conversion descriptors kept per thread.
#pragma once

#include <jni.h>

#include <cstddef>

namespace tvj {

class Codeset;

// Within a call (CallCodeset): whether one is running, its codeset once asked, and whether
// that codeset keeps ASCII.
extern __thread bool t_in_call __attribute__((tls_model("initial-exec")));
extern __thread const Codeset* t_call_codeset __attribute__((tls_model("initial-exec")));
extern __thread bool t_call_keeps_ascii __attribute__((tls_model("initial-exec")));

// The codeset of the process locale as it is now (read from the locale).
const Codeset& process_codeset_now();

// The codeset of the process locale as it is now; within a call (CallCodeset), as it was when
// the call first asked: the locale is read once per call, not once per string.
inline const Codeset& process_codeset() {
  return t_call_codeset != nullptr ? *t_call_codeset : process_codeset_now();
}

// Whether every ASCII byte stands for the same character in the codeset (ASCII-compatible
// codesets and UTF-8).
bool keeps_ascii(const Codeset& codeset);

// keeps_ascii(process_codeset()), without a call once the call's codeset is known.
inline bool process_keeps_ascii() {
  return t_call_codeset != nullptr ? t_call_keeps_ascii : keeps_ascii(process_codeset_now());
}

class CallCodeset {
 public:
  CallCodeset()
      : saved_in_call_(t_in_call), saved_keeps_ascii_(t_call_keeps_ascii), saved_(t_call_codeset) {
    t_in_call = true;
    t_call_codeset = nullptr;
  }
  ~CallCodeset() {
    t_in_call = saved_in_call_;
    t_call_codeset = saved_;
    t_call_keeps_ascii = saved_keeps_ascii_;
  }
  CallCodeset(const CallCodeset&) = delete;
  CallCodeset& operator=(const CallCodeset&) = delete;

 private:
  bool saved_in_call_;
  bool saved_keeps_ascii_;
  const Codeset* saved_;
};

// A codeset by its iconv name ("UTF-8", "CP1251", "ISO-8859-1", ...); null if iconv does not
// know it. Codesets are made once and live for the process.
const Codeset* codeset_named(const char* name);


// Encodes n UTF-16 units into out (room for n bytes). Returns the number of bytes the text
// takes in the codeset when that is at most n, or -1 when it takes more.
long encode_narrow(const Codeset& codeset, const jchar* in, size_t n, char* out);

// Decodes n bytes into out (room for n units). Returns the number of UTF-16 units produced.
long decode_narrow(const Codeset& codeset, const char* in, size_t n, jchar* out);

}  // namespace tvj
