#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# the program tests included: any finding ends its test with a failure.
set -euo pipefail
sh tools/setup-debian.sh clang libclang-rt-14-dev
rm -rf build/sanitize
cmake --workflow --preset sanitize
