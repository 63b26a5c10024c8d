#include <windows.h>

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

// Flags 0, no default character of the bridge's own: a character the code page lacks becomes
// its best fit or the code page's default character. Room for n bytes: a text that needs more
// fails (ERROR_INSUFFICIENT_BUFFER).
long encode_narrow(const Codeset& cs, const jchar* in, size_t n, char* out) {
  if (n == 0) return 0;
  int written = WideCharToMultiByte(cs.page, 0, reinterpret_cast<const wchar_t*>(in), int(n), out,
                                    int(n), nullptr, nullptr);
  return written > 0 ? long(written) : -1;
}

long decode_narrow(const Codeset& cs, const char* in, size_t n, jchar* out) {
  if (n == 0) return 0;
  int written =
      MultiByteToWideChar(cs.page, 0, in, int(n), reinterpret_cast<wchar_t*>(out), int(n));
  return written > 0 ? long(written) : -1;
}

}  // namespace tvj
