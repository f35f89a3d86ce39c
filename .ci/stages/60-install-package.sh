#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installed forms of md5b64: `cmake --install` into a fresh prefix, the example project
# and a pkg-config build against it, the man page, and the Debian package installed with
# dpkg, run once and removed again.
set -euo pipefail
sh tools/setup-debian.sh man-db groff-base pkgconf dpkg-dev openssl file

work=$(mktemp -d)
installed_here=no
cleanup() {
  if [ "$installed_here" = yes ]; then dpkg -r md5b64 >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Release build of the program and the library, then the .deb (build/package/packages/).
cmake --workflow --preset package

prefix="$work/prefix"
cmake --install build/package --prefix "$prefix"

echo "## installed headers: every public header, the generated ones, nothing internal"
(cd coders && ls ./*.h) | sed 's|^\./|coders/|' >"$work/expected"
(cd platform && ls ./*.h) | sed 's|^\./|platform/|' >>"$work/expected"
# and the two that the build generates
printf 'md5b64/%s\n' Export.h Version.h >>"$work/expected"
(cd "$prefix/include/md5b64" && find . -type f | sed 's|^\./||') | sort >"$work/got"
sort -o "$work/expected" "$work/expected"
diff -u "$work/expected" "$work/got" || fail "installed headers differ from coders/*.h and platform/*.h"
if grep -rn 'internal/' "$prefix/include/md5b64"; then
  fail "an installed header includes an internal one"
fi
# Each header compiles on its own with nothing but the installed include directory.
while read -r h; do
  printf '#include "%s"\n' "$h" >"$work/one.cpp"
  g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$prefix/include/md5b64" \
    "$work/one.cpp" || fail "$h does not compile on its own from the install"
done <"$work/got"
echo "$(wc -l <"$work/got") headers, each self-contained"

example_check() {
  local exe=$1 text=$2 out expected
  out=$("$exe" "$text")
  expected="$(printf %s "$text" | base64 -w0)
$(printf %s "$text" | openssl md5 -binary | base64 -w0)"
  [ "$out" = "$expected" ] || fail "$exe '$text': got '$out', expected '$expected'"
}

echo "## examples/ through find_package(md5b64)"
cmake -S examples -B "$work/example" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Wpedantic -Werror"
cmake --build "$work/example"
for text in abc "hello world" "$(printf 'caf\303\251')"; do
  example_check "$work/example/md5b64_example" "$text"
done
[ "$("$work/example/md5b64_example" abc | tail -n 1)" = "kAFQmDzST7DWlj99KOF/cg==" ] ||
  fail "example: wrong digest of abc"
echo "example: ok"

echo "## examples/ through pkg-config"
# lib/ or, for a /usr build on Debian, lib/<multiarch triplet>/.
pc_dir=$(dirname "$(find "$prefix" -name md5b64.pc)")
pc_flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs md5b64)
echo "pkg-config --cflags --libs md5b64: $pc_flags"
# shellcheck disable=SC2086
g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror examples/md5b64_example.cpp $pc_flags \
  -o "$work/example-pc"
example_check "$work/example-pc" abc
echo "pkg-config build: ok"

echo "## the installed program"
[ "$("$prefix/bin/md5b64" abc)" = "kAFQmDzST7DWlj99KOF/cg==" ] || fail "installed md5b64 abc"

echo "## man page"
# A fixed locale that every Debian has, so that only the page itself can cause a warning.
export LC_ALL=C.UTF-8 MANWIDTH=80
man_warnings() {
  man --warnings -l "$1" 2>&1 >/dev/null
}
for page in docs/md5b64.1 "$prefix/share/man/man1/md5b64.1.gz"; do
  warnings=$(man_warnings "$page")
  [ -z "$warnings" ] || fail "man -l $page warns: $warnings"
  rendered=$(man -l "$page")
  grep -q 'kAFQmDzST7DWlj99KOF/cg==' <<<"$rendered" || fail "man -l $page renders no example"
done
echo "man -l: no warnings"

echo "## Debian package"
deb=build/package/packages/md5b64_1.0.0-1_amd64.deb
[ -f "$deb" ] || deb=$(ls build/package/packages/md5b64_*.deb)
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"
if dpkg-deb -c "$deb" | grep -E 'include/|\.a$|cmake/|pkgconfig'; then
  fail "the program's package holds library files"
fi
if ! dpkg-query -W -f='${Status}' md5b64 2>/dev/null | grep -q "install ok installed"; then
  installed_here=yes
fi
dpkg -i "$deb"
out=$(/usr/bin/md5b64 abc)
[ "$out" = "kAFQmDzST7DWlj99KOF/cg==" ] || fail "/usr/bin/md5b64 abc printed '$out'"
[ "$(/usr/bin/md5b64 abc | wc -c)" -eq 24 ] || fail "/usr/bin/md5b64 abc is not 24 bytes"
echo "/usr/bin/md5b64 abc: $out"
[ "$(man -w md5b64)" = /usr/share/man/man1/md5b64.1.gz ] || fail "man -w md5b64: $(man -w md5b64)"
warnings=$(man --warnings md5b64 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man md5b64 warns: $warnings"
if [ "$installed_here" = yes ]; then
  dpkg -r md5b64
  installed_here=no
  [ ! -e /usr/bin/md5b64 ] || fail "dpkg -r left /usr/bin/md5b64"
fi
echo "Debian package: installed, ran and removed"
