// The narrow codeset on Windows (core/codeset.h): the active ANSI code page, CP_ACP.
//
// The active code page is fixed for the life of the process, so a call has nothing to keep of
// it. Every ANSI code page keeps ASCII: bytes below 0x80 are the same characters in all of
// them (the single-byte pages, the double-byte pages 932, 936, 949 and 950, and UTF-8).
#pragma once

namespace tvj {

// CP_ACP itself, not the number it stands for: the system resolves it on every conversion.
const Codeset& process_codeset();

// Whether texts go into the code page exactly (WC_NO_BEST_FIT_CHARS): a character without an
// exact form there is refused instead of becoming its best fit or the default character. Off
// unless the setting tarvexjni.exactCodePage turns it on when the bridge is activated (tests turn
// it on and off between calls).
void use_exact_code_page(bool exact);

inline bool process_keeps_ascii() { return true; }

class CallCodeset {
 public:
  CallCodeset() {}
  CallCodeset(const CallCodeset&) = delete;
  CallCodeset& operator=(const CallCodeset&) = delete;
};

}  // namespace tvj
