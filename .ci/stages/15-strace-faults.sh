#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The release program's output failures, injected from outside by strace: no hook in the
# program, a second way beside the faulty program of the tests. Every failed write or close
# of standard output must end in status 1 with the report of that error, never status 0.
set -euo pipefail
sh tools/setup-debian.sh strace
cmake --workflow --preset release
program=build/release/md5b64
expected=kAFQmDzST7DWlj99KOF/cg== # openssl md5 -binary | base64, of "abc"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME SYSCALL-SET INJECTION ERRNO-NUMBER: runs the program with standard output to a
# file and to a pipe under the injection and checks status and report. A number of "-"
# means that no report can get out, and only the status is checked.
check() {
  local name=$1 set=$2 inject=$3 number=$4 status report sink
  for sink in file pipe; do
    status=0
    if [ "$sink" = file ]; then
      strace -qq -o /dev/null -e trace="$set" -e inject="$inject" "$program" abc \
        >"$work/out" 2>"$work/err" || status=$?
    else
      { strace -qq -o /dev/null -e trace="$set" -e inject="$inject" "$program" abc \
        2>"$work/err" || echo $? >"$work/status"; } | cat >"$work/out"
      [ -f "$work/status" ] && status=$(cat "$work/status") && rm -f "$work/status"
    fi
    # The report goes to standard output when that still takes it (after the result, which
    # has no line end), else to standard error.
    report=$(cat "$work/out" "$work/err" | LC_ALL=C grep -ac \
      "Exception EInOutError in module md5b64 at [0-9A-F]\{8\}\.$" || true)
    if [ "$number" = - ]; then
      if [ "$status" -ne 1 ]; then
        echo "FAIL: $name ($sink): status $status" >&2
        failures=$((failures + 1))
      else
        echo "ok: $name ($sink): status 1"
      fi
    elif [ "$status" -ne 1 ] || [ "$report" -ne 1 ] ||
      ! LC_ALL=C grep -aq "^I/O error $number\.$(printf '\r')\$" "$work/out" "$work/err"; then
      echo "FAIL: $name ($sink): status $status, output and error:" >&2
      od -c "$work/out" | head -n 8 >&2
      od -c "$work/err" | head -n 8 >&2
      failures=$((failures + 1))
    else
      echo "ok: $name ($sink): status 1, I/O error $number reported"
    fi
  done
}

# The result goes out in one write, the report in another: failing the first alone lets the
# report through; failing all of them still must give status 1.
check "first write EIO" write write:error=EIO:when=1 5
check "first write ENOSPC" write write:error=ENOSPC:when=1 28
check "every write EIO" write write:error=EIO -

# The close of descriptor 1: its place among the program's close calls, counted in a
# traced run, is where the failure is injected.
strace -qq -o "$work/closes" -e trace=close "$program" abc >/dev/null
nth=$(grep -n '^close(1)' "$work/closes" | head -n 1 | cut -d: -f1 || true)
[ -n "$nth" ] || { echo "FAIL: the program never closes descriptor 1" >&2; exit 1; }
check "close of standard output EIO" close "close:error=EIO:when=$nth" 5

# With nothing injected the same runs succeed, so the checks above fail for the fault alone.
[ "$(strace -qq -o /dev/null -e trace=write,close "$program" abc)" = "$expected" ] ||
  { echo "FAIL: the program under strace without a fault" >&2; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] || { echo "$failures strace fault checks failed" >&2; exit 1; }
echo "strace fault checks: all passed"
