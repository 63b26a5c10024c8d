// The machine-fault guard on Windows (core/guard.h): structured exception handling around
// the frame's steps, 2 to 6, and a termination block that runs the clean-up.
//
// The filter handles every exception that reaches it, and takes the exception's code there:
// the code is the status. (Some implementations of the system give the handler block 0 for
// GetExceptionCode; in the filter it is always the exception's.) A frame-based handler sees an
// exception only after every handler nearer the fault: the native library's own __try blocks
// and its C++ exceptions thrown and caught inside it never reach it, and the VM's vectored
// handler takes the faults of compiled Java code first. Nothing is installed per process.
//
// Unwinding out of the guarded steps runs no destructor of theirs (the bridge is built without
// C++ exceptions): a fault inside a VM function while the bridge held a lock of its own (the
// first lookup of a record class) would leave that lock held. Such a fault means a broken
// reference or a broken VM; the native library's faults never happen under a lock of ours.
#pragma once

#include <excpt.h>

#include <cstdint>

// Without C++ exceptions the C++ library defines __try as a macro of its own; here it is the
// compiler's keyword.
#pragma push_macro("__try")
#undef __try

namespace tvj {

inline void install_fault_guard() {}

// The filter: every exception is handled; its code becomes the status.
inline int take_fault(unsigned long exception_code, int32_t* code) {
  *code = int32_t(exception_code);
  return EXCEPTION_EXECUTE_HANDLER;
}

// The steps in a function of their own: the compiler's exception blocks cover what they call,
// not instructions of their own, so that nothing of the steps may be inlined into the block.
template <typename Steps>
[[gnu::noinline]] void run_steps(Steps& steps) {
  steps();
}

// The steps under the exception block. Kept apart from the termination block: in one function
// with both, the compiler ran the termination block during the unwinding too.
template <typename Steps>
[[gnu::noinline]] bool guard_steps(Steps& steps, int32_t& code) {
  __try {
    run_steps(steps);
  } __except (take_fault(GetExceptionCode(), &code)) {
    return false;
  }
  return true;
}

// cleanup(faulted) runs however the steps end: after them, after a fault, and if something
// unwinds through the frame (then as after a fault: the native results are left alone).
template <typename Steps, typename Cleanup>
[[gnu::noinline]] bool guard_frame(Steps& steps, Cleanup& cleanup, int32_t& code) {
  bool faulted = true;
  __try {
    faulted = !guard_steps(steps, code);
  } __finally {
    cleanup(faulted);
  }
  return !faulted;
}

// The native call is guarded with the rest of the frame's steps.
template <typename Call>
inline bool guard_native(Call& call, int32_t&) {
  call();
  return true;
}

}  // namespace tvj

#pragma pop_macro("__try")
