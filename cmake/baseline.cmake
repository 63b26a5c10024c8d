# The released libraries: built by the project's compiler (g++ 12, for aarch64 its cross
# compiler) against Debian 11's C library (glibc 2.31) and GCC 10's C++ runtime, taken from a
# root file system used as the sysroot (scripts/rootfs), so that they load on any Linux with
# glibc 2.17 or later. Included by the toolchain files baseline-<arch>.toolchain.cmake, which set
# the compiler, TVJ_BASELINE_TRIPLE and TVJ_BASELINE_DEBIAN_ARCH:
#   cmake -S . -B <dir> --toolchain cmake/baseline-x86_64.toolchain.cmake -DTVJ_SYSROOT=<rootfs>
# (TVJ_SYSROOT defaults to where scripts/rootfs keeps it). The Java side is the host's (javac,
# jar, the JNI headers, which are the same for every Linux JDK); only the two native libraries
# and the jars are meant to be built in such a tree (scripts/release builds them and checks what
# they need).
if(NOT TVJ_SYSROOT)
  set(_tvj_base $ENV{TVJ_ROOTFS_DIR})
  if(NOT _tvj_base)
    set(_tvj_base /var/cache/tarvexjni)
  endif()
  set(TVJ_SYSROOT ${_tvj_base}/bullseye-${TVJ_BASELINE_DEBIAN_ARCH} CACHE PATH
      "The Debian 11 root file system to build against (scripts/rootfs)")
endif()
file(GLOB _tvj_cxx ${TVJ_SYSROOT}/usr/include/c++/*)
if(NOT EXISTS ${TVJ_SYSROOT}/usr/include/stdio.h OR NOT _tvj_cxx)
  message(FATAL_ERROR "no Debian 11 root file system at ${TVJ_SYSROOT}: scripts/rootfs ${TVJ_BASELINE_DEBIAN_ARCH} makes it")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TVJ_SYSROOT)
set(CMAKE_SYSROOT ${TVJ_SYSROOT})
get_filename_component(_tvj_gcc ${_tvj_cxx} NAME)  # the C++ library's version: 10
set(_tvj_lib ${TVJ_SYSROOT}/usr/lib/${TVJ_BASELINE_TRIPLE})

# The C++ library's headers are the old system's, matching its runtime below, not the compiler's.
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${TVJ_SYSROOT}/usr/include/c++/${_tvj_gcc} -isystem ${TVJ_SYSROOT}/usr/include/${TVJ_BASELINE_TRIPLE}/c++/${_tvj_gcc} -isystem ${TVJ_SYSROOT}/usr/include/c++/${_tvj_gcc}/backward")
# The old system's start files, C library and C++ runtime first: the compiler's own library
# folders (it looks there whatever the sysroot) hold the build machine's. Every shared library
# carries its C++ runtime, hidden (--exclude-libs: nothing of it is exported), and no debug
# information (its symbols stay, for stack traces). -ldl -lpthread: before glibc 2.34 the dl* and
# pthread_* functions live in those libraries; every reference to them, the runtime's weak ones
# included, must be bound there with its version rather than left unversioned.
set(_tvj_paths "-B${_tvj_lib}/ -L${TVJ_SYSROOT}/usr/lib/gcc/${TVJ_BASELINE_TRIPLE}/${_tvj_gcc} -L${_tvj_lib} -L${TVJ_SYSROOT}/lib/${TVJ_BASELINE_TRIPLE}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_tvj_paths}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_tvj_paths} -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL -Wl,--strip-debug")
set(CMAKE_CXX_STANDARD_LIBRARIES "-ldl -lpthread" CACHE STRING "")
unset(_tvj_base)
unset(_tvj_cxx)
unset(_tvj_gcc)
unset(_tvj_lib)
unset(_tvj_paths)

# Headers and libraries of the sysroot; programs of the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# The host's JDK for the Java side and the JNI headers (as scripts/build sets JAVA_HOME).
if(DEFINED ENV{JAVA_HOME})
  set(JAVA_INCLUDE_PATH $ENV{JAVA_HOME}/include CACHE PATH "")
  set(JAVA_INCLUDE_PATH2 $ENV{JAVA_HOME}/include/linux CACHE PATH "")
  set(JAVA_AWT_INCLUDE_PATH $ENV{JAVA_HOME}/include CACHE PATH "")
  set(JAVA_JVM_LIBRARY $ENV{JAVA_HOME}/lib/server/libjvm.so CACHE FILEPATH "")
endif()
