#!/usr/bin/env bash
# Every option that `ad9851-word --help` lists is documented in the manual page.
#   manpage_options_test.sh AD9851_WORD MANPAGE
set -euo pipefail
word=$1 page=$2
missing=()
for option in $("$word" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
    roff=${option//-/\\-}
    grep -qF -- "$roff" "$page" || missing+=("$option")
done
[ ${#missing[@]} -eq 0 ] || { echo "not in the manual page: ${missing[*]}"; exit 1; }
for section in 'EXIT STATUS' 'EXAMPLES' 'OPTIONS'; do
    grep -q "^\.SH $section" "$page" || { echo "no $section section"; exit 1; }
done
echo "every option documented"
