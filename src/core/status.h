// Status values of the bridge's own, beside the native library's (0 for success, any other
// native value passed through unchanged) and the codes of machine faults (core/guard.h).
#pragma once

#include <cstdint>

namespace tvj {

inline constexpr int32_t kPendingException = int32_t(0xE0700001);  // a Java exception is pending
inline constexpr int32_t kNoErrorText = int32_t(0xE0700002);       // GetErrorText found no text
inline constexpr int32_t kNoBuffer = int32_t(0xE0700006);          // an intermediate buffer failed

}  // namespace tvj
