#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every libFuzzer target for a bounded time from its seed corpus (MD5B64_FUZZ_SECONDS each,
# 45 by default). A finding fails the stage; the input that caused it is kept under
# build/fuzz/fuzz-artifacts/<target>/ and printed here in hexadecimal.
set -euo pipefail
sh tools/setup-debian.sh clang libclang-rt-14-dev libssl-dev
rm -rf build/fuzz
cmake --preset fuzz -DMD5B64_FUZZ_SECONDS="${MD5B64_FUZZ_SECONDS:-45}"
cmake --build --preset fuzz
if ! ctest --preset fuzz; then
  for artifact in build/fuzz/fuzz-artifacts/*/*; do
    [ -f "$artifact" ] || continue
    echo "== $artifact"
    od -An -tx1 -v "$artifact" | head -n 40
  done
  exit 1
fi
