#!/usr/bin/env bash
# The Windows downloads: the zip holds both programs, the README and the
# licence; the installer installs silently, its ad9851-word.exe works, its
# Start-menu entry is there, and its uninstaller removes it all.
#   windows_packages_test.sh WINE ZIP SETUP
set -euo pipefail
wine=$1 zip=$2 setup=$3
fail() { echo "FAIL: $*"; exit 1; }

listing=$(unzip -Z1 "$zip")
for f in ad9851-calc.exe ad9851-word.exe README.md LICENSE.txt; do
    grep -q "/$f\$" <<<"$listing" || fail "the zip lacks $f"
done

dir='C:\ad9851-install-test'
unix=$(winepath -u "$dir" 2>/dev/null)
rm -rf "$unix"
"$wine" "$setup" /S "/D=$dir" </dev/null >/dev/null 2>&1 || fail "the installer failed"
for f in ad9851-calc.exe ad9851-word.exe README.md LICENSE.txt uninstall.exe; do
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
