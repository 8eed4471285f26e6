# SPDX-License-Identifier: GPL-3.0-or-later
# Bash completion of darvenix-cli: the commands, each command's options, the
# values of the options that take a name, and file names. The commands and
# options are read from the program's own help, so they always match the
# installed program. Works with or without the bash-completion package.

_darvenix_cli()
{
    local program=${COMP_WORDS[0]}
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=
    (( COMP_CWORD > 0 )) && prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()

    local commands
    commands=$("$program" --help 2>/dev/null | sed -n '/^Commands:$/,/^$/s/^  \([a-z][a-z]*\)  .*/\1/p')

    if (( COMP_CWORD == 1 )); then
        COMPREPLY=($(compgen -W "$commands help -h --help -V --version" -- "$cur"))
        return 0
    fi
    local command=${COMP_WORDS[1]}
    if [[ $command == help ]]; then
        (( COMP_CWORD == 2 )) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return 0
    fi

    local values=
    case $prev in
        --material) values="schedule-40-steel galvanised-iron drawn-tubing" ;;
        --liquid)
            values="water thermal-oil engine-oil glycerin ethylene-glycol calcium-chloride sulphur-dioxide
                    mercury liquid-ammonia liquid-carbon-dioxide methylchloride freon-liquid-r12
                    condensed-steam compressed-air" ;;
        --additive) values="none ethylene-glycol propylene-glycol calcium-chloride" ;;
        --sort) values="number description group bore length flow dp type" ;;
        --units) values="si us" ;;
        --to) values="dvx txt csv" ;;
        -o | --output)
            COMPREPLY=($(compgen -f -- "$cur"))
            return 0 ;;
        --t | --volume | --repeat | --points | --max-ratio | --pump | --static-head | --re | --eps | --d | --f0 | --user)
            return 0 ;;
    esac
    if [[ -n $values ]]; then
        COMPREPLY=($(compgen -W "$values" -- "$cur"))
        return 0
    fi

    if [[ $cur == -* ]]; then
        # Option lines of the help: "  -q, --quiet   …" or "  --json   …".
        local options
        options=$("$program" help "$command" 2>/dev/null |
            sed -n -e 's/^  \(-[A-Za-z]\), \(--[a-z0-9-]*\).*/\1 \2/p' -e 's/^  \(--[a-z0-9-]*\).*/\1/p')
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return 0
    fi
    # Anything else is a file: the shell's own file name completion.
    COMPREPLY=($(compgen -f -- "$cur"))
    return 0
}

complete -o filenames -F _darvenix_cli darvenix-cli
