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
set(TVJ_SYSROOT "$ENV{TVJ_ROOTFS_DIR}" CACHE PATH "The Debian 11 root file system to build against")
if(NOT TVJ_SYSROOT)
  set(TVJ_SYSROOT /var/cache/tarvexjni/bullseye-${TVJ_BASELINE_DEBIAN_ARCH} CACHE PATH "" FORCE)
elseif(NOT EXISTS ${TVJ_SYSROOT}/usr/include/stdio.h)
  set(TVJ_SYSROOT ${TVJ_SYSROOT}/bullseye-${TVJ_BASELINE_DEBIAN_ARCH} CACHE PATH "" FORCE)
endif()
file(GLOB TVJ_SYSROOT_CXX ${TVJ_SYSROOT}/usr/include/c++/*)
if(NOT EXISTS ${TVJ_SYSROOT}/usr/include/stdio.h OR NOT TVJ_SYSROOT_CXX)
  message(FATAL_ERROR "no Debian 11 root file system at ${TVJ_SYSROOT}: scripts/rootfs ${TVJ_BASELINE_DEBIAN_ARCH} makes it")
endif()
get_filename_component(TVJ_SYSROOT_GCC ${TVJ_SYSROOT_CXX} NAME)  # 10
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TVJ_SYSROOT)
set(CMAKE_SYSROOT ${TVJ_SYSROOT})
set(root ${TVJ_SYSROOT})
set(triple ${TVJ_BASELINE_TRIPLE})

# The C++ library's headers are the old system's, matching its runtime below, not the compiler's.
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${root}/usr/include/c++/${TVJ_SYSROOT_GCC} -isystem ${root}/usr/include/${triple}/c++/${TVJ_SYSROOT_GCC} -isystem ${root}/usr/include/c++/${TVJ_SYSROOT_GCC}/backward")
# The old system's C library, start files and C++ runtime first: the compiler's own library
# folders (it looks there whatever the sysroot) hold the build machine's. Every shared library
# carries its C++ runtime, hidden (--exclude-libs: nothing of it is exported), and no debug
# information (its symbols stay, for stack traces). -ldl -lpthread: before glibc 2.34 the dl* and
# pthread_* functions live in those libraries; every reference to them, the runtime's weak ones
# included, must be bound there with its version rather than left unversioned.
set(paths "-B${root}/usr/lib/${triple}/ -L${root}/usr/lib/gcc/${triple}/${TVJ_SYSROOT_GCC} -L${root}/usr/lib/${triple} -L${root}/lib/${triple}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${paths}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${paths} -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL -Wl,--strip-debug")
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
