# bash completion for ad9851-word
_ad9851_word()
{
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        -u|--unit)
            COMPREPLY=($(compgen -W 'Hz KHz MHz' -- "$cur"))
            return ;;
        -m|--mode)
            COMPREPLY=($(compgen -W 'serial parallel' -- "$cur"))
            return ;;
        --chip)
            COMPREPLY=($(compgen -W 'ad9851 ad9850' -- "$cur"))
            return ;;
        -c|--crystal|--ref-hz|--ppm|--phase|--sweep|--c-array)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--crystal --unit --mode --load --phase --power-down
            --details --csv --c-array --sweep --strict --decode --ref-hz --ppm
            --no-multiplier --chip --truncate --help --version' -- "$cur"))
    fi
}
complete -F _ad9851_word ad9851-word
