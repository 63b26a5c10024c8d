// The native methods of Norv1.LocalIface as the bridge implements them, sorted by name: the list
// javac declares from LocalIface when the bridge is built (native_methods.h).
#include <native_methods.h>

#include "declarations.h"

namespace tvj {

const Declaration kDeclarations[] = {
#define TVJ_DECLARATION(name, descriptor) {"QUMENJNI_" #name, descriptor},
    TVJ_NATIVE_METHODS(TVJ_DECLARATION)
#undef TVJ_DECLARATION
};

const size_t kDeclarationCount = sizeof(kDeclarations) / sizeof(kDeclarations[0]);

}  // namespace tvj
