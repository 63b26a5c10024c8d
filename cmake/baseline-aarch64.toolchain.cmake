# The released aarch64 libraries (cmake/baseline.cmake), cross-built with Debian's cross compiler.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(TVJ_BASELINE_TRIPLE aarch64-linux-gnu)
set(TVJ_BASELINE_DEBIAN_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/baseline.cmake)
