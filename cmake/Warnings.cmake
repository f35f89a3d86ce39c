# SPDX-License-Identifier: MIT
# The project's own targets build with a strict warning set; CI turns warnings into errors.
function(md5b64_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${MD5B64_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    # Conversions, shadowing and casts are where byte and size arithmetic goes wrong quietly.
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
      -Wsign-conversion -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
      $<$<BOOL:${MD5B64_WARNINGS_AS_ERRORS}>:-Werror>)
  endif()
endfunction()
