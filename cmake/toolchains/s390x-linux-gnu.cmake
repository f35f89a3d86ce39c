# SPDX-License-Identifier: MIT
# Cross build for 64-bit s390x, a big-endian machine, with Debian's cross compiler; the
# results run on the build host under qemu's user-mode emulation.
#   apt-get install -y g++-s390x-linux-gnu qemu-user
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)

# Libraries and headers of the target only; programs (qemu, gzip) from the host. The
# host's GoogleTest package is of no use here, so the tests build GoogleTest from source.
set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# There is no binfmt registration to rely on: CTest runs every test binary through qemu,
# with -L pointing it at the target's loader and libraries. A -D on the command line wins.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "qemu-s390x;-L;/usr/s390x-linux-gnu"
    CACHE STRING "Runs s390x programs on the build host")
endif()
