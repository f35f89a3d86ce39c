#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The benchmarks build and run, briefly, so that they cannot rot. Nothing here judges speed:
# the numbers of a shared CI machine mean nothing.
set -euo pipefail
out=$(mktemp)
trap 'rm -f "$out"' EXIT
MD5B64_WHOLE_RUNS=10 bash bench/run.sh --benchmark_min_time=0.001 | tee "$out"
# Every row of ours is there, and the peers that the stage installed are beside them.
for row in "MD4 | OneText | 1 MiB=OpenSSL" "MD5 | OneText | 1 MiB=OpenSSL" \
  "MD5 | Texts64K | 64 MiB=OpenSSL" "MD5 | NewCoder | 3 B=OpenSSL" "Base64 | Encode | 16 B=OpenSSL" \
  "MD2 | OneText | 1 MiB=Crypto++" "MD2 | NewCoder | 3 B=Crypto++" \
  "Base64 | DecodeText | 1 MiB=OpenSSL" "Base64 | DecodeToStream | 16 B=OpenSSL" \
  "MD5 | OneCall | 16 B=OpenSSL" "MD5 | OneCall | 16 B=OpenSSL-MD5()" \
  "MD5 | Incremental | 1 MiB=OpenSSL" \
  "ContentMD5 | OneCall | 3 B=OpenSSL" "Base64Forms | EncodeInto | 16 B=OpenSSL" \
  "Base64Encode | Mime | 1 MiB=OpenSSL" "Base64Decode | ForgivingMime | 1 MiB=OpenSSL"; do
  peer=${row#*=}
  row=${row%=*}
  grep "^| $row | " "$out" | grep -qF " | $peer | " ||
    { echo "FAIL: no row '$row' beside its peer $peer" >&2; exit 1; }
done
grep -q '^| ratio | ' "$out" || { echo "FAIL: no whole-run comparison" >&2; exit 1; }
