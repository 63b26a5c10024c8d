# Generates the list of the library's functions, in the order of their declarations in tarvex.h:
# the stand-in's X-macro (STANDIN_FUNCTION(name) per function) and the kit's enum, whose
# template has @FUNCTIONS@ where the constants go, each documented with its C declaration.
#   cmake -DHEADER=tarvex.h -DTEMPLATE=LibraryFunction.java.in -DINC=out.inc -DJAVA=out.java -P functions.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/library_functions.cmake)
tvj_library_functions(${HEADER} names declarations)
set(inc "// Generated from tarvex.h by functions.cmake: every function, in declaration order.\n")
set(constants "")
set(count 0)
foreach(name declaration IN ZIP_LISTS names declarations)
  string(APPEND inc "STANDIN_FUNCTION(${name})\n")
  if(count GREATER 0)
    string(APPEND constants ",\n")
  endif()
  string(APPEND constants "  /** {@code ${declaration}} */\n  ${name}")
  math(EXPR count "${count} + 1")
endforeach()
file(READ ${TEMPLATE} java)
string(REPLACE "@FUNCTIONS@" "${constants}" java "${java}")
string(REPLACE "@COUNT@" "${count}" java "${java}")
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/write_if_changed.cmake)
tvj_write_if_changed(${INC} "${inc}")
tvj_write_if_changed(${JAVA} "${java}")
