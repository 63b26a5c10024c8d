# What every configuration of the project shares (the main build and the fuzz target's): the
# version (TVJ_VERSION), the language, where the libraries and jars land, the JDK, and the
# platform folder's name.
set(TVJ_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})
include(${TVJ_CMAKE_DIR}/version.cmake)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

# Every shared library lands in one folder, so that libtarvexjni.so finds libtarvex.so beside it.
# On Windows a DLL is a runtime output: tarvexjni.dll, tarvex.dll and the test programs, which
# find the DLLs in their own folder.
set(TVJ_LIB_DIR ${CMAKE_BINARY_DIR}/lib)
set(TVJ_JAR_DIR ${CMAKE_BINARY_DIR}/java)
# The native surface as javac declares it from Norv1.LocalIface (java/CMakeLists.txt): its JNI
# header, the list of its methods and, for Windows, the bridge's exports.
set(TVJ_SURFACE_DIR ${CMAKE_BINARY_DIR}/surface)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${TVJ_LIB_DIR})
if(WIN32)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${TVJ_LIB_DIR})
  set(CMAKE_SHARED_LIBRARY_PREFIX "")  # tarvex.dll, tarvexjni.dll
endif()

# JDK 17, from JAVA_HOME or where Debian installs it.
if(NOT DEFINED ENV{JAVA_HOME} AND EXISTS /usr/lib/jvm/java-17-openjdk-amd64)
  set(ENV{JAVA_HOME} /usr/lib/jvm/java-17-openjdk-amd64)
endif()
find_package(Java 17 REQUIRED COMPONENTS Development Runtime)
include(UseJava)
set(CMAKE_JAVA_COMPILE_FLAGS --release 17 -Xlint:all -Werror)
if(WIN32)
  # No Windows JDK here: the host JDK's jni.h, with the machine-dependent header of a Windows
  # JDK (cmake/windows/jni_md.h). No JVM to link or run.
  get_filename_component(TVJ_HOST_JDK ${Java_JAVAC_EXECUTABLE} REALPATH)
  get_filename_component(TVJ_HOST_JDK ${TVJ_HOST_JDK} DIRECTORY)     # .../bin
  get_filename_component(TVJ_HOST_JDK ${TVJ_HOST_JDK} DIRECTORY)
  set(JNI_INCLUDE_DIRS ${TVJ_HOST_JDK}/include ${TVJ_WINDOWS_JNI_MD})
else()
  find_package(JNI REQUIRED COMPONENTS JVM)
  get_filename_component(TVJ_JVM_DIR ${JAVA_JVM_LIBRARY} DIRECTORY)     # .../lib/server
  get_filename_component(TVJ_JDK_LIB_DIR ${TVJ_JVM_DIR} DIRECTORY)     # .../lib
  set(TVJ_LIBJSIG ${TVJ_JDK_LIB_DIR}/libjsig.so)
endif()

# The platform folder of this build's native libraries inside the jars.
if(WIN32 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|amd64|AMD64)$")
  set(TVJ_PLATFORM windows-x86_64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|amd64|AMD64)$")
  set(TVJ_PLATFORM linux-x86_64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(TVJ_PLATFORM linux-aarch64)
else()
  message(FATAL_ERROR "tarvexjni: no platform folder for ${CMAKE_SYSTEM_PROCESSOR}")
endif()
