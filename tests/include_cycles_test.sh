#!/usr/bin/env bash
# scripts/check-include-cycles passes calc/ as it is, and fails on a folder
# with a cycle planted in it (two sources including each other's headers).
#   tests/include_cycles_test.sh SOURCE_DIR
set -euo pipefail
root=$1
check=$root/scripts/check-include-cycles
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$root/calc"

mkdir "$work/calc"
printf '#pragma once\n' >"$work/calc/a.h"
printf '#pragma once\n' >"$work/calc/b.h"
printf '#include "calc/a.h"\n#include "calc/b.h"\n' >"$work/calc/a.cpp"
printf '#include "calc/b.h"\n' >"$work/calc/b.cpp"
"$check" "$work/calc"
[ "$("$check" --edges "$work/calc")" = "a -> b" ]

printf '#include "calc/b.h"\n#include "calc/a.h"\n' >"$work/calc/b.cpp"
if "$check" "$work/calc" 2>"$work/err"; then
    echo "a cycle between a and b went unnoticed"
    exit 1
fi
grep -q 'a -> b -> a' "$work/err"
echo "ok"
