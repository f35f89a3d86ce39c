# SPDX-License-Identifier: MIT
# Creates the private wine prefix while building: a fresh prefix takes seconds to set up,
# which would otherwise fall into the first test's discovery or run.
if(CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR AND MD5B64_WINE_PREFIX
   AND NOT TARGET md5b64_wineprefix)
  set(_stamp "${CMAKE_BINARY_DIR}/wineprefix.stamp")
  add_custom_command(
    OUTPUT "${_stamp}"
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd.exe /c exit 0
    COMMAND ${CMAKE_COMMAND} -E touch "${_stamp}"
    COMMENT "Setting up the wine prefix ${MD5B64_WINE_PREFIX}"
    VERBATIM)
  add_custom_target(md5b64_wineprefix ALL DEPENDS "${_stamp}")
endif()
