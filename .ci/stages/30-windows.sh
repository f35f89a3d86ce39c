#!/usr/bin/env bash
# The Windows console build: cross-compiled with MinGW-w64, its tests run under wine.
set -euo pipefail
sh tools/setup-debian.sh g++-mingw-w64-x86-64 wine64
cmake --workflow --preset windows
