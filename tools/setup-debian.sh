#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs what building and testing md5b64 needs beyond the compiler and CMake, on Debian.
# Does nothing when everything is already there.
set -eu

packages="g++ cmake ninja-build libgtest-dev $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "Missing:$missing" >&2
  echo "Installing them needs root: run this script as root, or install sudo, or ask" >&2
  echo "an administrator to run: apt-get install$missing" >&2
  exit 1
fi
echo "Installing:$missing" >&2
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >&2
