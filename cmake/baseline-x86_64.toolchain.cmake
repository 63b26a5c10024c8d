# The released x86_64 libraries (cmake/baseline.cmake).
set(CMAKE_CXX_COMPILER g++)
set(TVJ_BASELINE_TRIPLE x86_64-linux-gnu)
set(TVJ_BASELINE_DEBIAN_ARCH amd64)
include(${CMAKE_CURRENT_LIST_DIR}/baseline.cmake)
