// Rules: what chosen calls of a function do (fail, fault, wait, answer with results, replace an
// output), counted per function and per thread; and the error texts programmed for GetErrorText.
#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>

#include "entry.h"
#include "jvm.h"

namespace standin {

namespace {

struct State {
  uint64_t id;
  Rule rule;
  std::shared_ptr<const std::vector<uint8_t>> data;
  int64_t counted = 0;
  int64_t reached = 0;  // calls in its window, decided by it or by a later rule
};

std::mutex rule_mutex;
// Per function, in the order added: the last rule whose window holds a call decides it.
std::map<const void*, std::vector<State>>& rules() {
  static auto* r = new std::map<const void*, std::vector<State>>();
  return *r;
}
struct ErrorText {
  std::string text;
  uint64_t serial;
};
std::map<int32_t, ErrorText>& error_texts() {
  static auto* t = new std::map<int32_t, ErrorText>();
  return *t;
}

// Delays in progress end at a reset, and when they are ended or released; once released, none
// waits until the next reset. Never destroyed: at the process's exit a call may still be waiting,
// and destroying a condition variable that has waiters blocks the exit for good.
std::mutex& delay_mutex() {
  static auto* m = new std::mutex();
  return *m;
}
std::condition_variable& delay_ended() {
  static auto* c = new std::condition_variable();
  return *c;
}
uint64_t ends = 0;
bool released = false;

void end_delays(bool release) {
  std::lock_guard<std::mutex> lock(delay_mutex());
  ++ends;
  released = released || release;
  delay_ended().notify_all();
}

std::atomic<uint64_t> threads_seen{0};

bool in_window(const Rule& r, int64_t call) {
  return call >= r.from && (r.count < 0 || call < r.from + r.count);
}

// A rule for the next `times` calls of fn (every call if negative) on any thread.
Rule first_calls(const void* fn, int times, Action action) {
  Rule rule;
  rule.fn = fn;
  rule.count = times;
  rule.action = action;
  return rule;
}

// Replaces the rules that set_fault or set_failure added for fn before (any thread, that action).
void replace_rule(Rule rule) {
  {
    std::lock_guard<std::mutex> lock(rule_mutex);
    auto it = rules().find(rule.fn);
    if (it != rules().end())
      std::erase_if(it->second, [&](const State& s) {
        return s.rule.thread == 0 && s.rule.action == rule.action;
      });
  }
  if (rule.count != 0) add_rule(std::move(rule));
}

}  // namespace

// Threads the JVM does not know are numbered far above any Java thread's id.
uint64_t thread_number() {
  if (uint64_t java = jvm::current_thread(nullptr)) return java;
  constexpr uint64_t kNotJava = uint64_t(1) << 48;
  thread_local uint64_t number = 0;  // trivial: no destructor to register for the thread
  if (number == 0) number = ++threads_seen + (jvm::started() ? kNotJava : 0);
  return number;
}

uint64_t add_rule(Rule rule) {
  std::lock_guard<std::mutex> lock(rule_mutex);
  uint64_t id = detail::next_serial();
  auto data = std::make_shared<const std::vector<uint8_t>>(std::move(rule.data));
  rule.data.clear();
  const void* fn = rule.fn;
  rules()[fn].push_back(State{id, std::move(rule), std::move(data)});
  detail::programmed |= detail::bit_of(fn);
  return id;
}

std::vector<RuleUse> rule_uses() {
  std::lock_guard<std::mutex> lock(rule_mutex);
  std::vector<RuleUse> uses;
  for (const auto& [fn, states] : rules())
    for (const State& s : states) uses.push_back(RuleUse{s.id, s.counted, s.reached});
  std::sort(uses.begin(), uses.end(),
            [](const RuleUse& a, const RuleUse& b) { return a.id < b.id; });
  return uses;
}

void set_fault(const void* fn, Fault fault, int times) {
  Rule rule = first_calls(fn, times, Action::kFault);
  rule.fault = fault;
  replace_rule(std::move(rule));
}

void set_failure(const void* fn, int32_t status, int times) {
  Rule rule = first_calls(fn, times, Action::kFail);
  rule.status = status;
  replace_rule(std::move(rule));
}

void end_waits() { end_delays(false); }

void release_waits() { end_delays(true); }

void set_error_text(int32_t status, std::string text) {
  std::lock_guard<std::mutex> lock(rule_mutex);
  error_texts()[status] = ErrorText{std::move(text), detail::next_serial()};
}

namespace detail {

Decision::~Decision() = default;

Decision decide(const void* fn, const Caller* who) {
  if (!(programmed.load(std::memory_order_relaxed) & bit_of(fn))) return {};
  uint64_t thread = who != nullptr ? who->thread : thread_number();
  std::lock_guard<std::mutex> lock(rule_mutex);
  auto it = rules().find(fn);
  if (it == rules().end()) return {};
  State* decides = nullptr;
  for (State& s : it->second) {
    if (s.rule.thread != 0 && s.rule.thread != thread) continue;
    if (!in_window(s.rule, ++s.counted)) continue;
    ++s.reached;
    decides = &s;
  }
  if (decides == nullptr) return {};
  const Rule& r = decides->rule;
  return Decision{r.action, r.delay, r.status, r.fault, r.answer, decides->data};
}

// Against the system clock: a wait on the steady clock needs pthread_cond_clockwait, which old C
// libraries lack (the stand-in ships with the kit); a test's delay may live with a clock's step.
void wait(std::chrono::nanoseconds delay) {
  delay = std::min<std::chrono::nanoseconds>(delay, std::chrono::hours(24 * 365));  // no overflow
  auto until = std::chrono::system_clock::now() + delay;
  std::unique_lock<std::mutex> lock(delay_mutex());
  uint64_t at = ends;
  delay_ended().wait_until(lock, until, [at] { return released || ends != at; });
}

int32_t fault_status(Fault f) {
  switch (f) {
    case Fault::kSegv:
      return int32_t(0xC0000005);
    case Fault::kBus:
      return int32_t(0xC0000006);
    case Fault::kMisaligned:
      return int32_t(0x80000002);
    case Fault::kFpe:
      return int32_t(0xC0000094);
    case Fault::kIll:
      return int32_t(0xC000001D);
    case Fault::kStack:
      return int32_t(0xC00000FD);
    case Fault::kNone:
      break;
  }
  return 0;
}

bool programmed_error_text(int32_t status, std::string* text) {
  std::lock_guard<std::mutex> lock(rule_mutex);
  auto it = error_texts().find(status);
  if (it == error_texts().end()) return false;
  *text = it->second.text;
  return true;
}

void drop_rules_since(uint64_t mark) {
  std::lock_guard<std::mutex> lock(rule_mutex);
  for (auto& [fn, states] : rules())
    std::erase_if(states, [mark](const State& s) { return s.id >= mark; });
  std::erase_if(error_texts(), [mark](const auto& t) { return t.second.serial >= mark; });
}

void reset_rules() {
  {
    std::lock_guard<std::mutex> lock(rule_mutex);
    rules().clear();
    error_texts().clear();
  }
  std::lock_guard<std::mutex> lock(delay_mutex());
  ++ends;
  released = false;
  delay_ended().notify_all();
}

}  // namespace detail
}  // namespace standin
