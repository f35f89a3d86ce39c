#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The concurrency tests built with ThreadSanitizer (clang): the new codings on several
# threads at once. Any report of a data race ends the test with a failure.
set -euo pipefail
sh tools/setup-debian.sh clang libclang-rt-14-dev libssl-dev
rm -rf build/tsan
cmake --workflow --preset tsan
