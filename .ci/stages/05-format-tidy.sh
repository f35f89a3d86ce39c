#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Hygiene: every C++ file in the tree as clang-format writes it, and no clang-tidy finding
# (the checks in .clang-tidy) in any file the test preset compiles.
set -euo pipefail
sh tools/setup-debian.sh clang-format-14 clang-tidy-14

echo "## clang-format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
echo "$(git ls-files '*.cpp' '*.h' | wc -l) files formatted"

echo "## clang-tidy"
# Only the compile commands are needed: a configure of the test preset, nothing built.
rm -rf build/tidy
cmake --preset test -B build/tidy -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
run-clang-tidy-14 -p build/tidy -j "$(nproc)" -quiet -clang-tidy-binary clang-tidy-14 \
  "$PWD/(coders|platform|front_end|tests|bench|fuzz|examples)/"
echo "clang-tidy: no findings"
