# SPDX-License-Identifier: MIT
# What `cmake --install` lays out under the prefix:
#   bin/md5b64                               the programs           (component program)
#   share/man/man1/md5b64.1[.gz]             their man pages        (component program)
#   lib/libmd5b64_coders.a                   the coding library     (component development)
#     or lib/libmd5b64_coders.so.1           shared (BUILD_SHARED_LIBS; component library)
#   lib/libmd5b64_platform.a                 the runtime layer under it (component development)
#   include/md5b64/{coders,platform}/*.h     its public headers     (component development)
#   include/md5b64/md5b64/{Version,Export}.h generated headers      (component development)
#   lib/cmake/md5b64/                        find_package(md5b64) -> md5b64::coders
#                                            (which links md5b64::platform)
#   lib/pkgconfig/md5b64.pc                  pkg-config --cflags --libs md5b64
# The headers keep the "coders/..." and "platform/..." paths they include each other by, so
# <prefix>/include/md5b64 is the one include directory a consumer needs. coders/internal/
# and platform/internal/ hold implementation details and front_end/ is the program's own code: neither is
# installed.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(MD5B64_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/md5b64")
set(MD5B64_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/md5b64")

if(MD5B64_PROGRAMS)
  install(TARGETS ${MD5B64_PROGRAMS}
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)
endif()

# Each program's man page is docs/<program>.1. They are kept compressed where gzip is at
# hand, as Debian and most Unix systems do; -n leaves the name and time out so that the file
# is the same on every build.
find_program(MD5B64_GZIP gzip)
foreach(program IN LISTS MD5B64_PROGRAMS)
  set(man_source "${PROJECT_SOURCE_DIR}/docs/${program}.1")
  if(MD5B64_GZIP)
    set(man_page "${PROJECT_BINARY_DIR}/${program}.1.gz")
    add_custom_command(OUTPUT "${man_page}"
      COMMAND "${MD5B64_GZIP}" -9 -n -c "${man_source}" > "${man_page}"
      DEPENDS "${man_source}"
      COMMENT "Compressing the man page ${program}(1)"
      VERBATIM)
    add_custom_target(${program}_man_page ALL DEPENDS "${man_page}")
  else()
    set(man_page "${man_source}")
  endif()
  install(FILES "${man_page}"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)
endforeach()

# The library is exported as md5b64::coders, the name it has inside this build too; the
# runtime layer comes with it as md5b64::platform.
set_target_properties(md5b64_coders PROPERTIES EXPORT_NAME coders)
set_target_properties(md5b64_platform PROPERTIES EXPORT_NAME platform)
install(TARGETS ${MD5B64_LIBRARY_TARGETS} EXPORT md5b64Targets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT library
    NAMELINK_COMPONENT development
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT library
  INCLUDES DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}")
install(FILES
  "${MD5B64_INCLUDE_TREE}/md5b64/Version.h"
  "${MD5B64_INCLUDE_TREE}/md5b64/Export.h"
  DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}/md5b64" COMPONENT development)

# The public headers are the ones the build's include tree holds (see Library.cmake).
foreach(header IN LISTS MD5B64_PUBLIC_HEADERS)
  get_filename_component(dir "${header}" DIRECTORY)
  install(FILES "${header}"
    DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}/${dir}" COMPONENT development)
endforeach()

install(EXPORT md5b64Targets
  NAMESPACE md5b64::
  DESTINATION "${MD5B64_INSTALL_CMAKEDIR}" COMPONENT development)
configure_package_config_file(cmake/md5b64Config.cmake.in
  "${PROJECT_BINARY_DIR}/md5b64Config.cmake"
  INSTALL_DESTINATION "${MD5B64_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/md5b64ConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/md5b64Config.cmake"
  "${PROJECT_BINARY_DIR}/md5b64ConfigVersion.cmake"
  DESTINATION "${MD5B64_INSTALL_CMAKEDIR}" COMPONENT development)

# The prefix is given relative to the .pc file itself, so that the file stays right when
# the tree is installed with --prefix or moved afterwards.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(MD5B64_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH MD5B64_PC_UP "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  string(REGEX REPLACE "/$" "" MD5B64_PC_UP "${MD5B64_PC_UP}")
  set(MD5B64_PC_PREFIX "\${pcfiledir}/${MD5B64_PC_UP}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(MD5B64_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(MD5B64_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(cmake/md5b64.pc.in "${PROJECT_BINARY_DIR}/md5b64.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/md5b64.pc"
  DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT development)
