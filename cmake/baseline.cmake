# The released libraries: built by clang 14 against Debian 11's C library (glibc 2.31) and
# C++ runtime (GCC 10's libstdc++), from a root file system used as the sysroot (scripts/rootfs),
# so that they load on any Linux with glibc 2.17 or later. Included by the toolchain files
# baseline-<arch>.toolchain.cmake, which set TVJ_BASELINE_TRIPLE and TVJ_BASELINE_DEBIAN_ARCH:
#   cmake -S . -B <dir> --toolchain cmake/baseline-x86_64.toolchain.cmake -DTVJ_SYSROOT=<rootfs>
# (TVJ_SYSROOT defaults to where scripts/rootfs keeps it). The Java side is the host's (javac,
# jar, the JNI headers, which are the same for every Linux JDK); only the two native libraries
# are meant to be built in such a tree (scripts/release builds them and checks what they need).
set(TVJ_SYSROOT "$ENV{TVJ_ROOTFS_DIR}" CACHE PATH "The Debian 11 root file system to build against")
if(NOT TVJ_SYSROOT)
  set(TVJ_SYSROOT /var/cache/tarvexjni/bullseye-${TVJ_BASELINE_DEBIAN_ARCH} CACHE PATH "" FORCE)
elseif(NOT EXISTS ${TVJ_SYSROOT}/usr/include/stdio.h)
  set(TVJ_SYSROOT ${TVJ_SYSROOT}/bullseye-${TVJ_BASELINE_DEBIAN_ARCH} CACHE PATH "" FORCE)
endif()
if(NOT EXISTS ${TVJ_SYSROOT}/usr/include/stdio.h)
  message(FATAL_ERROR "no Debian 11 root file system at ${TVJ_SYSROOT}: scripts/rootfs ${TVJ_BASELINE_DEBIAN_ARCH} makes it")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TVJ_SYSROOT)

set(CMAKE_SYSROOT ${TVJ_SYSROOT})
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${TVJ_BASELINE_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${TVJ_BASELINE_TRIPLE})
# GCC 10's files from /usr/lib/gcc, not through a merged /usr's /lib link: the dependency
# files would then name headers by paths that only resolve through that link (lib/../include).
set(CMAKE_C_COMPILER_EXTERNAL_TOOLCHAIN ${TVJ_SYSROOT}/usr)
set(CMAKE_CXX_COMPILER_EXTERNAL_TOOLCHAIN ${TVJ_SYSROOT}/usr)
# LLVM's tools handle either platform's objects.
set(CMAKE_AR llvm-ar-14 CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib-14 CACHE FILEPATH "")
set(CMAKE_STRIP llvm-strip-14 CACHE FILEPATH "")
set(CMAKE_OBJCOPY llvm-objcopy-14 CACHE FILEPATH "")

# Every shared library carries its C++ runtime, hidden (--exclude-libs: nothing of it is
# exported), and no debug information (its symbols stay, for stack traces). -ldl -lpthread: on glibc before 2.34 the dl* and pthread_* functions live in those
# libraries; the runtime's references to them (weak ones included) must be bound to them, with
# their symbol versions, rather than left unversioned.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL -Wl,--strip-debug")
set(CMAKE_CXX_STANDARD_LIBRARIES "-ldl -lpthread" CACHE STRING "")

# Headers and libraries of the sysroot; programs of the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# The host's JDK for the Java side and the JNI headers (as scripts/build sets JAVA_HOME).
if(DEFINED ENV{JAVA_HOME})
  set(JAVA_INCLUDE_PATH $ENV{JAVA_HOME}/include CACHE PATH "")
  set(JAVA_INCLUDE_PATH2 $ENV{JAVA_HOME}/include/linux CACHE PATH "")
  set(JAVA_AWT_INCLUDE_PATH $ENV{JAVA_HOME}/include CACHE PATH "")
  set(JAVA_JVM_LIBRARY $ENV{JAVA_HOME}/lib/server/libjvm.so CACHE FILEPATH "")
endif()
