# What `cmake --install` lays out under the prefix:
#   bin/md5b64                               the program            (component program)
#   share/man/man1/md5b64.1[.gz]             its man page           (component program)
#   lib/libmd5b64_coders.a                   the coding library     (component development)
#   lib/libmd5b64_platform.a                 the runtime layer under it (component development)
#   include/md5b64/{coders,platform}/*.h     its public headers     (component development)
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

install(TARGETS md5b64
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)

# Man pages are kept compressed where gzip is at hand, as Debian and most Unix systems do;
# -n leaves the name and time out so that the file is the same on every build.
set(MD5B64_MAN_SOURCE "${PROJECT_SOURCE_DIR}/docs/md5b64.1")
find_program(MD5B64_GZIP gzip)
if(MD5B64_GZIP)
  set(MD5B64_MAN_PAGE "${PROJECT_BINARY_DIR}/md5b64.1.gz")
  add_custom_command(OUTPUT "${MD5B64_MAN_PAGE}"
    COMMAND "${MD5B64_GZIP}" -9 -n -c "${MD5B64_MAN_SOURCE}" > "${MD5B64_MAN_PAGE}"
    DEPENDS "${MD5B64_MAN_SOURCE}"
    COMMENT "Compressing the man page md5b64(1)"
    VERBATIM)
  add_custom_target(md5b64_man_page ALL DEPENDS "${MD5B64_MAN_PAGE}")
else()
  set(MD5B64_MAN_PAGE "${MD5B64_MAN_SOURCE}")
endif()
install(FILES "${MD5B64_MAN_PAGE}"
  DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)

# The library is exported as md5b64::coders, the name it has inside this build too; the
# runtime layer comes with it as md5b64::platform.
set_target_properties(md5b64_coders PROPERTIES EXPORT_NAME coders)
set_target_properties(md5b64_platform PROPERTIES EXPORT_NAME platform)
install(TARGETS md5b64_coders md5b64_platform EXPORT md5b64Targets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
  INCLUDES DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}")

install(DIRECTORY coders/
  DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}/coders" COMPONENT development
  FILES_MATCHING PATTERN "*.h"
  PATTERN internal EXCLUDE)
# The runtime layer the coders stand on, without its per-OS seam (platform/internal/).
install(DIRECTORY platform/
  DESTINATION "${MD5B64_INSTALL_INCLUDEDIR}/platform" COMPONENT development
  FILES_MATCHING PATTERN "*.h"
  PATTERN internal EXCLUDE
  PATTERN posix EXCLUDE
  PATTERN windows EXCLUDE)

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
