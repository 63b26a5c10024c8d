#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "codeset.h"

namespace tvj {

class Codeset {
 public:
  explicit Codeset(UINT page) : page(page) {}
  const UINT page;
};

namespace {

std::mutex registry_mutex;
std::vector<std::unique_ptr<Codeset>>& registry() {
  static auto* known = new std::vector<std::unique_ptr<Codeset>>();  // lives for the process
  return *known;
}

}  // namespace

const Codeset& process_codeset() {
  static const Codeset* active = new Codeset(CP_ACP);
  return *active;
}

const Codeset* codeset_named(const char* name) {
  if (_strnicmp(name, "CP", 2) != 0 || name[2] < '0' || name[2] > '9') return nullptr;
  char* end = nullptr;
  unsigned long page = std::strtoul(name + 2, &end, 10);
  if (*end != '\0' || page > 0xFFFF || !IsValidCodePage(UINT(page))) return nullptr;
  std::lock_guard<std::mutex> lock(registry_mutex);
  for (const auto& cs : registry())
    if (cs->page == page) return cs.get();
  registry().push_back(std::make_unique<Codeset>(UINT(page)));
  return registry().back().get();
}

bool keeps_ascii(const Codeset&) { return true; }

namespace {
std::atomic<bool> exact_code_page{false};
}  // namespace

void use_exact_code_page(bool exact) { exact_code_page.store(exact, std::memory_order_relaxed); }

// Flags 0, no default character of the bridge's own: a character the code page lacks becomes
// its best fit (U+FF3C, the fullwidth reverse solidus, becomes '\\' in code page 1252) or the
// code page's default character. Exactly (use_exact_code_page): WC_NO_BEST_FIT_CHARS, and a text
// in which the default character stood in for anything is refused. UTF-8 has no best fits and
// takes neither the flag nor the indicator. Room for n bytes: a text that needs more fails
// (ERROR_INSUFFICIENT_BUFFER).
long encode_narrow(const Codeset& cs, const jchar* in, size_t n, char* out) {
  if (n == 0) return 0;
  bool exact = exact_code_page.load(std::memory_order_relaxed) &&
               (cs.page == CP_ACP ? GetACP() : cs.page) != CP_UTF8;
  BOOL defaulted = FALSE;
  int written = WideCharToMultiByte(cs.page, exact ? WC_NO_BEST_FIT_CHARS : 0,
                                    reinterpret_cast<const wchar_t*>(in), int(n), out, int(n),
                                    nullptr, exact ? &defaulted : nullptr);
  return written > 0 && !defaulted ? long(written) : -1;
}

long decode_narrow(const Codeset& cs, const char* in, size_t n, jchar* out) {
  if (n == 0) return 0;
  int written =
      MultiByteToWideChar(cs.page, 0, in, int(n), reinterpret_cast<wchar_t*>(out), int(n));
  return written > 0 ? long(written) : -1;
}

}  // namespace tvj
