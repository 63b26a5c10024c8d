// The narrow codeset on Windows (core/codeset.h): the active ANSI code page, CP_ACP.
//
// The active code page is fixed for the life of the process, so a call has nothing to keep of
// it. Every ANSI code page keeps ASCII: bytes below 0x80 are the same characters in all of
// them (the single-byte pages, the double-byte pages 932, 936, 949 and 950, and UTF-8).
#pragma once

namespace tvj {

// CP_ACP itself, not the number it stands for: the system resolves it on every conversion.
const Codeset& process_codeset();

inline bool process_keeps_ascii() { return true; }

class CallCodeset {
 public:
  CallCodeset() {}
  CallCodeset(const CallCodeset&) = delete;
  CallCodeset& operator=(const CallCodeset&) = delete;
};

}  // namespace tvj
