#!/usr/bin/env bash
# Each edit box of ad9851-calc.exe has a name a screen reader reads: a
# visible static label right before it among the window's children, saying
# what the Qt window's boxes are called.  Run under Wine on its own Xvfb.
#   win32_names_test.sh WINE ad9851-calc.exe win32_control_names.exe
set -euo pipefail
wine=$1 exe=$2 names=$3
exec xvfb-run -a -s "-screen 0 1000x600x24" bash -euo pipefail -c '
wine=$1 exe=$2 names=$3
fail() { echo "FAIL: $*"; exit 1; }
"$wine" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
timeout 60 xdotool search --sync --onlyvisible --name "^Form1$" >/dev/null || fail "no window"
got=$("$wine" "$names" AD9851CalcForm1 </dev/null 2>/dev/null | tr -d "\r") || fail "no window for the helper"
echo "$got"
# 频率, 对应值 and 晶振频率, in the order of the window.
[ "$got" = "$(printf "频率\n对应值\n晶振频率")" ] || fail "the boxes are labelled: $got"
echo "ad9851-calc.exe names its boxes"
' _ "$wine" "$exe" "$names"
