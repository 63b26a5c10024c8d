#include <dlfcn.h>

#include "pin.h"

namespace tvj {

void pin_library() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&pin_library), &self) == 0 || self.dli_fname == nullptr)
    return;
  dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);  // never closed
}

}  // namespace tvj
