#!/usr/bin/env bash
# The Win32 spectrum window under Wine on its own Xvfb, driven from the
# keyboard: 70 MHz at a 30 MHz crystal, F2, its title naming H4 10 MHz off
# the output, the image at 110 MHz in its table (copied with Ctrl+A, Ctrl+C), K = 1 drops the second images, a K of
# 0 is refused with a message, 保存 SVG… writes the command line's SVG;
# Escape hides the window and the result box's context menu shows it.
#   win32_spectrum_test.sh WINE ad9851-calc.exe ad9851-word.exe [SCREENSHOT]
set -euo pipefail
wine=$1 exe=$2 word=$3 shot=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$wine" "$word" -c 30 -u MHz --spectrum --svg 70 >"$work/expected.svg" 2>/dev/null </dev/null
# A program run just before without a display (the command-line tests)
# leaves Wine's desktop process a few seconds; a window opened meanwhile
# would join that desktop and never reach the X server.
desktop() {
    local p
    for p in $(pgrep -f "explorer.exe /desktop"); do
        tr "\0" "\n" <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=${WINEPREFIX:-$HOME/.wine}" && return 0
    done
    return 1
}
for _ in $(seq 50); do desktop || break; sleep 0.2; done
export wine exe work shot
xvfb-run -a -s "-screen 0 1000x800x24" bash -euo pipefail -c '
fail() { echo "FAIL: $*"; exit 1; }
"$wine" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
win=$(timeout 60 xdotool search --sync --onlyvisible --name "^Form1$" | head -n 1)
sleep 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
keys() { xdotool key --delay 40 "$@"; sleep 0.3; }
# The table as the window shows it, from the list to the clipboard.
table() { keys ctrl+a ctrl+c; xclip -o -selection clipboard 2>/dev/null; }

# KHz has the focus: Down to MHz, Tab to 频率; Tab over 对应值 and 计算 to
# 晶振频率, Enter calculates; F2.
keys Down Tab Home shift+End 7 0 Tab Tab Tab Home shift+End 3 0 Return
keys F2
title="^频谱 — 最近成分 H4，距输出 9999999.907 Hz$"
spec=$(timeout 10 xdotool search --sync --onlyvisible --name "$title" | head -n 1) || fail "F2 opened no window titled $title"
sleep 1
[ -z "$shot" ] || import -window "$spec" "$shot"

# The focus is on the first box; Shift+Tab wraps round to the table.
keys shift+Tab
rows=$(table)
grep -qP "^镜像\t-1\t109999999.981\t-3.93\r?$" <<<"$rows" || fail "no 110 MHz image in: $rows"
grep -qP "^镜像\t2\t430000000.019\t-15.77\r?$" <<<"$rows" || fail "no second image in: $rows"

# K = 1 in the first box, Enter: the second images go.
keys Tab Home shift+End 1 Return shift+Tab
rows=$(table)
grep -qP "^镜像\t-1\t" <<<"$rows" || fail "K = 1 lost the first image: $rows"
! grep -qP "^镜像\t-?2\t" <<<"$rows" || fail "K = 1 kept the second images: $rows"

# A K of 0: a message, and the table keeps what it showed.
keys Tab Home shift+End 0 Return
message=$(timeout 10 xdotool search --sync --onlyvisible --name "输入有误" | head -n 1) || fail "no message for K = 0"
sleep 0.3
xdotool windowfocus --sync "$message" 2>/dev/null || true
keys Return
for _ in $(seq 25); do xdotool search --onlyvisible --name "输入有误" >/dev/null || break; sleep 0.2; done
! xdotool search --onlyvisible --name "输入有误" >/dev/null || fail "Enter left the message open"
# The focus is back in the box: K = 2 again.
keys Home shift+End 2 Return shift+Tab
rows=$(table)
grep -qP "^镜像\t2\t" <<<"$rows" || fail "K = 2 again gave: $rows"

# 保存 SVG…: from the table back over 保存 CSV…, Space; the file name.
keys shift+Tab shift+Tab space
timeout 10 xdotool search --sync --onlyvisible --name "^保存 SVG$" >/dev/null || fail "保存 SVG… opened no dialog"
sleep 0.5
keys Home shift+End
xdotool type --delay 20 "Z:${work//\//\\}\\plot.svg"
keys Return
for _ in $(seq 25); do [ -s "$work/plot.svg" ] && break; sleep 0.2; done
cmp "$work/expected.svg" "$work/plot.svg" || fail "the saved SVG differs from the command line'"'"'s"

# Escape hides it; in the main window, the result box'"'"'s context menu
# (Shift+F10) shows it again from its last entry, 频谱….
xdotool windowfocus --sync "$spec" 2>/dev/null || true
keys Escape
# Wine takes a moment to hide a window without a window manager.
for _ in $(seq 25); do xdotool search --onlyvisible --name "$title" >/dev/null || break; sleep 0.2; done
! xdotool search --onlyvisible --name "$title" >/dev/null || fail "Escape left the window open"
xdotool windowfocus --sync "$win" 2>/dev/null || true
keys shift+Tab shift+Tab shift+F10
sleep 0.5
keys Up Return
timeout 10 xdotool search --sync --onlyvisible --name "$title" >/dev/null || fail "the context menu opened no window"
echo "spectrum window ok under Wine"
'
