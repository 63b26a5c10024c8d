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

#include "entry.h"
#include "jvm.h"
#include "platform.h"

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
struct Output {
  uint64_t thread;  // 0: any thread
  std::vector<uint8_t> bytes;
  uint64_t serial;
};
std::map<const void*, std::deque<Output>>& outputs() {
  static auto* o = new std::map<const void*, std::deque<Output>>();
  return *o;
}
// The first output queued for fn that this thread may take.
std::deque<Output>::iterator next_output(std::deque<Output>& queue) {
  uint64_t thread = thread_number();
  return std::find_if(queue.begin(), queue.end(),
                      [thread](const Output& o) { return o.thread == 0 || o.thread == thread; });
}

// The log: the last `limit` calls of `logged` since the clear, and how many calls of each
// function there were (by the function's name, which the stand-in's entries give as __func__).
std::mutex log_mutex;
std::deque<Call>& log() {
  static auto* l = new std::deque<Call>();
  return *l;
}
std::map<const char*, uint64_t>& counts() {
  static auto* c = new std::map<const char*, uint64_t>();
  return *c;
}
uint64_t logged = 0;
uint64_t log_generation = 1;  // a new one at each clear: a call logged before is not updated
constexpr size_t kDefaultLogLimit = 10000;
size_t initial_log_limit() {
  const char* value = std::getenv("TARVEX_STANDIN_LOG");
  if (value == nullptr || *value < '0' || *value > '9') return kDefaultLogLimit;
  char* end = nullptr;
  unsigned long long n = std::strtoull(value, &end, 10);
  return *end == '\0' ? size_t(n) : kDefaultLogLimit;
}
size_t limit = initial_log_limit();

// The call at `index` of this generation, while the log keeps it.
Call* logged_call(detail::CallRef ref) {
  if (ref.generation != log_generation || ref.index < 0) return nullptr;
  uint64_t first = logged - log().size();
  if (uint64_t(ref.index) < first || uint64_t(ref.index) >= logged) return nullptr;
  return &log()[size_t(uint64_t(ref.index) - first)];
}
std::atomic<bool> details{false};
std::atomic<bool> with_bytes{false};
std::mutex context_mutex;
std::map<uint64_t, detail::Origin>& contexts() {
  static auto* c = new std::map<uint64_t, detail::Origin>();
  return *c;
}
std::atomic<uint64_t> epoch{1};
// Java frames kept for each context and handle: enough to reach a test's line through an
// application's own layers.
constexpr int kFramesKept = 32;
uint64_t next_context = 0x7E57C0DE0001;

struct Block {
  uint64_t context;
  int64_t size;
  uint64_t serial;
  const char* function;  // the stand-in function that handed it out, or null
  detail::CallRef call;  // its call in the log
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

}  // namespace

// ---- Handlers and faults
// -------------------------------------------------------------------------

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

void crash(Fault f) { platform::raise_fault(f); }

void queue_output(const void* fn, std::vector<uint8_t> bytes, uint64_t thread) {
  std::lock_guard<std::mutex> lock(handler_mutex);
  outputs()[fn].push_back(Output{thread, std::move(bytes), detail::next_serial()});
  programmed |= bit_of(fn);
}

std::vector<Queued> queued_outputs() {
  std::lock_guard<std::mutex> lock(handler_mutex);
  std::vector<Queued> queued;
  for (const auto& [fn, queue] : outputs()) {
    std::map<uint64_t, size_t> by_thread;
    for (const Output& o : queue) ++by_thread[o.thread];
    for (const auto& [thread, count] : by_thread) queued.push_back(Queued{fn, thread, count});
  }
  return queued;
}

void reset() {
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    handlers().clear();
    outputs().clear();
    programmed = 0;
  }
  detail::reset_rules();
  clear_calls();
  ++epoch;
}

uint64_t programming_mark() { return detail::serials.load(); }

void drop_programming_since(uint64_t mark) {
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    for (auto& [fn, queue] : outputs())
      std::erase_if(queue, [mark](const Output& o) { return o.serial >= mark; });
  }
  detail::drop_rules_since(mark);
}

namespace detail {

std::atomic<uint64_t> serials{1};
uint64_t next_serial() { return serials++; }

thread_local const char* running = nullptr;
thread_local CallRef running_call;
thread_local RunningCaller running_caller;

uint64_t current_epoch() { return epoch.load(); }

Origin origin_here() {
  Origin o;
  o.epoch = epoch.load();
  o.function = running;
  o.call = running_call;
  if (running != nullptr && running_caller.thread != 0) {
    o.thread = running_caller.thread;
    o.thread_name = running_caller.name;
    o.frames = jvm::current_stack(kFramesKept);
  }
  return o;
}

std::vector<LeftOpen> contexts_left_open() {
  std::vector<LeftOpen> open;
  std::lock_guard<std::mutex> lock(context_mutex);
  for (const auto& [c, origin] : contexts())
    if (origin.epoch == epoch.load()) open.push_back(LeftOpen{"context", c, origin});
  return open;
}

bool output_queued(const void* fn) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return false;
  std::lock_guard<std::mutex> lock(handler_mutex);
  auto it = outputs().find(fn);
  return it != outputs().end() && next_output(it->second) != it->second.end();
}

bool give_queued_output(const void* fn, mem_blk_t* block) {
  std::vector<uint8_t> bytes;
  {
    std::lock_guard<std::mutex> lock(handler_mutex);
    auto it = outputs().find(fn);
    if (it == outputs().end()) return false;
    auto next = next_output(it->second);
    if (next == it->second.end()) return false;
    bytes = std::move(next->bytes);
    it->second.erase(next);
  }
  replace_output(block, bytes);
  return true;
}

void replace_output(mem_blk_t* block, const std::vector<uint8_t>& bytes) {
  uint64_t context = 0;
  {
    std::lock_guard<std::mutex> lock(ledger_mutex);
    auto it = blocks().find(block->buf);
    if (it != blocks().end()) context = it->second.context;
  }
  release(context_t(context), block->buf, "stand-in");
  block->buf = standin::bytes(context_t(context), bytes);
  block->len = int32_t(bytes.size());
}

bool logging() { return !quiet; }
bool recording_details() { return details.load(std::memory_order_relaxed); }
bool recording_bytes() { return with_bytes.load(std::memory_order_relaxed); }

Caller caller() {
  Caller who;
  who.thread = jvm::current_thread(&who.name);
  if (who.thread == 0) who.thread = thread_number();
  return who;
}

CallRef log_call(const char* function, uint64_t context, std::vector<uint64_t> words,
                 std::vector<Arg> args, Caller who) {
  Call call;
  call.function = function;
  call.context = context;
  call.words = std::move(words);
  call.thread = who.thread;
  call.thread_name = std::move(who.name);
  call.args = std::move(args);
  std::lock_guard<std::mutex> lock(log_mutex);
  ++counts()[function];
  if (limit == 0) return CallRef{log_generation, int64_t(logged++)};
  if (log().size() == limit) log().pop_front();
  log().push_back(std::move(call));
  return CallRef{log_generation, int64_t(logged++)};
}

void end_call(CallRef call, End end, int32_t status) {
  std::lock_guard<std::mutex> lock(log_mutex);
  if (Call* c = logged_call(call)) {
    c->end = end;
    c->status = status;
  }
}

}  // namespace detail

void record_details(bool on) { details = on; }
void record_bytes(bool on) { with_bytes = on; }

// ---- The call log
// --------------------------------------------------------------------------------

std::vector<Call> calls() {
  uint64_t first;
  return calls(&first);
}

std::vector<Call> calls(uint64_t* first_number) {
  std::lock_guard<std::mutex> lock(log_mutex);
  *first_number = logged - log().size() + 1;
  return std::vector<Call>(log().begin(), log().end());
}

uint64_t first_logged() {
  std::lock_guard<std::mutex> lock(log_mutex);
  return logged - log().size() + 1;
}

size_t log_limit() {
  std::lock_guard<std::mutex> lock(log_mutex);
  return limit;
}

void set_log_limit(size_t calls) {
  std::lock_guard<std::mutex> lock(log_mutex);
  limit = calls;
  while (log().size() > limit) log().pop_front();
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
  for (const auto& [name, calls] : counts()) n += function == name ? calls : 0;
  return n;
}

void clear_calls() {
  std::lock_guard<std::mutex> lock(log_mutex);
  log().clear();
  counts().clear();
  logged = 0;
  ++log_generation;
}

// ---- Contexts
// --------------------------------------------------------------------------------------

context_t open_context() {
  detail::Origin origin = detail::origin_here();
  std::lock_guard<std::mutex> lock(context_mutex);
  uint64_t c = next_context++;
  contexts()[c] = std::move(origin);
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

// ---- The ledger
// ------------------------------------------------------------------------------------

void* alloc(context_t context, int64_t size) {
  if (size < 0) return nullptr;
  void* p = std::malloc(size_t(size > 0 ? size : 1));
  if (p == nullptr || quiet) return p;
  std::lock_guard<std::mutex> lock(ledger_mutex);
  blocks()[p] =
      Block{uint64_t(context), size, next_serial++, detail::running, detail::running_call};
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
    std::snprintf(line, sizeof line,
                  "block #%" PRIu64 " of %" PRId64 " bytes from %s (context %#" PRIx64
                  ") was never released",
                  b.serial, b.size, b.function ? b.function : "outside a call", b.context);
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
  uint64_t generation;
  {
    std::lock_guard<std::mutex> lock(log_mutex);
    generation = log_generation;
  }
  std::vector<std::pair<uint64_t, Outstanding>> by_serial;
  {
    std::lock_guard<std::mutex> lock(ledger_mutex);
    for (const auto& [p, b] : blocks()) {
      int64_t call = b.call.generation == generation ? b.call.index : -1;
      by_serial.push_back({b.serial, Outstanding{b.function ? b.function : "", b.size, call}});
    }
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

// ---- Digest
// ------------------------------------------------------------------------------------------

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
