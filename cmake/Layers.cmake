# SPDX-License-Identifier: MIT
# Fails the configure when a file of the runtime layer includes a header of the coders (or
# of the front end): both targets share the source root as include directory, so the
# compiler alone would not stop it.
file(GLOB_RECURSE _md5b64_platform_files CONFIGURE_DEPENDS
  "${PROJECT_SOURCE_DIR}/platform/*.h" "${PROJECT_SOURCE_DIR}/platform/*.cpp")
foreach(_file IN LISTS _md5b64_platform_files)
  file(STRINGS "${_file}" _upward REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](coders|front_end)/")
  if(_upward)
    file(RELATIVE_PATH _name "${PROJECT_SOURCE_DIR}" "${_file}")
    message(FATAL_ERROR "${_name} includes a higher layer: ${_upward}")
  endif()
endforeach()
