#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's test command: build everything with warnings as errors and run every test.
set -euo pipefail
sh tools/setup-debian.sh libssl-dev
cmake --workflow --preset test
