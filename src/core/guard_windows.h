// The machine-fault guard on Windows (core/guard.h): structured exception handling around
// the frame's steps, 2 to 6, and a termination block that runs the clean-up.
//
// The filter handles every exception that reaches it, and takes the exception's code there:
// the code is the status. (Some implementations of the system give the handler block 0 for
// GetExceptionCode; in the filter it is always the exception's.) The system offers an exception
// to the frames' handlers from the faulting frame outwards, so a handler nearer the fault sees it
// first: the native library's own __try blocks and its C++ exceptions thrown and caught inside it
// never reach this one. The VM on x64 handles its own faults the same way, frame by frame: its
// compiled code and stubs are registered with the system with a handler of the VM's, which sees
// their faults before any frame of ours further out, and its threads start inside a __try block
// of its own, further out than ours. (Only the VM on arm64 uses a vectored handler.)
//
// A stack overflow (EXCEPTION_STACK_OVERFLOW) is handled like the rest, and the thread's guard
// page, used up by it, is restored (_resetstkoflw) once the handler block runs on the unwound
// stack: without it a second overflow on that thread would end the process. Where the VM keeps
// guard zones of its own at the end of a thread's stack, an overflow inside the library may reach
// them first: what it raises there is handled here too, with its own code, and the VM's zones are
// left as the overflow left them. No Windows JVM has run this yet (docs/windows.md).
//
// The bridge installs no handler in the process. Its runtime, linked in, does: winpthreads adds
// a vectored handler when the library is attached, which notes the names debuggers give threads
// (exception 0x406D1388) and passes every exception on.
//
// Unwinding out of the guarded steps runs no destructor of theirs (the bridge is built without
// C++ exceptions): a fault inside a VM function while the bridge held a lock of its own (the
// first lookup of a record class) would leave that lock held. Such a fault means a broken
// reference or a broken VM; the native library's faults never happen under a lock of ours.
#pragma once

#include <excpt.h>
#include <malloc.h>  // _resetstkoflw

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
    if (uint32_t(code) == 0xC00000FDu) _resetstkoflw();  // EXCEPTION_STACK_OVERFLOW
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
