# Linux aarch64, cross-built with Debian's cross compiler (g++-aarch64-linux-gnu):
#   cmake -S . -B build-aarch64 --toolchain cmake/aarch64-linux-gnu.toolchain.cmake
# The Java side is built by the host's javac and jar (class files are the same everywhere); the
# JNI headers and libjvm.so come from the arm64 JDK (openjdk-17-jdk-headless:arm64). Tests and
# other programs of the build run under qemu-aarch64, in the arm64 JVM.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# The guest's loader and libraries are the arm64 system's (libc6:arm64, which the arm64 JDK
# needs anyway), not the cross toolchain's copies in /usr/aarch64-linux-gnu: that loader with
# the system's libc.so.6 of another build makes pthread_create loop forever.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)

# Libraries and headers of the target only; programs (javac, jar, readelf) of the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

set(TVJ_TARGET_JDK /usr/lib/jvm/java-17-openjdk-arm64 CACHE PATH "The JDK of the target")
set(JAVA_JVM_LIBRARY ${TVJ_TARGET_JDK}/lib/server/libjvm.so CACHE FILEPATH "")
set(JAVA_INCLUDE_PATH ${TVJ_TARGET_JDK}/include CACHE PATH "")
set(JAVA_INCLUDE_PATH2 ${TVJ_TARGET_JDK}/include/linux CACHE PATH "")
set(JAVA_AWT_INCLUDE_PATH ${TVJ_TARGET_JDK}/include CACHE PATH "")
