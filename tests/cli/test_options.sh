#!/bin/sh
# quorvane --help and --version answer with no display and no runtime folder at hand; an unknown
# option or an argument is an error with a one-line hint.
set -u
q=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=/nonexistent/run
fail() { echo "FAIL: $*"; exit 1; }
out=$("$q" --help) || fail "--help exits $?"
echo "$out" | grep -q "^Usage: .*quorvane \[options\]$" || fail "--help: $out"
echo "$out" | grep -q -- "--version" || fail "--help names no --version: $out"
"$q" --version >/dev/null || fail "--version exits $?"
[ "$("$q" --version)" = "$("$q" -v)" ] || fail "-v and --version differ"
"$q" --version | grep -qx "quorvane [0-9]*\.[0-9]*\.[0-9]*\.[0-9]*" || fail "--version: $("$q" --version)"
for bad in --bogus extra; do
    err=$("$q" "$bad" 2>&1 >/dev/null); status=$?
    [ "$status" = 2 ] || fail "$bad exits $status"
    [ "$(echo "$err" | tail -n 1)" = "Try 'quorvane --help' for more information." ] || fail "$bad: $err"
done
[ ! -e /nonexistent/run ] || fail "a runtime folder was made"
echo ok
