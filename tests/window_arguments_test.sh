#!/usr/bin/env bash
# ad9851-calc refuses an argument it does not take, on one line with status
# 2, before any window opens; Qt's own options still pass.
#   window_arguments_test.sh ad9851-calc
set -uo pipefail
calc=$1
fail() { echo "FAIL: $*"; exit 1; }
runtime=$(mktemp -d) && trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime
check() { # expected-message args...
    local want=$1
    shift
    local out err status
    out=$(timeout 20 "$calc" "$@" 2>"$runtime/err")
    status=$?
    err=$(cat "$runtime/err")
    [ "$status" = 2 ] || fail "$* gave status $status"
    [ -z "$out" ] || fail "$* wrote \"$out\""
    [ "$err" = "$want" ] || fail "$* said \"$err\""
}
check "ad9851-calc: unknown option '--bogus' (see ad9851-calc --help)" --bogus
check "ad9851-calc: unknown option '-x' (see ad9851-calc --help)" -x
check "ad9851-calc: unknown option '--bogus' (see ad9851-calc --help)" -platform offscreen --bogus
check "ad9851-calc: unexpected argument '10' (see ad9851-calc --help)" 10
echo "ad9851-calc refuses unknown arguments"
