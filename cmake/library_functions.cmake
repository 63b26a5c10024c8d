# The one list of the library's functions: every QUMEN_ function that native/tarvex.h declares,
# in the order of its declarations. The stand-in (standin/functions.cmake) and the import
# library of tarvex.dll (src/CMakeLists.txt) are made from it.
#   tvj_library_functions(<tarvex.h> <names> <declarations>)
# sets <names> to the functions' names without QUMEN_, and <declarations> to each one's C
# declaration on one line, in the same order (the declarations' ';' escaped as list items).
function(tvj_library_functions header names_var declarations_var)
  file(READ ${header} text)
  string(REGEX MATCHALL "[a-z_0-9]+\\*? QUMEN_[A-Za-z0-9]+\\([^)]*\\)" found "${text}")
  set(names "")
  set(declarations "")
  foreach(declaration IN LISTS found)
    string(REGEX REPLACE "[ \t\r\n]+" " " declaration "${declaration}")
    string(REGEX REPLACE "\\( " "(" declaration "${declaration}")
    string(REGEX MATCH "QUMEN_([A-Za-z0-9]+)\\(" _ "${declaration}")
    list(APPEND names ${CMAKE_MATCH_1})
    list(APPEND declarations "${declaration}")
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "${header}: no QUMEN_ function declared")
  endif()
  set(${names_var} ${names} PARENT_SCOPE)
  set(${declarations_var} ${declarations} PARENT_SCOPE)
endfunction()
