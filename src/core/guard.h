// The machine-fault guard. A machine fault raised while a call is under way returns that call
// as a status, the fault's exception code (0xC0000005 for an access violation, 0xC0000094 for
// an integer division by zero, ...), and the call's clean-up still runs.
//
// Two scopes, of which each platform guards one and runs the other as it stands:
//
//   guard_frame(steps, cleanup, code)  the frame's steps (context, arguments, the native call,
//                                      results), then cleanup(faulted), which runs however the
//                                      steps ended. Returns false when a fault ended them.
//   guard_native(call, code)           the native call alone. Returns false when it faulted.
//
// `code` is then the fault's status, and nothing of the steps after the fault runs.
//
// Windows (guard_windows.h) guards the frame with structured exception handling: a block
// whose filter handles every exception and takes its code, inside a termination block that
// runs the clean-up. Faults anywhere in the steps are caught: the bridge's, the native
// library's and those of the VM's interface functions. Handlers nearer the fault see it first:
// the library's own (its __try, its C++ exceptions caught inside it), and for the faults of the
// VM's compiled Java code the VM's, registered for that code's frames. A stack overflow restores
// the thread's guard page.
//
// POSIX (guard_posix.h) guards the native call: signal handlers installed once, chained to
// the VM's, acting only on the calling thread and only while its native call runs; each
// signal becomes the code a Windows build reports for the same fault.
#pragma once

#if defined(_WIN32)
#include "guard_windows.h"
#else
#include "guard_posix.h"
#endif
