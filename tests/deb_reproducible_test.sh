#!/usr/bin/env bash
# Builds the binary packages again from the source package of the first
# build, unpacked in another directory, and compares the .deb files byte
# for byte with the first build's.
#   deb_reproducible_test.sh PACKAGE_DIR VERSION
set -euo pipefail
dir=$1 version=$2
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
dpkg-source --no-check -x "$dir/ad9851-calc_$version.dsc" "$again/ad9851-calc-rebuilt" >/dev/null
(cd "$again/ad9851-calc-rebuilt" && dpkg-buildpackage -us -uc -b -j2 >"$again/build.log" 2>&1) || {
    tail -n 50 "$again/build.log"
    echo "FAIL: the second build failed"
    exit 1
}
status=0
for deb in "$dir"/*.deb; do
    if ! cmp "$deb" "$again/$(basename "$deb")"; then
        echo "FAIL: $(basename "$deb") differs between two builds"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "the .deb files of two builds are identical"
exit "$status"
