#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# md5b64sum beside md5sum and `openssl dgst -md5 -binary | base64` on one 1 GiB file in the
# page cache, in one hyperfine run. Builds the release program first. MD5B64_SUM_MIB sets
# the file's size in MiB (1024 by default), MD5B64_SUM_RUNS the runs of each command.
set -euo pipefail
cd "$(dirname "$0")/.."

sh tools/setup-debian.sh hyperfine openssl coreutils
cmake --workflow --preset release >&2

mib=${MD5B64_SUM_MIB:-1024}
file=$(mktemp /tmp/md5b64sum-bench-XXXXXX)
trap 'rm -f "$file"' EXIT
# Random bytes, so that nothing can take a short cut on a pattern; read once so that every
# command finds the file in the page cache.
head -c "$((mib * 1024 * 1024))" /dev/urandom > "$file"
cat "$file" > /dev/null

# The three must agree before their speed means anything.
ours=$(build/release/md5b64sum "$file" | cut -d' ' -f1)
peer=$(openssl dgst -md5 -binary "$file" | base64)
hex=$(md5sum "$file" | cut -d' ' -f1)
[ "$ours" = "$peer" ] || { echo "md5b64sum and openssl disagree: $ours $peer" >&2; exit 1; }
[ "$(build/release/md5b64sum --hex "$file" | cut -d' ' -f1)" = "$hex" ] ||
  { echo "md5b64sum --hex and md5sum disagree" >&2; exit 1; }

echo "## machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "## commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown), file: $mib MiB"
hyperfine --warmup 1 --runs "${MD5B64_SUM_RUNS:-5}" --style basic \
  -n md5b64sum "build/release/md5b64sum '$file'" \
  -n md5sum "md5sum '$file'" \
  -n 'openssl | base64' "openssl dgst -md5 -binary '$file' | base64"
