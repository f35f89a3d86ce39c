#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a packager and a user taking the library get: both Debian packages lintian-clean and
# byte-identical from two builds of the same sources, the -dev package usable through
# find_package, the library taken by a host through FetchContent and add_subdirectory
# (without GoogleTest, leaving the host's install and CPack alone), the shared build with
# every test, and the licence line in every source, script and build file.
set -euo pipefail
sh tools/setup-debian.sh lintian dpkg-dev file git binutils python3 openssl pkgconf

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Every time inside the packages is the last commit's.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^  VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project(VERSION ...) in CMakeLists.txt"
abc_md5=$(printf abc | openssl md5 -binary | base64 -w0)

echo "## two builds of the packages, in different directories"
cmake --workflow --preset package
# The second build is of a copy of the same files elsewhere, so that no path of the first
# can hide in the packages.
mkdir "$work/again"
git ls-files --cached --others --exclude-standard -z |
  tar --null -T - -cf - | tar -xf - -C "$work/again"
(cd "$work/again" && cmake --workflow --preset package >"$work/again.log" 2>&1) ||
  { tail -n 30 "$work/again.log"; fail "the second package build failed"; }
debs=$(cd build/package/packages && ls ./*.deb | sed 's|^\./||')
[ "$(echo "$debs" | wc -l)" -eq 2 ] || fail "expected two packages, found: $debs"
for deb in $debs; do
  cmp "build/package/packages/$deb" "$work/again/build/package/packages/$deb" || {
    diff <(dpkg-deb -c "build/package/packages/$deb") \
      <(dpkg-deb -c "$work/again/build/package/packages/$deb") || true
    fail "$deb differs between two builds of the same sources"
  }
done
echo "identical: $debs"

program_deb="build/package/packages/md5b64_${version}-1_amd64.deb"
dev_deb="build/package/packages/md5b64-dev_${version}-1_amd64.deb"
[ -f "$program_deb" ] && [ -f "$dev_deb" ] || fail "packages named otherwise: $debs"

echo "## inside the packages: owners, modes and times"
for deb in "$program_deb" "$dev_deb"; do
  mkdir -p "$work/parts"
  (cd "$work/parts" && ar x "$OLDPWD/$deb")
  python3 - "$work/parts" "$SOURCE_DATE_EPOCH" "$deb" <<'PY'
import glob, sys, tarfile
parts, epoch, deb = sys.argv[1], int(sys.argv[2]), sys.argv[3]
bad = []
for name in sorted(glob.glob(parts + "/control.tar*") + glob.glob(parts + "/data.tar*")):
    with tarfile.open(name) as tar:
        for m in tar.getmembers():
            where = f"{name.rsplit('/', 1)[1]}:{m.name}"
            if m.mtime != epoch:
                bad.append(f"{where} time {m.mtime}, not {epoch}")
            if (m.uid, m.gid, m.uname, m.gname) != (0, 0, "root", "root"):
                bad.append(f"{where} owned by {m.uname}:{m.gname} ({m.uid}:{m.gid})")
            mode = m.mode & 0o7777
            executable = m.isdir() or "/bin/" in m.name or m.name.endswith(("postinst", "prerm"))
            if not m.issym() and mode != (0o755 if executable else 0o644):
                bad.append(f"{where} mode {mode:o}")
if bad:
    print("\n".join(bad))
    sys.exit(f"FAIL: {deb}: {len(bad)} entries with a wrong time, owner or mode")
PY
  rm -rf "$work/parts"
done
echo "root:root, 0644/0755, every time $SOURCE_DATE_EPOCH"

echo "## what each package holds"
programs="md5b64"
# The second program, once the tree has it.
[ -f docs/md5b64sum.1 ] && programs="$programs md5b64sum"
program_files=$(dpkg-deb -c "$program_deb" | awk '{print $6}')
dev_files=$(dpkg-deb -c "$dev_deb" | awk '{print $6}')
for p in $programs; do
  for f in "./usr/bin/$p" "./usr/share/man/man1/$p.1.gz"; do
    grep -qx "$f" <<<"$program_files" || fail "md5b64 package lacks $f"
  done
done
for pkg in md5b64 md5b64-dev; do
  files=$program_files
  [ "$pkg" = md5b64-dev ] && files=$dev_files
  for f in copyright changelog.Debian.gz; do
    grep -qx "./usr/share/doc/$pkg/$f" <<<"$files" || fail "$pkg lacks usr/share/doc/$pkg/$f"
  done
done
libdir=./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for f in "$libdir/libmd5b64_coders.a" ./usr/include/md5b64/coders/IdCoderMIME.h \
  ./usr/include/md5b64/md5b64/Version.h ./usr/include/md5b64/md5b64/Export.h \
  "$libdir/cmake/md5b64/md5b64Config.cmake" "$libdir/pkgconfig/md5b64.pc"; do
  grep -qx "$f" <<<"$dev_files" || fail "md5b64-dev lacks $f"
done
if grep -E '/bin/|/man/' <<<"$dev_files"; then fail "md5b64-dev holds programs"; fi
if grep -E '\.a$|/include/|/cmake/|pkgconfig' <<<"$program_files"; then
  fail "md5b64 holds library files"
fi
dpkg-deb -I "$program_deb"
dpkg-deb -I "$dev_deb"

echo "## lintian"
# Errors and warnings fail; the one override (the static programs) carries its reason.
lintian --fail-on error,warning "$program_deb" "$dev_deb"
echo "lintian: clean"

echo "## the -dev package through find_package and pkg-config"
dpkg-deb -x "$dev_deb" "$work/root"
cmake -S examples -B "$work/example" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$work/root/usr" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Wpedantic -Werror"
cmake --build "$work/example"
[ "$("$work/example/md5b64_example" abc | tail -n 1)" = "$abc_md5" ] || fail "example from -dev"
pc_version=$(PKG_CONFIG_PATH="$work/root/$libdir/pkgconfig" pkg-config --modversion md5b64)
header_version=$(printf '#include "md5b64/Version.h"\nMD5B64_VERSION_STRING\n' |
  g++ -E -P -I"$work/root/usr/include/md5b64" -x c++ - | tail -n 1)
[ "$pc_version" = "$version" ] && [ "$header_version" = "\"$version\"" ] ||
  fail "versions: project $version, pkg-config $pc_version, Version.h $header_version"
echo "find_package: ok; version $version in CMake, pkg-config and md5b64/Version.h"

echo "## a host project takes the library as a subproject"
# Nothing of GoogleTest or Google Benchmark may be asked for, and nothing of md5b64 installed.
host_check() {
  local how=$1 dir="$work/host-$1"
  shift
  cmake -S tests/consumer -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DHOST_TAKES_MD5B64="$how" "$@" --no-warn-unused-cli \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  cmake --build "$dir"
  local out expected
  out=$("$dir/host" abc)
  expected="$version
$abc_md5"
  [ "$out" = "$expected" ] || fail "$how host printed '$out', expected '$expected'"
  cmake --install "$dir" --prefix "$dir/prefix"
  local installed
  installed=$(cd "$dir/prefix" && find . -type f | sort)
  [ "$installed" = "./bin/host" ] || fail "$how host's install holds: $installed"
  grep -q 'set(CPACK_PACKAGE_NAME "md5b64_host")' "$dir/CPackConfig.cmake" ||
    fail "$how: the host's CPack configuration was replaced"
  if grep -q 'CPACK_COMPONENTS_ALL\|md5b64-dev' "$dir/CPackConfig.cmake"; then
    fail "$how: md5b64's packaging reached the host's CPack configuration"
  fi
  # The host's build made the library and nothing else of md5b64's.
  local made
  made=$(find "$dir" -type f \( -name md5b64 -o -name 'md5b64_*tests' -o -name md5b64_bench \
    -o -name md5b64sum -o -name 'md5b64*.1.gz' \) -print)
  [ -z "$made" ] || fail "$how: the host's build made md5b64's $made"
  echo "$how: ok (host prints the digest, installs only itself, keeps its CPack)"
}
# FetchContent clones the checkout's last commit.
host_check FetchContent -DMD5B64_GIT="file://$PWD" -DMD5B64_GIT_TAG="$(git rev-parse HEAD)"
host_check add_subdirectory -DMD5B64_SOURCE="$PWD"

echo "## the shared library, and every test against it"
cmake --workflow --preset shared
lib=$(ls build/shared/libmd5b64_coders.so.*.*.*)
soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libmd5b64_coders.so.${version%%.*}" ] || fail "SONAME '$soname'"
symbols=$(nm -DC --defined-only "$lib")
grep -q 'md5b64::TIdCoderMD5::' <<<"$symbols" || fail "$soname exports no TIdCoderMD5"
# An internal function without the export mark stays inside the library (where the library
# has it: the Base64 vector kernel is built on x86 only).
if grep 'EncodeGroupsAvx2' <<<"$symbols"; then fail "$soname exports internal functions"; fi
echo "shared: $soname, $(wc -l <<<"$symbols") exported symbols, tests passed"

echo "## licence lines"
sh tools/check-spdx.sh
