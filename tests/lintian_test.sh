#!/usr/bin/env bash
# Lintian on the source package, the .deb and its -dbgsym (all named in the
# .changes): no error or warning beyond the accepted tags.
#   lintian_test.sh PACKAGE_DIR VERSION ACCEPTED_TAGS_FILE
set -uo pipefail
dir=$1 version=$2 accepted=$3
changes=$(ls "$dir"/ad9851-calc_"$version"_*.changes) || exit 1
tags=$(grep -v -e '^#' -e '^$' "$accepted" | paste -sd, -)
out=$(lintian --fail-on error,warning --suppress-tags "$tags" "$changes" 2>&1)
status=$?
out=$(grep -v 'running with root privileges' <<<"$out")
if [ "$status" -ne 0 ] || grep -qE '^[EW]:' <<<"$out"; then
    echo "$out"
    exit 1
fi
echo "lintian: no errors or warnings beyond the accepted tags"
[ -z "$out" ] || echo "$out"
