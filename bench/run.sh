#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks (preset "bench"), runs ours and the peers in one run, prints one table
# with the ratios, then the whole-run comparison of the release program with a static C
# program that writes 24 bytes. Arguments go to the benchmark, for example
# --benchmark_min_time=0.01 for a quick look; MD5B64_WHOLE_RUNS sets the number of whole runs.
set -euo pipefail
cd "$(dirname "$0")/.."

# The peers are optional for the build, but a comparison without them says little.
sh tools/setup-debian.sh libbenchmark-dev libssl-dev libcrypto++-dev pkgconf python3
cmake --workflow --preset bench

results=build/bench/bench-results.json
echo "## machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "## commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
build/bench/bench/md5b64_bench --benchmark_out="$results" --benchmark_out_format=json "$@" >&2
echo
python3 bench/compare.py "$results"
echo
build/bench/bench/md5b64_whole_run "${MD5B64_WHOLE_RUNS:-500}" abc build/bench/md5b64 \
  build/bench/bench/md5b64_floor
