#!/usr/bin/env bash
# 1,000 输入有误 messages of ad9851-calc.exe, each shown and closed, leave
# its process with no more windows and its resident memory within 1 MB of
# what it was after the first 100: Wine's own heap grows in steps of up to
# half a megabyte now and then, and a message leaking its icon and label
# (some 2 kB each) would add 2 MB.  (The Qt window's test shows 2,000.)  Run under Wine on its own Xvfb, the
# window and the helper that drives it in one Wine desktop: without a
# window manager, Wine waits 2 s for each closed message's X window.
#   win32_error_messages_test.sh WINE ad9851-calc.exe win32_error_messages.exe
set -euo pipefail
wine=$1 exe=$2 helper=$3
exec xvfb-run -a -s "-screen 0 1000x600x24" bash -euo pipefail -c '
wine=$1 exe=$2 helper=$3
fail() { echo "FAIL: $*"; exit 1; }
desktop=/desktop=ad9851-messages,1000x600
"$wine" explorer "$desktop" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
timeout 60 xdotool search --sync --onlyvisible --name "Wine desktop" >/dev/null || fail "no Wine desktop"
# The helper waits for the window, and closes it when done.
out=$("$wine" explorer "$desktop" "$helper" AD9851CalcForm1 100 1000 </dev/null 2>/dev/null | tr -d "\r")
echo "$out"
[ "$(wc -l <<<"$out")" -eq 2 ] || fail "the messages could not be shown and closed"
read -r before windows_before <<<"$(sed -n 1p <<<"$out")"
read -r after windows_after <<<"$(sed -n 2p <<<"$out")"
[ "$before" -gt 0 ] || fail "no memory figure"
[ "$windows_after" -eq "$windows_before" ] || fail "$((windows_after - windows_before)) windows more"
[ $((after - before)) -lt 1024 ] || fail "$((after - before)) kB more after 1000 messages"
echo "ad9851-calc.exe frees its messages"
' _ "$wine" "$exe" "$helper"
