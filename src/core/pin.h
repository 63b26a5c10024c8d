// The bridge keeps itself loaded until the process ends. A class loader that is collected
// would otherwise unload it while code of it may still be reached: on POSIX systems the fault
// handlers, which the VM's handlers chain to.
//
// Windows (pin_windows.cpp): DllMain, on process attach, takes a handle to the library with
// GetModuleHandleExA, flags GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN
// (5) and the library's own instance handle as the address; the other notifications do
// nothing. Loading succeeds whether or not the pinning did.
// POSIX (pin_posix.cpp): pin_library, when the loader activates the bridge (after its version
// was accepted: a refused bridge is not pinned), opens the library again with RTLD_NODELETE, a
// handle never closed.
#pragma once

namespace tvj {

// POSIX: pins the library. Windows: nothing left to do (DllMain pinned it).
void pin_library();

}  // namespace tvj
