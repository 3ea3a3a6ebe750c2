# bash completion for kfa: commands, their options, album files, and the
# member names of the album on the line (from kfa list).

_kfa_members() {
    local album=$1 cur=$2
    [[ -f $album ]] || return
    local IFS=$'\n'
    COMPREPLY=($(compgen -W "$(kfa list -- "$album" 2>/dev/null | cut -f1)" -- "$cur"))
}

# Folders and the files whose extension, in any letter case, is one of the given.
_kfa_files() {
    local cur=$1 path extension
    shift
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur"))
    while IFS= read -r path; do
        for extension in "$@"; do
            [[ ${path,,} == *."$extension" && ! -d $path ]] && COMPREPLY+=("$path")
        done
    done < <(compgen -f -- "$cur")
}

_kfa() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local IFS=$'\n'
    if ((COMP_CWORD == 1)); then
        local commands
        commands=$(kfa --help 2>/dev/null | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }')
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}

    case $prev in
        -o | --list)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        --viewer)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -c -- "$cur"; compgen -f -- "$cur"))
            return
            ;;
        --music)
            _kfa_files "$cur" mp3 wav mid midi
            return
            ;;
        --screen)
            COMPREPLY=($(compgen -W "1024x768 1280x720 1366x768 1920x1080 2560x1440 3840x2160" -- "$cur"))
            return
            ;;
        --base | --name | --password | --turn-time | --stay-time | --back-color | --number | --jobs)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options
        options=$(kfa "$command" --help 2>/dev/null | grep -oE '^ +(-o|--[a-z-]+)' | tr -d ' ')
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # The words before this one that are not options or their values.
    local i positional=() word
    for ((i = 2; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            -o | --list | --viewer | --music | --screen | --base | --name | --password | \
                --turn-time | --stay-time | --back-color | --number | --jobs)
                ((i++))
                ;;
            -*) ;;
            *) positional+=("$word") ;;
        esac
    done

    compopt -o filenames 2>/dev/null
    case $command in
        extract)
            if ((${#positional[@]} == 1)); then
                _kfa_members "${positional[0]}" "$cur"
                return
            fi
            ;;
        make | pack)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
    esac
    if ((${#positional[@]} == 0)); then
        _kfa_files "$cur" kfa
    fi
}

complete -F _kfa kfa
