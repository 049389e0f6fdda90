#!/usr/bin/env bash
# The Windows downloads: the zip holds both programs, stripped, the Windows
# README, the licence and the third-party notices as Windows text.  The
# installer installs silently in English on an English Windows, with the
# folder on the system PATH when asked, its ad9851-word.exe works from any
# command prompt, its Start-menu entry is there and its size is recorded.
# While the calculator window is open, neither the uninstaller nor the
# installer goes on.  Installed again on a Chinese Windows it speaks
# Chinese; its uninstaller removes it all, PATH entry included, and leaves
# the rest of a PATH longer than the installer's own strings as it was.
# The installer, the uninstaller and the window program carry the
# program's icon, down to its 256 px image.
#   windows_packages_test.sh WINE ZIP SETUP ICON_256_PNG
# Runs on its own X server: the calculator window needs one.
set -euo pipefail
if [ -z "${AD9851_TEST_ON_XVFB:-}" ]; then
    AD9851_TEST_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1000x600x24" bash "$0" "$@"
fi
wine=$1 zip=$2 setup=$3 icon=$4
fail() { echo "FAIL: $*"; exit 1; }
# holds_icon FILE: FILE holds the 256 px image (kept as is, as PNG).
holds_icon() {
    python3 -c 'import sys; sys.exit(open(sys.argv[1], "rb").read().find(open(sys.argv[2], "rb").read()) < 0)' \
        "$1" "$icon"
}

files=(ad9851-calc.exe ad9851-word.exe README-Windows.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
texts=(README-Windows.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
listing=$(unzip -Z1 "$zip")
for f in "${files[@]}"; do
    grep -q "/$f\$" <<<"$listing" || fail "the zip lacks $f"
done
[ "$(grep -c -v '/$' <<<"$listing")" -eq "${#files[@]}" ] || fail "the zip holds more than ${files[*]}: $listing"

unzipped=$(mktemp -d)
trap 'rm -rf "$unzipped"' EXIT
unzip -q "$zip" -d "$unzipped"
top=$(echo "$unzipped"/*)
for f in "${texts[@]}"; do
    grep -q -v $'\r$' "$top/$f" && fail "$f has lines without a Windows line end"
done
for notice in CLI11 'Boost Software License' mingw-w64 winpthreads 'GCC Runtime Library Exception'; do
    grep -q "$notice" "$top/THIRD-PARTY-NOTICES.txt" || fail "THIRD-PARTY-NOTICES.txt does not mention $notice"
done
grep -q -i -E '\bapt\b|scripts/|\.png' "$top/README-Windows.txt" && fail "README-Windows.txt speaks of Linux tools or an image it lacks"
for exe in ad9851-calc.exe ad9851-word.exe; do
    # The version record names the publisher the installer names.
    strings -el "$top/$exe" | grep -q -x 'ad9851-calc developers' || fail "$exe: no publisher in the version record"
    strings -el "$top/$exe" | grep -q '^Copyright (c) 2026 ad9851-calc developers' || fail "$exe: no LegalCopyright"
    x86_64-w64-mingw32-objdump -h "$top/$exe" | grep -q '\.debug' && fail "$exe has debugging sections"
done
holds_icon "$top/ad9851-calc.exe" || fail "ad9851-calc.exe lacks the program's icon"
holds_icon "$setup" || fail "the installer lacks the program's icon"

# Wine takes the Windows language from LC_ALL, installed as a locale or not.
in_chinese() { LC_ALL=zh_CN.UTF-8 "$@"; }

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ad9851-calc'
environment_key='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
# registry KEY NAME: the value NAME of KEY, empty when there is none.
registry() {
    "$wine" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
system_path() { registry "$environment_key" Path; }
set_system_path() {
    "$wine" reg add "$environment_key" /v Path /t REG_EXPAND_SZ /d "$1" /f </dev/null >/dev/null 2>&1
}

dir='C:\ad9851-install-test'
unix=$(winepath -u "$dir" 2>/dev/null)
menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\AD9851 Calc' 2>/dev/null)
calc_pid=
original_path=$(system_path)
[ -n "$original_path" ] || fail "the system PATH of the Wine prefix cannot be read"
cleanup() {
    [ -z "$calc_pid" ] || kill "$calc_pid" 2>/dev/null || true
    set_system_path "$original_path"
    rm -rf "$unzipped" "$unix"
}
trap cleanup EXIT
rm -rf "$unix"

"$wine" "$setup" /S /PATH=1 "/D=$dir" </dev/null >/dev/null 2>&1 || fail "the installer failed"
for f in "${files[@]}" uninstall.exe; do
    [ -f "$unix/$f" ] || fail "not installed: $f"
done
line=$("$wine" "$unix/ad9851-word.exe" 10 </dev/null 2>/dev/null)
[ "$line" = "{0x1A,0x76,0x05,0x00},//10KHz" ] || fail "the installed ad9851-word.exe 10 printed '$line'"
ls "$menu"/*.lnk >/dev/null 2>&1 || fail "no Start-menu entry in $menu"
holds_icon "$unix/uninstall.exe" || fail "the uninstaller lacks the program's icon"
[ "$(registry "$uninstall_key" Language)" = 1033 ] || fail "not installed in English on an English Windows"
[ "$(system_path)" = "$original_path;$dir" ] || fail "PATH after /PATH=1 is '$(system_path)'"
line=$("$wine" cmd /c ad9851-word 10 </dev/null 2>/dev/null | tr -d '\r')
[ "$line" = "{0x1A,0x76,0x05,0x00},//10KHz" ] || fail "ad9851-word 10 through the PATH printed '$line'"
# The size, in KB, of what was installed.
size=$(registry "$uninstall_key" EstimatedSize)
kb=$(( $(cat "$unix"/* | wc -c) / 1024 ))
if [ -z "$size" ] || [ $((size)) -lt $((kb - 8)) ] || [ $((size)) -gt $((kb + 8)) ]; then
    fail "EstimatedSize is '$size', the files take $kb KB"
fi

# The window open: the uninstaller and the installer refuse, in silent
# mode with a non-zero exit, and leave the programs where they are.
"$wine" "$unix/ad9851-calc.exe" </dev/null >/dev/null 2>&1 &
calc_pid=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null || fail "the window did not open"
# _?= keeps the uninstaller in place, so its exit status is its own.
"$wine" "$unix/uninstall.exe" /S "_?=$dir" </dev/null >/dev/null 2>&1 && fail "uninstalled with the window open"
in_chinese "$wine" "$setup" /S "/D=$dir" </dev/null >/dev/null 2>&1 && fail "installed again with the window open"
for f in ad9851-calc.exe uninstall.exe; do
    [ -f "$unix/$f" ] || fail "$f is gone after a refusal"
done
[ "$(system_path)" = "$original_path;$dir" ] || fail "PATH changed by a refusal: '$(system_path)'"
kill "$calc_pid"
wait "$calc_pid" 2>/dev/null || true
calc_pid=

# Folders added to the PATH since, as other programs do, to over 1024
# characters: beyond the installer's own strings.
long_path=$original_path
for i in $(seq 60); do long_path+=";C:\\Tools\\folder-$i"; done
set_system_path "$original_path;$dir${long_path#"$original_path"}"

# Again on a Chinese Windows, over the first: in Chinese, the PATH entry
# not doubled, the rest of the PATH as it was.
in_chinese "$wine" "$setup" /S /PATH=1 "/D=$dir" </dev/null >/dev/null 2>&1 || fail "installing again failed"
[ "$(registry "$uninstall_key" Language)" = 2052 ] || fail "not installed in Chinese on a Chinese Windows"
[ "$(system_path)" = "$original_path;$dir${long_path#"$original_path"}" ] ||
    fail "PATH after installing again is '$(system_path)'"

"$wine" "$unix/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
# The uninstaller copies itself away and finishes from there.
for _ in $(seq 50); do [ -e "$unix/ad9851-word.exe" ] || break; sleep 0.2; done
[ ! -e "$unix/ad9851-word.exe" ] || fail "ad9851-word.exe is still there after uninstalling"
[ ! -e "$menu" ] || fail "the Start-menu entry is still there"
[ "$(system_path)" = "$long_path" ] || fail "PATH after uninstalling is '$(system_path)'"
[ -z "$(registry "$uninstall_key" DisplayName)" ] || fail "the uninstall entry is still there"
echo "windows packages ok: $(basename "$zip"), $(basename "$setup")"
