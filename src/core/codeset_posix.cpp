#include <errno.h>
#include <iconv.h>
#include <langinfo.h>
#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "codeset.h"

namespace tvj {

namespace {

constexpr jchar kReplacement = 0xFFFD;  // a byte that starts no character of the codeset
constexpr char kDefaultChar = '?';      // a character the codeset cannot represent
constexpr const char* kUnits = "UTF-16LE";

bool is_high(jchar u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low(jchar u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool is_surrogate(jchar u) { return u >= 0xD800 && u <= 0xDFFF; }

enum class Kind { kUtf8, kTable, kIconv };

std::string normalized(const char* name) {
  std::string out;
  for (const char* p = name; *p; ++p) {
    if (*p == '-' || *p == '_') continue;
    out += (*p >= 'a' && *p <= 'z') ? char(*p - 'a' + 'A') : *p;
  }
  return out;
}

}  // namespace

class Codeset {
 public:
  std::string name;
  Kind kind = Kind::kTable;
  bool ascii_compatible = true;
  bool given = false;       // made from units (codeset_of_units), not found by its name
  jchar to_unit[256] = {};  // kTable: the unit of each byte, or U+FFFD
  std::unique_ptr<uint8_t[]> from_unit;  // kTable: the byte of each unit...
  std::unique_ptr<uint64_t[]> has_byte;  // ...where this bit is set
  char default_byte = kDefaultChar;      // kTable: the codeset's own '?'

  bool maps(jchar u) const { return (has_byte[u >> 6] >> (u & 63)) & 1; }

  void set_table(const jchar (&units)[256]) {
    kind = Kind::kTable;
    from_unit.reset(new uint8_t[65536]());
    has_byte.reset(new uint64_t[1024]());
    for (int b = 255; b >= 0; --b) {  // where two bytes give one unit, the lower byte wins
      to_unit[b] = units[b];
      if (units[b] == kReplacement) continue;
      from_unit[units[b]] = uint8_t(b);
      has_byte[units[b] >> 6] |= uint64_t(1) << (units[b] & 63);
    }
    for (int b = 0; b < 0x80; ++b) ascii_compatible = ascii_compatible && units[b] == b;
    // Where '?' is another byte than 0x3F (EBCDIC), a character the codeset lacks is that byte.
    if (maps(jchar(kDefaultChar))) default_byte = char(from_unit[jchar(kDefaultChar)]);
  }
};

namespace {

// Builds the description of a codeset iconv knows; null if it knows none of that name.
std::unique_ptr<Codeset> probe(const char* name) {
  auto cs = std::make_unique<Codeset>();
  cs->name = name;
  std::string n = normalized(name);
  if (n == "UTF8") {
    cs->kind = Kind::kUtf8;
    return cs;
  }
  if (n.empty() || n == "ANSIX3.41968" || n == "ASCII" || n == "USASCII" || n == "646") {
    jchar units[256];
    for (int b = 0; b < 256; ++b) units[b] = b < 0x80 ? jchar(b) : kReplacement;
    cs->set_table(units);
    return cs;
  }
  iconv_t cd = iconv_open(kUnits, name);
  if (cd == iconv_t(-1)) return nullptr;
  jchar units[256];
  bool single_byte = true;
  for (int b = 0; b < 256 && single_byte; ++b) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in = char(b);
    char out[8];
    char* pin = &in;
    char* pout = out;
    size_t in_left = 1, out_left = sizeof out;
    if (iconv(cd, &pin, &in_left, &pout, &out_left) != size_t(-1) && out_left == sizeof out - 2) {
      std::memcpy(&units[b], out, 2);
      if (is_surrogate(units[b])) single_byte = false;
    } else if (errno == EILSEQ) {
      units[b] = kReplacement;
    } else {
      single_byte = false;  // a lead byte, or a character of more than one unit
    }
  }
  iconv_close(cd);
  if (single_byte) {
    cs->set_table(units);
  } else {
    cs->kind = Kind::kIconv;
    cs->ascii_compatible = false;  // decided below, character by character
    iconv_t d = iconv_open(kUnits, name);
    bool compatible = d != iconv_t(-1);
    for (int b = 0; b < 0x80 && compatible; ++b) {
      iconv(d, nullptr, nullptr, nullptr, nullptr);
      char in = char(b);
      jchar out = 0;
      char* pin = &in;
      char* pout = reinterpret_cast<char*>(&out);
      size_t in_left = 1, out_left = 2;
      compatible = iconv(d, &pin, &in_left, &pout, &out_left) != size_t(-1) && out == b;
    }
    if (d != iconv_t(-1)) iconv_close(d);
    cs->ascii_compatible = compatible;
  }
  return cs;
}

std::mutex registry_mutex;
std::vector<std::unique_ptr<Codeset>>& registry() {
  static auto* known = new std::vector<std::unique_ptr<Codeset>>();  // lives for the process
  return *known;
}
std::atomic<const Codeset*> last_process_codeset{nullptr};
std::atomic<const Codeset*> chosen_codeset{nullptr};  // use_codeset()'s

// iconv descriptors of one multi-byte codeset, per thread (iconv_t is not thread-safe), closed
// by a thread key's destructor when the thread ends, as the scratch arena is freed: a
// thread_local with a destructor would need glibc 2.18 (__cxa_thread_atexit_impl).
pthread_key_t iconv_key;
pthread_once_t iconv_key_once = PTHREAD_ONCE_INIT;

struct ThreadIconv {
  const Codeset* codeset = nullptr;
  iconv_t to_narrow = iconv_t(-1);
  iconv_t to_units = iconv_t(-1);
  void close() {
    if (to_narrow != iconv_t(-1)) iconv_close(to_narrow);
    if (to_units != iconv_t(-1)) iconv_close(to_units);
    to_narrow = to_units = iconv_t(-1);
    codeset = nullptr;
  }
  static void close_at_thread_end(void* t) { static_cast<ThreadIconv*>(t)->close(); }
  bool open(const Codeset& cs) {
    if (codeset == &cs) return to_narrow != iconv_t(-1) && to_units != iconv_t(-1);
    close();
    pthread_once(&iconv_key_once, [] { pthread_key_create(&iconv_key, close_at_thread_end); });
    pthread_setspecific(iconv_key, this);
    codeset = &cs;
    to_narrow = iconv_open(cs.name.c_str(), kUnits);
    to_units = iconv_open(kUnits, cs.name.c_str());
    return to_narrow != iconv_t(-1) && to_units != iconv_t(-1);
  }
};
thread_local ThreadIconv thread_iconv;

long encode_table(const Codeset& cs, const jchar* in, size_t n, char* out) {
  size_t o = 0;
  for (size_t i = 0; i < n; ++i) {
    jchar u = in[i];
    if (is_high(u) && i + 1 < n && is_low(in[i + 1])) {
      ++i;  // one supplementary character: no single-byte codeset has it
      out[o++] = cs.default_byte;
    } else {
      out[o++] = cs.maps(u) ? char(cs.from_unit[u]) : cs.default_byte;
    }
  }
  return long(o);
}

long encode_utf8(const jchar* in, size_t n, char* out) {
  for (size_t i = 0; i < n; ++i) {
    jchar u = in[i];
    if (u < 0x80) {
      out[i] = char(u);
    } else if (is_surrogate(u) && !(is_high(u) && i + 1 < n && is_low(in[i + 1]))) {
      out[i] = kDefaultChar;  // a lone surrogate has no form in UTF-8
    } else {
      return -1;  // two bytes or more for this unit: the text outgrows its unit count
    }
  }
  return long(n);
}

long encode_iconv(const Codeset& cs, const jchar* in, size_t n, char* out) {
  ThreadIconv& t = thread_iconv;
  bool open = t.open(cs);
  size_t o = 0;
  for (size_t i = 0; i < n;) {
    jchar u = in[i];
    if (u < 0x80 && cs.ascii_compatible) {
      if (o == n) return -1;
      out[o++] = char(u);
      ++i;
      continue;
    }
    size_t units = is_high(u) && i + 1 < n && is_low(in[i + 1]) ? 2 : 1;
    char bytes[16];
    char* pin = reinterpret_cast<char*>(const_cast<jchar*>(in + i));
    char* pout = bytes;
    size_t in_left = units * 2, out_left = sizeof bytes;
    size_t produced = 1;
    if (open) iconv(t.to_narrow, nullptr, nullptr, nullptr, nullptr);
    if (open && iconv(t.to_narrow, &pin, &in_left, &pout, &out_left) != size_t(-1)) {
      produced = sizeof bytes - out_left;
    } else {
      bytes[0] = kDefaultChar;
    }
    if (o + produced > n) return -1;
    std::memcpy(out + o, bytes, produced);
    o += produced;
    i += units;
  }
  return long(o);
}

// Length of the valid UTF-8 sequence starting at s (at most `left` bytes), 0 if none.
size_t utf8_sequence(const unsigned char* s, size_t left) {
  unsigned char c = s[0];
  size_t len;
  uint32_t min;
  if (c >= 0xC2 && c <= 0xDF)
    len = 2, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF)
    len = 3, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4)
    len = 4, min = 0x10000;
  else
    return 0;
  if (len > left) return 0;
  uint32_t cp = c & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    if ((s[k] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

long decode_utf8(const char* in, size_t n, jchar* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(in);
  for (size_t i = 0; i < n; ++i) {
    if (s[i] < 0x80) {
      out[i] = s[i];
    } else if (utf8_sequence(s + i, n - i) != 0) {
      return long(i) + 1;  // a multi-byte character: fewer units than bytes
    } else {
      out[i] = kReplacement;
    }
  }
  return long(n);
}

long decode_iconv(const Codeset& cs, const char* in, size_t n, jchar* out) {
  ThreadIconv& t = thread_iconv;
  if (!t.open(cs)) {
    for (size_t i = 0; i < n; ++i) out[i] = kReplacement;
    return long(n);
  }
  iconv(t.to_units, nullptr, nullptr, nullptr, nullptr);
  char* pin = const_cast<char*>(in);
  size_t in_left = n;
  char* pout = reinterpret_cast<char*>(out);
  size_t out_left = n * 2;
  while (in_left > 0) {
    if (iconv(t.to_units, &pin, &in_left, &pout, &out_left) != size_t(-1)) break;
    if (errno == E2BIG) return long(n) + 1;  // more units than bytes
    if (out_left < 2) return long(n) + 1;
    jchar r = kReplacement;  // EILSEQ, or a character cut off at the end: one U+FFFD a byte
    std::memcpy(pout, &r, 2);
    pout += 2;
    out_left -= 2;
    ++pin;
    --in_left;
    iconv(t.to_units, nullptr, nullptr, nullptr, nullptr);
  }
  return long((n * 2 - out_left) / 2);
}

}  // namespace

const Codeset* codeset_named(const char* name) {
  std::lock_guard<std::mutex> lock(registry_mutex);
  for (const auto& cs : registry())
    if (!cs->given && cs->name == name) return cs.get();
  std::unique_ptr<Codeset> cs = probe(name);
  if (!cs) return nullptr;
  registry().push_back(std::move(cs));
  return registry().back().get();
}

__thread bool t_in_call __attribute__((tls_model("initial-exec"))) = false;
__thread const Codeset* t_call_codeset __attribute__((tls_model("initial-exec"))) = nullptr;
__thread bool t_call_keeps_ascii __attribute__((tls_model("initial-exec"))) = false;

const Codeset* codeset_of_units(const char* name, const jchar (&units)[256]) {
  auto cs = std::make_unique<Codeset>();
  cs->name = name;
  cs->given = true;  // iconv's codeset of that name may differ, or be missing
  cs->set_table(units);
  std::lock_guard<std::mutex> lock(registry_mutex);
  registry().push_back(std::move(cs));
  return registry().back().get();
}

void use_codeset(const Codeset* cs) { chosen_codeset.store(cs, std::memory_order_release); }

const Codeset& process_codeset_now() {
  const Codeset* cs = chosen_codeset.load(std::memory_order_acquire);
  if (cs == nullptr) {
    const char* name = nl_langinfo(CODESET);
    cs = last_process_codeset.load(std::memory_order_acquire);
    if (cs == nullptr || cs->name != name) {
      cs = codeset_named(name);
      if (cs == nullptr) cs = codeset_named("ANSI_X3.4-1968");  // unknown to iconv: plain ASCII
      last_process_codeset.store(cs, std::memory_order_release);
    }
  }
  if (t_in_call) {
    t_call_codeset = cs;
    t_call_keeps_ascii = keeps_ascii(*cs);
  }
  return *cs;
}

bool keeps_ascii(const Codeset& cs) { return cs.ascii_compatible || cs.kind == Kind::kUtf8; }

long encode_narrow(const Codeset& cs, const jchar* in, size_t n, char* out) {
  size_t i = 0;
  if (cs.ascii_compatible || cs.kind == Kind::kUtf8) {
    for (; i < n && in[i] < 0x80; ++i) out[i] = char(in[i]);
    if (i == n) return long(n);
  }
  long rest;
  switch (cs.kind) {
    case Kind::kUtf8:
      rest = encode_utf8(in + i, n - i, out + i);
      break;
    case Kind::kTable:
      rest = encode_table(cs, in + i, n - i, out + i);
      break;
    default:
      rest = encode_iconv(cs, in + i, n - i, out + i);
      break;
  }
  return rest < 0 ? -1 : long(i) + rest;
}

long decode_narrow(const Codeset& cs, const char* in, size_t n, jchar* out) {
  size_t i = 0;
  if (cs.ascii_compatible || cs.kind == Kind::kUtf8) {
    for (; i < n && static_cast<unsigned char>(in[i]) < 0x80; ++i) out[i] = jchar(in[i]);
    if (i == n) return long(n);
  }
  long rest;
  switch (cs.kind) {
    case Kind::kUtf8:
      rest = decode_utf8(in + i, n - i, out + i);
      break;
    case Kind::kTable:
      for (size_t k = i; k < n; ++k) out[k] = cs.to_unit[static_cast<unsigned char>(in[k])];
      rest = long(n - i);
      break;
    default:
      rest = decode_iconv(cs, in + i, n - i, out + i);
      break;
  }
  return long(i) + rest;
}

}  // namespace tvj
