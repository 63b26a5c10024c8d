// What the stand-in does differently on each platform (platform_posix.cpp,
// platform_windows.cpp): raising real faults, and finding its own functions and file for the
// Java kit.
#pragma once

#include <string>
#include <vector>

#include "standin.h"

namespace standin::platform {

// Raises a fault of this kind on the calling thread, as the hardware raises it where it can.
void raise_fault(Fault f);

// The file this library was loaded from; "" if unknown.
std::string own_path();

// The library's exported functions whose names start with `prefix`, without it, sorted.
std::vector<std::string> own_functions(const char* prefix);

// One of the library's exported functions by its name; null if there is none.
const void* own_function(const char* name);

// Where the library that the bridge binds to by name (libtarvex.so, tarvex.dll) was loaded
// from, when that is not the file `kit`; "" when it is, or when none is loaded.
std::string foreign_library(const char* kit);

}  // namespace standin::platform
