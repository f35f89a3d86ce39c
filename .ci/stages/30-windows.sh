#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows console build: cross-compiled with MinGW-w64, its tests run under wine.
set -euo pipefail
sh tools/setup-debian.sh g++-mingw-w64-x86-64 wine64
# Each test starts a wine process; they wait on wine more than on the CPU.
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
cmake --workflow --preset windows
