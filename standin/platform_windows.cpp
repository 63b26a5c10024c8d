#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform.h"
#include "traps.h"

namespace standin {

// Every kind is raised: there is no file mapping to fail.
size_t faults_not_raised() { return 0; }

namespace platform {

namespace {

std::wstring module_path(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty()) return "";
  int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return L"";
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.resize(size_t(n - 1));
  return out;
}

std::wstring full_path(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring out(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
  out.resize(n);
  return out;
}

}  // namespace

// x86_64 traps a division by zero, an undefined instruction and a store through a null
// pointer; the in-page error and the misaligned access are raised as the system reports them
// (an x64 program does not trap on a misaligned access, and an in-page error needs a failing
// device), which an exception filter cannot tell from the hardware's.
[[gnu::noinline]] void raise_fault(Fault f) {
  switch (f) {
    case Fault::kSegv:
      traps::null_store();
      break;
    case Fault::kFpe:
      traps::divide_by_zero();
      break;
    case Fault::kIll:
      traps::undefined_instruction();
      break;
    case Fault::kBus:
      RaiseException(EXCEPTION_IN_PAGE_ERROR, 0, 0, nullptr);
      break;
    case Fault::kMisaligned:
      RaiseException(EXCEPTION_DATATYPE_MISALIGNMENT, 0, 0, nullptr);
      break;
    case Fault::kStack:
      traps::overflow_stack(nullptr, 0);
      break;
    case Fault::kNone:
      break;
  }
}

// The system binds an import of tarvex.dll to the module of that name loaded first, wherever
// it came from.
std::string foreign_library(const char* kit) {
  HMODULE found = GetModuleHandleW(L"tarvex.dll");
  if (found == nullptr) return "";
  std::wstring where = module_path(found);
  if (where.empty()) return "an unknown path";
  std::wstring a = full_path(where), b = full_path(wide(kit));
  bool same =
      CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
  return same ? "" : narrow(where);
}

}  // namespace platform
}  // namespace standin
