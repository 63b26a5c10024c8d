#include "local_refs.h"

namespace tvj {

__thread int t_spare_local_refs __attribute__((tls_model("initial-exec"))) = 0;

}  // namespace tvj
