#!/usr/bin/env bash
# ad9851-word.exe writes to a console as UTF-16 text, so Chinese shows as
# Chinese whatever the console's code page (437 under Wine here), and to a
# pipe as UTF-8 bytes.  To Wine, a pseudo terminal is a console.
#   win32_console_test.sh WINE ad9851-word.exe
set -euo pipefail
wine=$1 exe=$2
fail() { echo "FAIL: $*"; exit 1; }
line='{0x1A,0x76,0x05,0x00},//10兆KHz'
shown=$(LANG=C.UTF-8 script -qec "$(printf '%q ' "$wine" "$exe" -- 10兆)" /dev/null </dev/null | tr -d '\r')
grep -qF "$line" <<<"$shown" || fail "the console showed: $shown"
piped=$("$wine" "$exe" -- 10兆 </dev/null)
[ "$piped" = "$line" ] || fail "the pipe got: $piped"
echo "ad9851-word.exe shows 兆 in a console and in a pipe"
