#include "guard_posix.h"

#include <errno.h>
#include <ucontext.h>

#include <atomic>

namespace tvj {

__thread FaultGuard* t_fault_guard __attribute__((tls_model("initial-exec"))) = nullptr;

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

std::atomic<bool> installed{false};
struct sigaction previous[NSIG];  // written once, before our handler can run

// Hands a signal that is not ours to the handler that was installed before ours, as the
// kernel would have: with its mask added and SIG_DFL and SIG_IGN carried out.
void forward(int sig, siginfo_t* info, void* context) {
  struct sigaction& prev = previous[sig];
  if (prev.sa_flags & SA_SIGINFO) {
    if (prev.sa_sigaction == nullptr) return;
  } else if (prev.sa_handler == SIG_IGN) {
    return;
  } else if (prev.sa_handler == SIG_DFL) {
    // Let the default action happen: a real fault re-executes on return and now terminates;
    // a signal that was sent is sent again, to arrive once this handler returns.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    if (info == nullptr || info->si_code <= 0) raise(sig);
    return;
  }
  sigset_t old;
  pthread_sigmask(SIG_BLOCK, &prev.sa_mask, &old);
  if (prev.sa_flags & SA_SIGINFO) {
    auto handler = prev.sa_sigaction;
    if (prev.sa_flags & SA_RESETHAND) prev.sa_handler = SIG_DFL, prev.sa_flags &= ~SA_SIGINFO;
    handler(sig, info, context);
  } else {
    auto handler = prev.sa_handler;
    if (prev.sa_flags & SA_RESETHAND) prev.sa_handler = SIG_DFL;
    handler(sig);
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void on_fault(int sig, siginfo_t* info, void* context) {
  int saved_errno = errno;
  FaultGuard* guard = t_fault_guard;
  if (guard != nullptr && info != nullptr && info->si_code > 0) {  // a real fault, not a kill
    guard->code = fault_status(sig, info->si_code);
    guard->mask = static_cast<ucontext_t*>(context)->uc_sigmask;
    t_fault_guard = nullptr;
    siglongjmp(guard->jump, 1);
  }
  forward(sig, info, context);
  errno = saved_errno;
}

}  // namespace

int32_t fault_status(int sig, int si_code) {
  switch (sig) {
    case SIGSEGV:
      return int32_t(0xC0000005);  // EXCEPTION_ACCESS_VIOLATION
    case SIGBUS:
      return si_code == BUS_ADRALN ? int32_t(0x80000002)   // EXCEPTION_DATATYPE_MISALIGNMENT
                                   : int32_t(0xC0000006);  // EXCEPTION_IN_PAGE_ERROR
    case SIGFPE:
      switch (si_code) {
        case FPE_INTDIV:
          return int32_t(0xC0000094);  // EXCEPTION_INT_DIVIDE_BY_ZERO
        case FPE_INTOVF:
          return int32_t(0xC0000095);  // EXCEPTION_INT_OVERFLOW
        case FPE_FLTSUB:
          return int32_t(0xC000008C);  // EXCEPTION_ARRAY_BOUNDS_EXCEEDED
        case FPE_FLTDIV:
          return int32_t(0xC000008E);  // EXCEPTION_FLT_DIVIDE_BY_ZERO
        case FPE_FLTRES:
          return int32_t(0xC000008F);  // EXCEPTION_FLT_INEXACT_RESULT
        case FPE_FLTOVF:
          return int32_t(0xC0000091);  // EXCEPTION_FLT_OVERFLOW
        case FPE_FLTUND:
          return int32_t(0xC0000093);  // EXCEPTION_FLT_UNDERFLOW
        default:
          return int32_t(0xC0000090);  // EXCEPTION_FLT_INVALID_OPERATION
      }
    case SIGILL:
      return si_code == ILL_PRVOPC || si_code == ILL_PRVREG
                 ? int32_t(0xC0000096)   // EXCEPTION_PRIV_INSTRUCTION
                 : int32_t(0xC000001D);  // EXCEPTION_ILLEGAL_INSTRUCTION
    default:
      return int32_t(0xC0000005);
  }
}

void install_fault_guard() {
  bool expected = false;
  if (!installed.compare_exchange_strong(expected, true)) return;
  struct sigaction ours {};
  ours.sa_sigaction = on_fault;
  ours.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
  sigemptyset(&ours.sa_mask);
  for (int sig : kSignals) {
    if (sigaction(sig, nullptr, &previous[sig]) != 0) continue;
    sigaction(sig, &ours, nullptr);
  }
}

}  // namespace tvj
