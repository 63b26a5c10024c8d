# Lists the native methods of Norv1.LocalIface from the header javac writes for it (javac -h):
#   cmake -DHEADER=Norv1_LocalIface.h -DOUTPUT=native_methods.h [-DDEF=tarvexjni.def]
#         -P native_methods.cmake
# OUTPUT: TVJ_NATIVE_METHODS(METHOD), which expands METHOD(name, "descriptor") once for each
# method, sorted by name, the name without its QUMENJNI_ prefix and the descriptor as the JVM
# writes it (javac's comments write a nested class Norv1/LocalIface/x, the JVM Norv1/LocalIface$x).
# DEF: the exports of tarvexjni.dll, every method's JNI function and JNI_OnLoad.
# Each is written only when it changed.
cmake_minimum_required(VERSION 3.25)
file(READ ${HEADER} text)
# A list's separator, and the bracket that would hide the next ones from it (an array's [):
# both put back in each descriptor below.
string(REPLACE ";" "|" text "${text}")
string(REPLACE "[" "<" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(methods "")
foreach(line IN LISTS lines)
  if(line MATCHES "^ \\* Method: +QUMENJNI_([A-Za-z0-9_]+)$")
    set(name ${CMAKE_MATCH_1})
  elseif(line MATCHES "^ \\* Signature: +([^ ]+)$")
    string(REPLACE "LNorv1/LocalIface/" "LNorv1/LocalIface$" descriptor "${CMAKE_MATCH_1}")
    list(APPEND methods "${name} ${descriptor}")
  endif()
endforeach()
list(LENGTH methods count)
if(count EQUAL 0)
  message(FATAL_ERROR "native_methods.cmake: no native method in ${HEADER}")
endif()
list(SORT methods)

get_filename_component(header_name ${HEADER} NAME)
set(macro "// Generated from ${header_name} by native_methods.cmake.\n#pragma once\n\n")
string(APPEND macro "#define TVJ_NATIVE_METHODS(METHOD)")
set(def "LIBRARY tarvexjni.dll\nEXPORTS\n  JNI_OnLoad\n")
foreach(method IN LISTS methods)
  string(REPLACE " " ";" parts "${method}")
  list(GET parts 0 name)
  list(GET parts 1 descriptor)
  string(REPLACE "|" ";" descriptor "${descriptor}")
  string(REPLACE "<" "[" descriptor "${descriptor}")
  string(APPEND macro " \\\n  METHOD(${name}, \"${descriptor}\")")
  string(REPLACE "_" "_1" mangled "${name}")
  string(APPEND def "  Java_Norv1_LocalIface_QUMENJNI_1${mangled}\n")
endforeach()
string(APPEND macro "\n")

include(${CMAKE_CURRENT_LIST_DIR}/write_if_changed.cmake)
tvj_write_if_changed(${OUTPUT} "${macro}")
if(DEF)
  tvj_write_if_changed(${DEF} "${def}")
endif()
