// The narrow codeset of strings that cross into the native library, and the rule they cross
// by: exactly one byte per UTF-16 unit, both ways.
//
// A character the codeset cannot represent takes one byte, a stand-in for it; a character the
// codeset writes as more than one byte makes the text longer than its count of UTF-16 units,
// which the string converters refuse (CharConversionException). Decoding is the mirror: a
// multi-byte character gives fewer units than bytes, which is refused.
//
// Windows (codeset_windows.cpp): the process's active ANSI code page, CP_ACP, through
// WideCharToMultiByte and MultiByteToWideChar with flags 0: a character the code page lacks
// becomes its best fit there ('e' for U+00E9 in code page 1251) or the code page's default
// character.
// POSIX (codeset_posix.h, codeset_posix.cpp): the single-byte encoding named by the setting
// tarvexjni.codeset, which the Java loader hands over as a table when it activates the bridge;
// without the setting, the codeset of the process locale (nl_langinfo(CODESET)), playing the
// part of the active ANSI code page. A character the codeset lacks becomes '?'.
//
// What each platform adds (inline, in its header):
//   const Codeset& process_codeset();  the codeset in use; within a call (CallCodeset), as
//                                       the call first found it
//   bool process_keeps_ascii();         whether every ASCII byte stands for itself in it
//   class CallCodeset;                  the scope of one call
#pragma once

#include <jni.h>

#include <cstddef>

namespace tvj {

class Codeset;

// A codeset by name ("CP1251", "UTF-8", ...: an iconv name on POSIX, "CP" and a code page
// number on Windows); null if the system knows none of that name. Codesets are made once and
// live for the process.
const Codeset* codeset_named(const char* name);

// Whether every ASCII byte stands for the same character in the codeset.
bool keeps_ascii(const Codeset& codeset);

// Encodes n UTF-16 units into out (room for n bytes). Returns the number of bytes the text
// takes in the codeset when that is at most n, or -1 when it takes more.
long encode_narrow(const Codeset& codeset, const jchar* in, size_t n, char* out);

// Decodes n bytes into out (room for n units). Returns the number of UTF-16 units produced,
// or a number other than n when the bytes do not make exactly n units.
long decode_narrow(const Codeset& codeset, const char* in, size_t n, jchar* out);

}  // namespace tvj

#if defined(_WIN32)
#include "codeset_windows.h"
#else
#include "codeset_posix.h"
#endif
