# SPDX-License-Identifier: MIT
# The coding library's interface: the include tree its users see, the version and export
# headers, and the shared-library properties. Applies to every target in MD5B64_LIBRARY_TARGETS.
#
# Users include the public headers as "coders/..." and "platform/...", the generated ones as
# "md5b64/Version.h" and "md5b64/Export.h". In the build tree they find them in one generated
# directory that holds links to the public headers only, so that neither the internal headers,
# the program's front_end/ nor the tests are on a user's include path. The library's own
# sources include from the source root, where the internal headers are.

set(MD5B64_INCLUDE_TREE "${PROJECT_BINARY_DIR}/md5b64-include")

# Public means a header directly in coders/ or platform/: the subdirectories (internal/,
# posix/, windows/) are the library's own.
file(GLOB MD5B64_PUBLIC_HEADERS CONFIGURE_DEPENDS
  RELATIVE "${PROJECT_SOURCE_DIR}"
  "${PROJECT_SOURCE_DIR}/coders/*.h"
  "${PROJECT_SOURCE_DIR}/platform/*.h")
# A header removed from the sources leaves the tree with it.
file(REMOVE_RECURSE "${MD5B64_INCLUDE_TREE}/coders" "${MD5B64_INCLUDE_TREE}/platform")
foreach(header IN LISTS MD5B64_PUBLIC_HEADERS)
  get_filename_component(dir "${MD5B64_INCLUDE_TREE}/${header}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  # A link, so that an edit to the header needs no new configure; a copy where the file
  # system has no links (it is refreshed at every configure).
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${header}" "${MD5B64_INCLUDE_TREE}/${header}"
    SYMBOLIC COPY_ON_ERROR)
endforeach()

# md5b64/Version.h from project(VERSION ...).
configure_file("${PROJECT_SOURCE_DIR}/cmake/Version.h.in"
  "${MD5B64_INCLUDE_TREE}/md5b64/Version.h" @ONLY)

# md5b64/Export.h: MD5B64_API marks what a shared library exports. Whether the library is
# shared is written into the header, so that a user needs no definition of their own.
if(BUILD_SHARED_LIBS)
  set(MD5B64_SHARED_LIBRARY 1)
else()
  set(MD5B64_SHARED_LIBRARY 0)
endif()
configure_file("${PROJECT_SOURCE_DIR}/cmake/Export.h.in"
  "${MD5B64_INCLUDE_TREE}/md5b64/Export.h" @ONLY)

foreach(target IN LISTS MD5B64_LIBRARY_TARGETS)
  target_include_directories(${target}
    PRIVATE "${PROJECT_SOURCE_DIR}"
    PUBLIC "$<BUILD_INTERFACE:${MD5B64_INCLUDE_TREE}>")
  set_target_properties(${target} PROPERTIES
    # Only what MD5B64_API marks leaves a shared library.
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    DEFINE_SYMBOL MD5B64_BUILDING_LIBRARY
    # libmd5b64_coders.so.1: the SONAME changes with the major version only.
    VERSION "${PROJECT_VERSION}"
    SOVERSION "${PROJECT_VERSION_MAJOR}")
endforeach()
