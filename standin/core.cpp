// The stand-in's state: handlers, faults, the call log, contexts and the ledger.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <atomic>
#include <set>

#include <sys/mman.h>
#include <unistd.h>

#include "entry.h"

namespace standin {

namespace {

std::mutex handler_mutex;
std::map<const void*, std::shared_ptr<void>>& handlers() {
  static auto* h = new std::map<const void*, std::shared_ptr<void>>();
  return *h;
}
struct PendingFault {
  Fault fault;
  int times;
};
std::map<const void*, PendingFault>& faults() {
  static auto* f = new std::map<const void*, PendingFault>();
  return *f;
}

std::mutex log_mutex;
std::vector<Call>& log() {
  static auto* l = new std::vector<Call>();
  return *l;
}
// Benchmarks: no call log and no ledger (blocks are plain malloc and free), so that what is
// measured is the bridge, not the test double.
const bool quiet = std::getenv("TARVEX_STANDIN_QUIET") != nullptr;
std::atomic<bool> programmed{false};  // any handler or fault set since the last reset

std::mutex context_mutex;
std::set<uint64_t>& contexts() {
  static auto* c = new std::set<uint64_t>();
  return *c;
}
uint64_t next_context = 0x7E57C0DE0001;

struct Block {
  uint64_t context;
  int64_t size;
  uint64_t serial;
};
std::mutex ledger_mutex;
std::map<const void*, Block>& blocks() {
  static auto* b = new std::map<const void*, Block>();
  return *b;
}
std::vector<std::string>& ledger_errors() {
  static auto* e = new std::vector<std::string>();
  return *e;
}
uint64_t next_serial = 1;

std::atomic<size_t> unraised{0};  // bus errors that could not be raised (no file mapping)

// Real faults, not signals sent with kill: the guard acts only on those.
[[gnu::noinline]] void raise_fault(Fault f) {
  switch (f) {
    case Fault::kSegv:
      asm volatile("xorl %%eax, %%eax\n\tmovl $1, (%%rax)" ::: "rax", "memory");
      break;
    case Fault::kFpe:
      asm volatile("xorl %%ecx, %%ecx\n\tmovl $1, %%eax\n\tcltd\n\tidivl %%ecx" ::: "eax", "ecx",
                   "edx");
      break;
    case Fault::kIll:
      asm volatile("ud2");
      break;
    case Fault::kBus: {
      // A bus error: touching a page of a file mapping that lies beyond the file's end.
      char path[] = "/tmp/standin-busXXXXXX";
      int fd = mkstemp(path);
      if (fd < 0) {
        ++unraised;
        break;
      }
      unlink(path);
      void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE, fd, 0);
      close(fd);
      if (page == MAP_FAILED) {
        ++unraised;
        break;
      }
      volatile const char* p = static_cast<const char*>(page);
      (void)*p;
      munmap(page, 4096);
      break;
    }
    case Fault::kNone:
      break;
  }
}

}  // namespace

// ---- Handlers and faults -------------------------------------------------------------------------

void set_handler(const void* fn, std::shared_ptr<void> handler) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  handlers()[fn] = std::move(handler);
  programmed = true;
}

std::shared_ptr<void> get_handler(const void* fn) {
  if (!programmed.load(std::memory_order_relaxed)) return nullptr;
  std::lock_guard<std::mutex> lock(handler_mutex);
  if (handlers().empty()) return nullptr;
  auto it = handlers().find(fn);
  return it == handlers().end() ? nullptr : it->second;
}

void set_fault(const void* fn, Fault fault, int times) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  faults()[fn] = PendingFault{fault, times};
  programmed = true;
}

void crash(Fault f) { raise_fault(f); }

size_t faults_not_raised() { return unraised.load(); }

void reset() {
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    handlers().clear();
    faults().clear();
    programmed = false;
  }
  clear_calls();
}

namespace detail {

void raise_requested_fault(const void* fn) {
  if (!programmed.load(std::memory_order_relaxed)) return;
  Fault f = Fault::kNone;
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    if (faults().empty()) return;
    auto it = faults().find(fn);
    if (it == faults().end() || it->second.times == 0) return;
    f = it->second.fault;
    if (it->second.times > 0) --it->second.times;
  }
  raise_fault(f);
}

bool logging() { return !quiet; }

void log_call(const char* function, uint64_t context, std::vector<uint64_t> words) {
  std::lock_guard<std::mutex> lock(log_mutex);
  log().push_back(Call{function, context, std::move(words)});
}

}  // namespace detail

// ---- The call log --------------------------------------------------------------------------------

std::vector<Call> calls() {
  std::lock_guard<std::mutex> lock(log_mutex);
  return log();
}

std::vector<std::string> call_names() {
  std::lock_guard<std::mutex> lock(log_mutex);
  std::vector<std::string> names;
  for (const Call& c : log()) names.push_back(c.function);
  return names;
}

size_t count(const std::string& function) {
  std::lock_guard<std::mutex> lock(log_mutex);
  size_t n = 0;
  for (const Call& c : log()) n += c.function == function;
  return n;
}

void clear_calls() {
  std::lock_guard<std::mutex> lock(log_mutex);
  log().clear();
}

// ---- Contexts --------------------------------------------------------------------------------------

context_t open_context() {
  std::lock_guard<std::mutex> lock(context_mutex);
  uint64_t c = next_context++;
  contexts().insert(c);
  return context_t(c);
}

bool context_live(context_t context) {
  std::lock_guard<std::mutex> lock(context_mutex);
  return contexts().count(uint64_t(context)) != 0;
}

size_t live_contexts() {
  std::lock_guard<std::mutex> lock(context_mutex);
  return contexts().size();
}

void end_all_contexts() {
  std::lock_guard<std::mutex> lock(context_mutex);
  contexts().clear();
}

namespace detail {
bool end_context(context_t context) {
  std::lock_guard<std::mutex> lock(context_mutex);
  return contexts().erase(uint64_t(context)) != 0;
}
}  // namespace detail

// ---- The ledger ------------------------------------------------------------------------------------

void* alloc(context_t context, int64_t size) {
  if (size < 0) return nullptr;
  void* p = std::malloc(size_t(size > 0 ? size : 1));
  if (p == nullptr || quiet) return p;
  std::lock_guard<std::mutex> lock(ledger_mutex);
  blocks()[p] = Block{uint64_t(context), size, next_serial++};
  return p;
}

char* text(context_t context, const std::string& s) {
  auto* p = static_cast<char*>(alloc(context, int64_t(s.size() + 1)));
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

uint8_t* bytes(context_t context, const std::vector<uint8_t>& b) {
  auto* p = static_cast<uint8_t*>(alloc(context, int64_t(b.size())));
  if (!b.empty()) std::memcpy(p, b.data(), b.size());
  return p;
}

void release(context_t context, void* block, const char* by) {
  if (block == nullptr) return;
  if (quiet) {
    std::free(block);
    return;
  }
  std::lock_guard<std::mutex> lock(ledger_mutex);
  char line[256];
  auto it = blocks().find(block);
  if (it == blocks().end()) {
    std::snprintf(line, sizeof line, "%s: %p is not an outstanding block (foreign or double free)",
                  by, block);
    ledger_errors().push_back(line);
    return;
  }
  if (it->second.context != uint64_t(context)) {
    std::snprintf(line, sizeof line,
                  "%s: block #%" PRIu64 " of context %#" PRIx64 " released with context %#" PRIx64,
                  by, it->second.serial, it->second.context, uint64_t(context));
    ledger_errors().push_back(line);
  }
  blocks().erase(it);
  std::free(block);
}

bool owns(const void* block) {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  return blocks().count(block) != 0;
}

size_t outstanding() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  return blocks().size();
}

std::vector<std::string> ledger_problems() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  std::vector<std::string> problems = ledger_errors();
  for (const auto& [p, b] : blocks()) {
    char line[160];
    std::snprintf(line, sizeof line, "block #%" PRIu64 " of %" PRId64 " bytes (context %#" PRIx64
                  ") was never released", b.serial, b.size, b.context);
    problems.push_back(line);
  }
  return problems;
}

void reclaim() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  for (const auto& [p, b] : blocks()) std::free(const_cast<void*>(p));
  blocks().clear();
}

void ledger_forget() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  for (const auto& [p, b] : blocks()) std::free(const_cast<void*>(p));
  blocks().clear();
  ledger_errors().clear();
}

// ---- Digest ------------------------------------------------------------------------------------------

namespace detail {

void Hasher::update(const uint8_t* data, size_t len) {
  for (size_t i = 0; i < len; ++i) state = (state ^ data[i]) * 0x100000001b3ULL;
}

// FNV-1a over the data, then splitmix64 for 32 bytes: deterministic, NOT cryptographic.
std::vector<uint8_t> Hasher::finish() const {
  uint64_t h = state;
  std::vector<uint8_t> out(32);
  for (size_t k = 0; k < 4; ++k) {
    uint64_t z = (h += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    for (size_t b = 0; b < 8; ++b) out[k * 8 + b] = uint8_t(z >> (8 * b));
  }
  return out;
}

}  // namespace detail

std::vector<uint8_t> digest(const uint8_t* data, size_t len) {
  detail::Hasher h;
  if (data != nullptr) h.update(data, len);
  return h.finish();
}

}  // namespace standin
