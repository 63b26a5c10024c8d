// What the stand-in does differently on each platform (platform_posix.cpp,
// platform_windows.cpp): raising real faults, and telling the Java kit which library the bridge
// binds to.
#pragma once

#include <string>
#include <vector>

#include "standin.h"

namespace standin::platform {

// Raises a fault of this kind on the calling thread, as the hardware raises it where it can.
void raise_fault(Fault f);

// Where the library that the bridge binds to by name (libtarvex.so, tarvex.dll) was loaded
// from, when that is not the file `kit`; "" when it is, or when none is loaded.
std::string foreign_library(const char* kit);

}  // namespace standin::platform
