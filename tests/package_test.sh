#!/usr/bin/env bash
# Unpacks the built .deb into a scratch root and runs what it installed.
#   package_test.sh PACKAGE_DIR VERSION
set -euo pipefail
dir=$1 version=$2
deb=$(ls "$dir"/ad9851-calc_"$version"_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*"; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = ad9851-calc ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries: $(field Depends)"
field Depends | grep -q 'qt6-qpa-plugins' || fail "Depends lacks qt6-qpa-plugins: $(field Depends)"
field Depends | grep -q 'fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-microhei' || fail "Depends lacks a CJK font"
field Description | grep -q 'tuning word' || fail "Description: $(field Description)"

dpkg -x "$deb" "$root"
for f in usr/bin/ad9851-word usr/bin/ad9851-calc \
         usr/share/applications/ad9851-calc.desktop \
         usr/share/metainfo/io.github.ad9851_calc.Calculator.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/ad9851-calc.png \
         usr/share/icons/hicolor/32x32/apps/ad9851-calc.png \
         usr/share/icons/hicolor/64x64/apps/ad9851-calc.png \
         usr/share/man/man1/ad9851-calc.1.gz \
         usr/share/doc/ad9851-calc/copyright \
         usr/share/doc/ad9851-calc/changelog.gz \
         usr/share/doc/ad9851-calc/NEWS.gz \
         usr/share/doc/ad9851-calc/README.md.gz \
         usr/share/icons/hicolor/scalable/apps/ad9851-calc.svg \
         usr/share/man/man1/ad9851-word.1.gz \
         usr/share/bash-completion/completions/ad9851-word; do
    [ -e "$root/$f" ] || fail "missing $f"
done

line=$("$root/usr/bin/ad9851-word" 10)
[ "$line" = "{0x1A,0x76,0x05,0x00},//10KHz" ] || fail "ad9851-word 10 printed '$line'"
[ "$("$root/usr/bin/ad9851-word" --version)" = "ad9851-word $version" ] || fail "--version"
# The completion offers the options and their values.
words=$(bash -c 'source "$1"; COMPREPLY=(); COMP_WORDS=(ad9851-word --un); COMP_CWORD=1; _ad9851_word; echo "${COMPREPLY[*]}"
                 COMPREPLY=(); COMP_WORDS=(ad9851-word -m p); COMP_CWORD=2; _ad9851_word; echo "${COMPREPLY[*]}"' _ \
        "$root/usr/share/bash-completion/completions/ad9851-word")
[ "$words" = $'--unit\nparallel' ] || fail "bash completion offered '$words'"
zcat "$root/usr/share/man/man1/ad9851-word.1.gz" | grep -q '^\.TH AD9851-WORD 1' || fail "manual page"

# --help and --version need no display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/ad9851-calc" --version)" = "ad9851-calc $version" ] ||
    fail "ad9851-calc --version"
env -u DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/ad9851-calc" --help | grep -q '^Usage: ad9851-calc' || fail "ad9851-calc --help"
zcat "$root/usr/share/doc/ad9851-calc/changelog.gz" | head -n 1 | grep -q "^ad9851-calc ($version)" || fail "changelog"
# The licences of everything in the programs.
for licence in Expat BSD-3-Clause CC0-1.0; do
    grep -q "^License: $licence\$" "$root/usr/share/doc/ad9851-calc/copyright" || fail "copyright lacks $licence"
done
grep -q CLI11 "$root/usr/share/doc/ad9851-calc/copyright" || fail "copyright does not name CLI11"
# Stripped, with the debugging symbols in their own package.
file "$root/usr/bin/ad9851-word" "$root/usr/bin/ad9851-calc" | grep -v -q ', stripped' && fail "unstripped programs"
ls "$dir"/ad9851-calc-dbgsym_"$version"_*.deb >/dev/null || fail "no -dbgsym package"

QT_QPA_PLATFORM=offscreen "$root/usr/bin/ad9851-calc" &
pid=$!
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the installed window program exited within a second"
echo "package ok: $deb"
