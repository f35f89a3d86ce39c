#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The machine must not change a digest: the unit tests built for big-endian s390x and run
# under qemu-user, and the whole suite with plain char unsigned. The latter build also runs
# the program under valgrind memcheck (gcc's debug information, which valgrind reads).
set -euo pipefail
sh tools/setup-debian.sh g++-s390x-linux-gnu qemu-user googletest valgrind
rm -rf build/s390x build/unsigned-char
cmake --workflow --preset s390x
cmake --workflow --preset unsigned-char
