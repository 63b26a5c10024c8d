// The stand-in's state: handlers, faults, the call log, contexts and the ledger.
#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "entry.h"

namespace standin {

namespace detail {
// Benchmarks: no call log and no ledger (blocks are plain malloc and free), so that what is
// measured is the bridge, not the test double.
const bool quiet = std::getenv("TARVEX_STANDIN_QUIET") != nullptr;
std::atomic<uint64_t> programmed{0};
}  // namespace detail
using detail::bit_of;
using detail::programmed;
using detail::quiet;

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
struct PendingFailure {
  int32_t status;
  int times;
};
std::map<const void*, PendingFailure>& failures() {
  static auto* f = new std::map<const void*, PendingFailure>();
  return *f;
}
std::map<const void*, std::deque<std::vector<uint8_t>>>& outputs() {
  static auto* o = new std::map<const void*, std::deque<std::vector<uint8_t>>>();
  return *o;
}

std::mutex log_mutex;
std::vector<Call>& log() {
  static auto* l = new std::vector<Call>();
  return *l;
}
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
  const char* function;  // the stand-in function that handed it out, or null
};
std::mutex ledger_mutex;
std::map<const void*, Block>& blocks() {
  static auto* b = new std::map<const void*, Block>();
  return *b;
}
// Blocks outstanding when the ledger was forgiven: released later without complaint.
std::set<const void*>& forgiven() {
  static auto* f = new std::set<const void*>();
  return *f;
}
std::vector<std::string>& ledger_errors() {
  static auto* e = new std::vector<std::string>();
  return *e;
}
uint64_t next_serial = 1;

// Sends `sig` to this thread with a fault's si_code (as the kernel reports a trap), delivered
// before the system call returns. For the faults an architecture has no trap for.
void send_fault(int sig, int code) {
  siginfo_t info{};
  info.si_signo = sig;
  info.si_code = code;
  syscall(SYS_rt_tgsigqueueinfo, getpid(), syscall(SYS_gettid), sig, &info);  // gettid(): glibc 2.30
}

std::atomic<size_t> unraised{0};  // bus errors that could not be raised (no file mapping)

// A bus error: touching a page of a file mapping that lies beyond the file's end.
void read_past_end_of_file() {
  char path[] = "/tmp/standin-busXXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) {
    ++unraised;
    return;
  }
  unlink(path);
  void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (page == MAP_FAILED) {
    ++unraised;
    return;
  }
  volatile const char* p = static_cast<const char*>(page);
  (void)*p;
  munmap(page, 4096);
}

// Real faults, raised the way the hardware raises them, not signals sent with kill: the guard
// acts only on those. Where the architecture has no such trap the signal is sent with the
// si_code its kernel gives the fault elsewhere: a division by zero on aarch64 (which yields 0)
// and a misaligned access on x86_64 (which just works).
[[gnu::noinline]] void raise_fault(Fault f) {
  switch (f) {
#if defined(__x86_64__)
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
    case Fault::kMisaligned:
      send_fault(SIGBUS, BUS_ADRALN);
      break;
#elif defined(__aarch64__)
    case Fault::kSegv:
      asm volatile("mov x9, #0\n\tstr w9, [x9]" ::: "x9", "memory");
      break;
    case Fault::kFpe:
      send_fault(SIGFPE, FPE_INTDIV);
      break;
    case Fault::kIll:
      asm volatile("udf #0");
      break;
    case Fault::kMisaligned: {
      // An exclusive load must be aligned to its size, whatever the memory's attributes.
      alignas(8) uint32_t words[2] = {};
      uint32_t value;
      const char* misaligned = reinterpret_cast<const char*>(words) + 1;
      asm volatile("ldxr %w0, [%1]" : "=r"(value) : "r"(misaligned) : "memory");
      break;
    }
#else
#error "no fault raiser for this architecture"
#endif
    case Fault::kBus:
      read_past_end_of_file();
      break;
    case Fault::kNone:
      break;
  }
}

}  // namespace

// ---- Handlers and faults -------------------------------------------------------------------------

void set_handler(const void* fn, std::shared_ptr<void> handler) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  handlers()[fn] = std::move(handler);
  programmed |= bit_of(fn);
}

std::shared_ptr<void> get_handler(const void* fn) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return nullptr;
  std::lock_guard<std::mutex> lock(handler_mutex);
  if (handlers().empty()) return nullptr;
  auto it = handlers().find(fn);
  return it == handlers().end() ? nullptr : it->second;
}

void set_fault(const void* fn, Fault fault, int times) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  faults()[fn] = PendingFault{fault, times};
  programmed |= bit_of(fn);
}

void crash(Fault f) { raise_fault(f); }

void set_failure(const void* fn, int32_t status, int times) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  failures()[fn] = PendingFailure{status, times};
  programmed |= bit_of(fn);
}

void queue_output(const void* fn, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  outputs()[fn].push_back(std::move(bytes));
  programmed |= bit_of(fn);
}

size_t faults_not_raised() { return unraised.load(); }

void reset() {
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    handlers().clear();
    faults().clear();
    failures().clear();
    outputs().clear();
    programmed = 0;
  }
  clear_calls();
}

namespace detail {

thread_local const char* running = nullptr;

std::optional<int32_t> take_failure(const void* fn) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return std::nullopt;
  std::lock_guard<std::mutex> lock(handler_mutex);
  auto it = failures().find(fn);
  if (it == failures().end() || it->second.times == 0) return std::nullopt;
  if (it->second.times > 0) --it->second.times;
  return it->second.status;
}

bool output_queued(const void* fn) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return false;
  std::lock_guard<std::mutex> lock(handler_mutex);
  auto it = outputs().find(fn);
  return it != outputs().end() && !it->second.empty();
}

bool give_queued_output(const void* fn, mem_blk_t* block) {
  std::vector<uint8_t> bytes;
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    auto it = outputs().find(fn);
    if (it == outputs().end() || it->second.empty()) return false;
    bytes = std::move(it->second.front());
    it->second.pop_front();
  }
  uint64_t context = 0;
  {
    std::lock_guard<std::mutex> lock(ledger_mutex);
    auto it = blocks().find(block->buf);
    if (it != blocks().end()) context = it->second.context;
  }
  release(context_t(context), block->buf, "stand-in");
  block->buf = standin::bytes(context_t(context), bytes);
  block->len = int32_t(bytes.size());
  return true;
}

void raise_requested_fault(const void* fn) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return;
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
  blocks()[p] = Block{uint64_t(context), size, next_serial++, detail::running};
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
  if (it == blocks().end() && forgiven().erase(block) != 0) {
    std::free(block);
    return;
  }
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
    char line[200];
    std::snprintf(line, sizeof line, "block #%" PRIu64 " of %" PRId64 " bytes from %s (context %#" PRIx64
                  ") was never released", b.serial, b.size, b.function ? b.function : "outside a call",
                  b.context);
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

void ledger_forgive() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  for (const auto& [p, b] : blocks()) forgiven().insert(p);
  blocks().clear();
  ledger_errors().clear();
}

std::vector<Outstanding> outstanding_blocks() {
  std::vector<std::pair<uint64_t, Outstanding>> by_serial;
  {
    std::lock_guard<std::mutex> lock(ledger_mutex);
    for (const auto& [p, b] : blocks())
      by_serial.push_back({b.serial, Outstanding{b.function ? b.function : "", b.size}});
  }
  std::sort(by_serial.begin(), by_serial.end(),
            [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<Outstanding> out;
  for (auto& [serial, o] : by_serial) out.push_back(std::move(o));
  return out;
}

std::vector<std::string> release_errors() {
  std::lock_guard<std::mutex> lock(ledger_mutex);
  return ledger_errors();
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
