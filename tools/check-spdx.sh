#!/bin/sh
# SPDX-License-Identifier: MIT
# Lists every source, script and build file of the checkout that lacks the line
# "SPDX-License-Identifier: MIT" in its first five lines, and fails if there is one.
#
# Checked: C and C++ sources and headers, CMake files and templates (*.in), shell and Python
# scripts, .ci/run, .clang-format and the man pages (as a roff comment, after the
# preprocessor line). Not checked, since they cannot carry a comment or are not code: JSON
# (CMakePresets.json), Markdown, LICENSE, .gitignore, the fuzzers' seed corpora, the Debian
# changelog template and the Debian copyright file (itself the licence statement).
#   sh tools/check-spdx.sh        # from anywhere inside the checkout
set -eu
cd "$(git rev-parse --show-toplevel)"

missing=0
# Tracked files and new ones not yet added (but not ignored ones, such as build/).
git ls-files --cached --others --exclude-standard | sort -u | {
  while IFS= read -r file; do
    [ -f "$file" ] || continue # deleted but not yet staged
    case "$file" in
    fuzz/corpus/* | cmake/debian/changelog.in | cmake/debian/copyright) continue ;;
    *.cpp | *.cc | *.h | *.c | *.cmake | *.in | CMakeLists.txt | */CMakeLists.txt) ;;
    *.sh | *.py | .ci/run | .clang-format | */.clang-format | *.1) ;;
    *) continue ;;
    esac
    if ! head -n 5 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
      echo "$file"
      missing=$((missing + 1))
    fi
  done
  if [ "$missing" -ne 0 ]; then
    echo "check-spdx: $missing file(s) without 'SPDX-License-Identifier: MIT' near the top" >&2
    exit 1
  fi
  echo "check-spdx: every source, script and build file names its licence" >&2
}
