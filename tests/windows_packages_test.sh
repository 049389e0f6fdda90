#!/usr/bin/env bash
# The Windows downloads: the zip holds both programs, stripped, the Windows
# README, the licence and the third-party notices as Windows text; the
# installer installs silently, its ad9851-word.exe works, its
# Start-menu entry is there, and its uninstaller removes it all.
#   windows_packages_test.sh WINE ZIP SETUP
set -euo pipefail
wine=$1 zip=$2 setup=$3
fail() { echo "FAIL: $*"; exit 1; }

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

dir='C:\ad9851-install-test'
unix=$(winepath -u "$dir" 2>/dev/null)
rm -rf "$unix"
"$wine" "$setup" /S "/D=$dir" </dev/null >/dev/null 2>&1 || fail "the installer failed"
for f in "${files[@]}" uninstall.exe; do
    [ -f "$unix/$f" ] || fail "not installed: $f"
done
line=$("$wine" "$unix/ad9851-word.exe" 10 </dev/null 2>/dev/null)
[ "$line" = "{0x1A,0x76,0x05,0x00},//10KHz" ] || fail "the installed ad9851-word.exe 10 printed '$line'"
menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\AD9851 Calc' 2>/dev/null)
ls "$menu"/*.lnk >/dev/null 2>&1 || fail "no Start-menu entry in $menu"

"$wine" "$unix/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
# The uninstaller copies itself away and finishes from there.
for _ in $(seq 50); do [ -e "$unix/ad9851-word.exe" ] || break; sleep 0.2; done
[ ! -e "$unix/ad9851-word.exe" ] || fail "ad9851-word.exe is still there after uninstalling"
[ ! -e "$menu" ] || fail "the Start-menu entry is still there"
echo "windows packages ok: $(basename "$zip"), $(basename "$setup")"
