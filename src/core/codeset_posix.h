// The narrow codeset on POSIX systems (core/codeset.h): the single-byte encoding the Java loader
// named when it activated the bridge (the setting tarvexjni.codeset, as a table of 256 units
// built by java.nio.charset: no locale and no iconv module is needed), else the codeset of the
// process locale.
//
// Exact fast paths: ASCII in every ASCII-compatible codeset, UTF-8, and any single-byte
// codeset (tables built once from iconv). Other multi-byte codesets go through iconv, with
// the conversion descriptors kept per thread. A supplementary character (two units) is one
// character: one '?' where the codeset has no form for it. Decoding gives U+FFFD for each
// byte that starts no character of the codeset.
#pragma once

namespace tvj {

// Within a call (CallCodeset): whether one is running, its codeset once asked, and whether
// that codeset keeps ASCII.
extern __thread bool t_in_call __attribute__((tls_model("initial-exec")));
extern __thread const Codeset* t_call_codeset __attribute__((tls_model("initial-exec")));
extern __thread bool t_call_keeps_ascii __attribute__((tls_model("initial-exec")));

// The codeset of every string from now on, in place of the locale's; null gives strings back to
// the locale. Set once, when the bridge is activated, before any call (tests set it and reset it
// between calls).
void use_codeset(const Codeset* codeset);

// A single-byte codeset given by the character of each byte (U+FFFD for a byte that stands for
// none), named `name` in messages. Made anew on each call; it lives for the process.
const Codeset* codeset_of_units(const char* name, const jchar (&units)[256]);

// The codeset in use as it is now: the one given to use_codeset(), else the process locale's
// (read from the locale).
const Codeset& process_codeset_now();

// The codeset in use as it is now; within a call (CallCodeset), as it was when the call first
// asked: the locale is read once per call, not once per string.
inline const Codeset& process_codeset() {
  return t_call_codeset != nullptr ? *t_call_codeset : process_codeset_now();
}

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

}  // namespace tvj
