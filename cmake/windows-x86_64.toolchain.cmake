# Windows x64, cross-built with clang 14 over Debian's mingw-w64 runtime (the posix thread
# model: the win32 one has no std::mutex), linked by lld:
#   cmake -S . -B build-windows --toolchain cmake/windows-x86_64.toolchain.cmake
# The libraries import only KERNEL32, msvcrt and (the bridge) tarvex.dll: the C++ runtime,
# libgcc and winpthreads are linked into each. GNU ld is not used: it refuses the bridge's
# inline constexpr objects as multiple definitions. The JNI headers are the host JDK's jni.h
# with cmake/windows/jni_md.h, the types as a Windows JDK declares them (jint is long); the
# Java side is built by the host's javac and jar. Programs of the build run under Wine, in a
# prefix of the build's own (cmake/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TVJ_WINDOWS_TRIPLE x86_64-w64-windows-gnu)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${TVJ_WINDOWS_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${TVJ_WINDOWS_TRIPLE})
set(CMAKE_AR /usr/bin/llvm-ar-14)
set(CMAKE_RANLIB /usr/bin/llvm-ranlib-14)
set(CMAKE_STRIP /usr/bin/llvm-strip-14)
set(TVJ_DLLTOOL llvm-dlltool-14)

# clang's driver does not find Debian's gcc folder for this target ("12-posix") by itself.
set(TVJ_MINGW_GCC /usr/lib/gcc/x86_64-w64-mingw32/12-posix)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${TVJ_MINGW_GCC}/include/c++ -isystem ${TVJ_MINGW_GCC}/include/c++/x86_64-w64-mingw32 -fms-extensions")
set(CMAKE_C_FLAGS_INIT "-fms-extensions")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${TVJ_MINGW_GCC} -static")
endforeach()
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread" CACHE STRING "")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(TVJ_WINDOWS_JNI_MD ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
