# tvj_write_if_changed(<path> <content>): writes the file only when its content changes, so that
# what depends on a generated file is not rebuilt for nothing.
function(tvj_write_if_changed path content)
  set(old "")
  if(EXISTS ${path})
    file(READ ${path} old)
  endif()
  if(NOT old STREQUAL "${content}")
    file(WRITE ${path} "${content}")
  endif()
endfunction()
