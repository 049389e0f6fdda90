#!/usr/bin/env bash
# ad9851-calc.exe answers --help and --version as on Linux, without a
# window, and refuses an argument it does not take with status 2.
#   win32_arguments_test.sh WINE ad9851-calc.exe VERSION
set -uo pipefail
wine=$1 exe=$2 version=$3
fail() { echo "FAIL: $*"; exit 1; }
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
run() { timeout 60 "$wine" "$exe" "$@" >"$dir/out" 2>"$dir/err" </dev/null; }

run --version || fail "--version gave status $?"
[ "$(cat "$dir/out")" = "ad9851-calc $version" ] || fail "--version printed \"$(cat "$dir/out")\""
run --help || fail "--help gave status $?"
head -n 1 "$dir/out" | grep -qx 'Usage: ad9851-calc \[--help\] \[--version\]' || fail "--help printed \"$(cat "$dir/out")\""
for arg in --bogus -x /csv; do
    run "$arg"
    status=$?
    [ "$status" = 2 ] || fail "$arg gave status $status"
    [ ! -s "$dir/out" ] || fail "$arg wrote \"$(cat "$dir/out")\""
    [ "$(wc -l <"$dir/err")" = 1 ] && grep -qF "ad9851-calc: " "$dir/err" && grep -qF "'$arg'" "$dir/err" ||
        fail "$arg said \"$(cat "$dir/err")\""
done
echo "ad9851-calc.exe answers its command line as on Linux"
