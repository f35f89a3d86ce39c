# `cpack -G DEB` in a build directory makes a Debian package of the program and its man page
# (the install component "program"); the library and its headers are for `cmake --install`.

set(CPACK_PACKAGE_NAME md5b64)
set(CPACK_PACKAGE_VENDOR "md5b64")
set(CPACK_PACKAGE_CONTACT "md5b64 maintainers <md5b64@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print the Base64 form of the MD5 digest of a text")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY md5b64)
set(CPACK_STRIP_FILES ON)
# Only the program's component goes into the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};md5b64;program;/")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description; CPack puts the summary above it.
set(CPACK_PACKAGE_DESCRIPTION "md5b64 TEXT writes the 24-character Base64 form of the MD5 digest of \
the bytes of TEXT to standard output, with no line end: the value of an HTTP Content-MD5 \
header, or the MD5 that object stores report in Base64.")
# Library dependencies (libc6, libstdc++6, libgcc-s1) are read off the program by
# dpkg-shlibdeps, which comes with dpkg-dev.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
