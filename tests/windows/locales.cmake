# Makes the locales the code-page tests run under, in DIR (their LOCPATH), once: Wine makes its
# active code page from LANG only when the system has that locale. localedef needs no root for
# a folder of its own; the sources come with Debian's locales package.
#   cmake -DDIR=<folder> -P locales.cmake
foreach(locale "ru_RU;CP1251" "ja_JP;UTF-8")
  list(GET locale 0 source)
  list(GET locale 1 charmap)
  set(name ${source}.${charmap})
  if(EXISTS ${DIR}/${name}/LC_CTYPE)
    continue()
  endif()
  file(MAKE_DIRECTORY ${DIR})
  execute_process(COMMAND localedef -i ${source} -f ${charmap} ${DIR}/${name}
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT EXISTS ${DIR}/${name}/LC_CTYPE)
    message(FATAL_ERROR "localedef -i ${source} -f ${charmap} failed:\n${out}")
  endif()
  message(STATUS "Made the locale ${name} in ${DIR}")
endforeach()
