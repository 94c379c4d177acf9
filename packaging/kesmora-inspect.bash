# Bash completion for kesmora-inspect: its commands, the categories, the body names of the chosen
# category (asked from the inspector itself, so they always match its catalogue), polyhedron files
# after --file and the options.

_kesmora_inspect() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local -a args=("${COMP_WORDS[@]:1:COMP_CWORD-1}")
    local -a data=()
    if [[ ${args[0]-} == --data ]]; then
        if ((${#args[@]} == 1)); then
            compopt -o dirnames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur"))
            return
        fi
        data=(--data "${args[1]}")
        args=("${args[@]:2}")
    fi

    if ((${#args[@]} == 0)); then
        COMPREPLY=($(compgen -W "list model render export stats net help --data" -- "$cur"))
        return
    fi
    local command=${args[0]}
    case $command in
    model | render | export | stats | net) ;;
    *) return ;;
    esac

    # A polyhedron file in place of CATEGORY NAME: OFF or OBJ, folders to get there.
    if [[ $prev == --file ]]; then
        compopt -o filenames 2>/dev/null
        local found
        COMPREPLY=()
        while IFS= read -r found; do
            [[ -d $found || ${found,,} == *.off || ${found,,} == *.obj ]] && COMPREPLY+=("$found")
        done < <(compgen -f -- "$cur")
        return
    fi

    if ((${#args[@]} == 1)); then
        local categories="0 2 3 --file"
        [[ $command == model ]] && categories+=" --all"
        COMPREPLY=($(compgen -W "$categories" -- "$cur"))
        return
    fi

    if ((${#args[@]} == 2)); then
        [[ ${args[1]} == --all || ${args[1]} == --file ]] && return
        # Names hold blanks, commas and brackets: match them unquoted, hand them back quoted.
        local typed=${cur#[\"\']}
        typed=${typed//\\/}
        local category name
        COMPREPLY=()
        while IFS=$'\t' read -r category _ _ _ name; do
            [[ $category == "${args[1]}" && $name == "$typed"* ]] && COMPREPLY+=("$(printf '%q' "$name")")
        done < <("${COMP_WORDS[0]}" "${data[@]}" list 2>/dev/null)
        return
    fi

    case $prev in
    -o)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    --format)
        COMPREPLY=($(compgen -W "off obj stl stl-ascii svg png" -- "$cur"))
        return
        ;;
    --mode)
        COMPREPLY=($(compgen -W "1 2 3 4 5 6 7" -- "$cur"))
        return
        ;;
    --size | --turn | --page | --edge)
        return
        ;;
    esac

    local options
    case $command in
    model) options="--hidden --reciprocal" ;;
    render) options="--hidden --mode --size --marks --turn --reciprocal -o" ;;
    export) options="--hidden --dual --reciprocal --format --mode --size --marks --edge --as-shown -o" ;;
    stats) options="--hidden --dual --reciprocal --json" ;;
    net) options="--hidden --dual --reciprocal --page --edge -o" ;;
    esac
    # The catalogue's hidden bodies have nothing to do with a file.
    [[ " ${args[*]} " == *" --file "* ]] && options=${options/--hidden /}
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}

complete -F _kesmora_inspect kesmora-inspect
