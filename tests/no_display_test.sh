#!/usr/bin/env bash
# Without a display for its platform the window program says so and exits
# with status 1, instead of aborting inside Qt.
#   no_display_test.sh AD9851_CALC
set -uo pipefail
calc=$1
fail=0
# environment and arguments | expected status
cases=(
    "-u QT_QPA_PLATFORM|1"
    "QT_QPA_PLATFORM=xcb|1"
    "QT_QPA_PLATFORM=wayland|1"
    "-u QT_QPA_PLATFORM -- -platform xcb|1"
    "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-0 -- -platform xcb|1"
)
for case in "${cases[@]}"; do
    setting=${case%|*} expected=${case##*|}
    read -r -a words <<<"${setting%% -- *}"
    args=()
    [[ $setting == *" -- "* ]] && read -r -a args <<<"${setting#* -- }"
    err=$(timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY "${words[@]}" "$calc" "${args[@]}" 2>&1 >/dev/null)
    status=$?
    if [ "$status" -ne "$expected" ] || ! grep -q '^ad9851-calc: no display' <<<"$err"; then
        echo "FAIL: $setting: status $status, stderr '$err'"
        fail=1
    fi
done
# With a platform that needs no display it starts.
QT_QPA_PLATFORM=offscreen timeout 3 env -u DISPLAY -u WAYLAND_DISPLAY "$calc" >/dev/null 2>&1
[ $? -eq 124 ] || { echo "FAIL: the offscreen window did not keep running"; fail=1; }
exit "$fail"
