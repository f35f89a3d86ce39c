# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain; the results run under wine.
#   apt-get install -y g++-mingw-w64-x86-64 wine64
# The -posix compilers: the default -win32 thread model has no std::mutex, which GoogleTest
# needs. GoogleTest's own project also wants a C compiler.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MD5B64_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MD5B64_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MD5B64_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MD5B64_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MD5B64_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static executables: the .exe needs no libstdc++/libgcc/winpthread DLL beside it. (A missing
# DLL makes wine end with status 53 and, with its debug output off, say nothing.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows programs built here run under wine through cmake/wine-run.sh, with a private wine
# prefix inside the build tree (never $HOME/.wine).
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(MD5B64_WINE NAMES wine wine-stable wine64 PATHS /usr/lib/wine
               NO_CMAKE_FIND_ROOT_PATH)
  find_program(MD5B64_WINESERVER NAMES wineserver wineserver-stable wineserver64
               PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
  if(MD5B64_WINE AND MD5B64_WINESERVER)
    set(MD5B64_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    get_filename_component(_md5b64_cmake_dir "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_COMMAND};-E;env"
        "WINEPREFIX=${MD5B64_WINE_PREFIX}"
        "WINEDEBUG=-all"
        # wine takes the ANSI code page from the locale: C gives 1252, where every byte
        # 0x80-0xFF survives the command line's trip through UTF-16 unchanged.
        "LC_ALL=C"
        "WINE_CMD=${MD5B64_WINE}"
        "WINESERVER_CMD=${MD5B64_WINESERVER}"
        "/bin/sh;${_md5b64_cmake_dir}/wine-run.sh")
  endif()
endif()
