// The machine-fault guard on POSIX systems (core/guard.h): signal handlers for SIGSEGV,
// SIGBUS, SIGFPE and SIGILL, installed once per process when the bridge is activated (by the
// Java loader once it has accepted the bridge, core/lifecycle.cpp), chained to the handlers that
// were there before (the JVM's). They act only on a thread whose guard is armed, and the guard is
// armed only for the duration of the native call itself: every JNI call of the bridge happens
// outside it. Each signal becomes the code a Windows build reports for the same fault, so that Java
// callers see the same status on every platform.
//
// Limits: a stack overflow inside the native library is not caught (Java threads have no
// alternate signal stack), nor is abort(), nor a fault on a thread the native library starts
// itself. After a fault the native library's own state is undefined: end that context.
#pragma once

#include <pthread.h>
#include <setjmp.h>
#include <signal.h>

#include <cstdint>

namespace tvj {

struct FaultGuard {
  sigjmp_buf jump;
  sigset_t mask;  // the thread's signal mask when the fault was raised
  int32_t code;
};

// The armed guard of this thread, or null. Initial-exec TLS: the signal handler reads it, and
// the default model may allocate on first touch, which a signal handler must never do.
extern __thread FaultGuard* t_fault_guard __attribute__((tls_model("initial-exec")));

// Installs the handlers, once per process; later calls (a second load) do nothing.
void install_fault_guard();

// The Windows exception code for a fault.
int32_t fault_status(int sig, int si_code);

// Runs call() with this thread's guard armed. Returns true when it returned, false when it
// faulted; `code` is then the fault's status. sigsetjmp without saving the signal mask (saving
// it costs a system call per call): the landing restores the mask the handler recorded.
template <typename Call>
[[gnu::noinline]] bool guard_native(Call& call, int32_t& code) {
  FaultGuard guard;
  if (sigsetjmp(guard.jump, 0) != 0) {
    pthread_sigmask(SIG_SETMASK, &guard.mask, nullptr);
    code = guard.code;
    return false;
  }
  t_fault_guard = &guard;
  call();
  t_fault_guard = nullptr;
  return true;
}

// The frame's steps are not guarded here: only their native call is (guard_native).
template <typename Steps, typename Cleanup>
inline bool guard_frame(Steps& steps, Cleanup& cleanup, int32_t&) {
  steps();
  cleanup(false);
  return true;
}

}  // namespace tvj
