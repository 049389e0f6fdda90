#!/usr/bin/env bash
# Builds the Debian packages a second time, in another scratch directory,
# and compares them byte for byte with the first build's.
#   deb_reproducible_test.sh SOURCE_DIR PACKAGE_DIR
set -euo pipefail
source_dir=$1 dir=$2
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
"$source_dir/scripts/build-deb" "$again"
status=0
for deb in "$dir"/*.deb; do
    if ! cmp "$deb" "$again/$(basename "$deb")"; then
        echo "FAIL: $(basename "$deb") differs between two builds"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "the .deb files of two builds are identical"
exit "$status"
