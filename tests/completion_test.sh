#!/usr/bin/env bash
# The bash completion offers every option that `ad9851-word --help` lists,
# and bash completes option names and the names a value may take.
#   completion_test.sh AD9851_WORD COMPLETION
set -euo pipefail
word=$1 script=$2
# shellcheck source=/dev/null
source "$script"
complete -p ad9851-word >/dev/null
# What bash offers when the line so far is the arguments, the last one
# being the word under the cursor.
completions() {
    COMP_WORDS=(ad9851-word "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _ad9851_word
    echo "${COMPREPLY[*]}"
}
fail=0
offered=" $(completions --) "
for option in $("$word" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
    [[ $offered == *" $option "* ]] || { echo "not completed: $option"; fail=1; }
done
expect() {
    local want=$1; shift
    local got
    got=$(completions "$@")
    [ "$got" = "$want" ] || { echo "completing '$*': got '$got', want '$want'"; fail=1; }
}
expect "--unit" --un
expect "Hz KHz MHz" --unit ""
expect "MHz" -u M
expect "serial parallel" -m ""
expect "parallel" --mode p
expect "ad9851 ad9850" --chip ""
expect "" --crystal ""
expect "" --sweep 1
expect "--spectrum" --spectr
expect "" --spectrum --filter ""
expect "" --spectrum --images ""
expect "--no-multiplier" 10 --no
expect "" 10
# A value given with "=": bash splits the word there.
expect "Hz KHz MHz" --unit =
expect "KHz" --unit = K
expect "parallel" 10 --mode = p
expect "ad9851 ad9850" --chip = AD
# Names in any case, as the options take them.
expect "KHz" -u k
expect "MHz" -u mh
expect "serial" -m S
# After "--" every word is a frequency.
expect "" -- --un
expect "" 10 -- -u ""
expect "" -- 10 -
[ $fail -eq 0 ] && echo "every option completed"
exit $fail
