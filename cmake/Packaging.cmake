# SPDX-License-Identifier: MIT
# `cpack -G DEB` in a build directory (or `cmake --workflow --preset package`) makes two
# Debian packages from the install components:
#   md5b64      the programs and their man pages             (component program)
#   md5b64-dev  the static library, headers, CMake package and pkg-config file
#                                                            (component development)
# Each carries usr/share/doc/<package>/copyright (machine-readable, MIT) and
# changelog.Debian.gz. The same commit gives byte-identical packages: every time in them is
# SOURCE_DATE_EPOCH, the time of the last commit unless the environment sets it.

# The Maintainer field of both packages. The project has no mailing list: this address takes
# no mail, and a packager sets their own here or with -DMD5B64_PACKAGE_MAINTAINER=...
set(MD5B64_PACKAGE_MAINTAINER "The md5b64 authors <md5b64@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian packages")
# The Debian revision: the packages are built from the project's own tree, so each upstream
# version starts at 1.
set(MD5B64_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the packages")

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(MD5B64_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
      OUTPUT_VARIABLE MD5B64_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE git_result
      ERROR_QUIET)
    if(NOT git_result EQUAL 0)
      set(MD5B64_SOURCE_DATE_EPOCH "")
    endif()
  endif()
endif()
if(NOT MD5B64_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(WARNING "No git history and no SOURCE_DATE_EPOCH: the packages carry build times")
  string(TIMESTAMP MD5B64_SOURCE_DATE_EPOCH "%s" UTC)
endif()

# The Debian changelog: one entry for this version, dated by the commit.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} "${MD5B64_SOURCE_DATE_EPOCH}")
string(TIMESTAMP MD5B64_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
set(MD5B64_DEBIAN_VERSION "${PROJECT_VERSION}-${MD5B64_PACKAGE_RELEASE}")
set(debian_dir "${PROJECT_BINARY_DIR}/debian")
configure_file("${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in" "${debian_dir}/changelog" @ONLY)
find_program(MD5B64_GZIP gzip REQUIRED)
# -n: no name and time inside the file.
execute_process(COMMAND "${MD5B64_GZIP}" -9 -n -c "${debian_dir}/changelog"
  OUTPUT_FILE "${debian_dir}/changelog.Debian.gz"
  COMMAND_ERROR_IS_FATAL ANY)

# lintian's overrides, each with its reason. CPack installs under /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A first upload to Debian closes the bug that asked for the package: these packages are
# built from the project's own tree and close none.
set(MD5B64_LINTIAN_REASON_initial-upload-closes-no-bugs
  "# Built from the project's own tree, not uploaded to Debian: no bug to close.")
set(MD5B64_LINTIAN_REASON_statically-linked-binary "\
# A run is mostly start-up, and a static program starts about as fast as a static C
# program: loading libstdc++ alone costs as much as the rest of the run
# (docs/PERFORMANCE.md in the sources).")
set(overrides_md5b64 initial-upload-closes-no-bugs)
set(overrides_md5b64-dev initial-upload-closes-no-bugs)
foreach(program IN LISTS MD5B64_PROGRAMS)
  get_target_property(options ${program} LINK_OPTIONS)
  if(options MATCHES "-static")
    list(APPEND overrides_md5b64
      "statically-linked-binary [usr/${CMAKE_INSTALL_BINDIR}/${program}]")
  endif()
endforeach()

# The Debian files go into the packages only: a plain `cmake --install` leaves them out.
foreach(entry program:md5b64 development:md5b64-dev)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 component)
  list(GET entry 1 package)
  install(FILES "${PROJECT_SOURCE_DIR}/cmake/debian/copyright" "${debian_dir}/changelog.Debian.gz"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${package}"
    COMPONENT ${component} EXCLUDE_FROM_ALL)
  set(text "")
  set(reasons_given "")
  foreach(override IN LISTS overrides_${package})
    string(REGEX REPLACE " .*" "" tag "${override}")
    if(NOT tag IN_LIST reasons_given)
      string(APPEND text "${MD5B64_LINTIAN_REASON_${tag}}\n")
      list(APPEND reasons_given ${tag})
    endif()
    string(APPEND text "${package}: ${override}\n")
  endforeach()
  file(WRITE "${debian_dir}/${package}.lintian-overrides" "${text}")
  install(FILES "${debian_dir}/${package}.lintian-overrides"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME ${package}
    COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_PACKAGE_NAME md5b64)
set(CPACK_PACKAGE_VENDOR "The md5b64 authors")
set(CPACK_PACKAGE_CONTACT "${MD5B64_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY md5b64)
set(CPACK_PACKAGE_LICENSE "${MD5B64_LICENSE}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${MD5B64_PACKAGE_RELEASE}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME md5b64)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME md5b64-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# Library dependencies of the programs (none when they are static) are read off them by
# dpkg-shlibdeps, which comes with dpkg-dev.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)

# Each description is its synopsis line, then the extended text in lines of at most 80
# characters; CPack indents them and marks empty lines. CPack puts the project's summary
# above a component's description unless the summary is its own default, which therefore
# stands here: each package has a synopsis of its own.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "print the Base64 form of the MD5 digest of a text
md5b64 TEXT writes the 24-character Base64 form of the MD5 digest of the bytes
of TEXT to standard output, with no line end: the value of an HTTP Content-MD5
header, or the MD5 that object stores report in Base64.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "MD2, MD4, MD5 and Base64 coders for C++20 (development files)
The static C++20 library behind md5b64: MD2, MD4 and MD5 digests, Base64
encoding and decoding, and coders created by name, on nothing but the C++
standard library. This package holds the library, its headers, the CMake
package (find_package(md5b64) gives md5b64::coders) and a pkg-config file.")

# cpack reads this file at packaging time: the archive writer takes every time from
# SOURCE_DATE_EPOCH.
set(CPACK_PROJECT_CONFIG_FILE "${debian_dir}/CPackProjectConfig.cmake")
file(WRITE "${CPACK_PROJECT_CONFIG_FILE}"
  "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n"
  "  set(ENV{SOURCE_DATE_EPOCH} \"${MD5B64_SOURCE_DATE_EPOCH}\")\n"
  "endif()\n")

include(CPack)
