# bash completion for zel                                    -*- shell-script -*-
#
# The commands and options come from zel's own --help texts, so that they never fall
# behind the program; the values zel can list come from zel itself: file type ids from
# `zel types`, menu paths from `zel tools list` (with the layout options already typed).

# Prints the subcommands and options of `zel WORDS... --help`, one a line:
#   c<TAB>NAME<TAB><TAB>DESCRIPTION        a subcommand
#   o<TAB>NAME<TAB>TYPE<TAB>DESCRIPTION    an option (TYPE empty for a flag)
#   p<TAB>NAME<TAB>TYPE<TAB>DESCRIPTION    a positional argument
# TYPE is the help's value type: TEXT, INT, DIR, PATH, or TEXT:{a,b} for a choice.
_zel_help()
{
    "$@" --help 2>/dev/null | awk '
        /^[A-Za-z]+:$/ { section = $0; next }
        /^  [^ ]/ {
            line = substr($0, 3)
            desc = ""
            if (match(line, /  +/)) { desc = substr(line, RSTART + RLENGTH); line = substr(line, 1, RSTART - 1) }
            n = split(line, f, " ")
            type = ""
            # A value type follows the names after one blank: TEXT, INT:INT in [...], DIR.
            if (n >= 2 && f[2] ~ /^[A-Z][A-Z0-9_]*(:.*)?$/) type = f[2]
            if (section == "Subcommands:") printf "c\t%s\t\t%s\n", f[1], desc
            else if (section == "Positionals:") printf "p\t%s\t%s\t%s\n", f[1], type, desc
            else if (section == "Options:") {
                m = split(f[1], names, ",")
                for (i = 1; i <= m; i++) printf "o\t%s\t%s\t%s\n", names[i], type, desc
            }
        }'
}

# The file type ids zel knows, but 0 (it stands for an unknown type and makes no filter).
_zel_type_ids()
{
    "$1" types 2>/dev/null | awk -F '\t' '$1 != "0" { print $1 }'
}

# The tools' menu paths; `zel tools list` writes a backslash, tab or control character
# of a path as an escape, which printf %b turns back.
_zel_menu_paths()
{
    local path
    "$@" 2>/dev/null | while IFS=$'\t' read -r path _; do
        printf '%b\n' "$path"
    done
}

_zel()
{
    local cur prev words cword
    _init_completion -n = || return

    local zel=${words[0]}
    local -a cmd=("$zel") layout=()
    local help i word opt type taking="" value_of="" positionals=0

    # Walk the words typed so far: subcommands lengthen the command, options that take a
    # value skip it; the layout options are kept for `zel tools list`.
    help=$(_zel_help "${cmd[@]}")
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ -n $taking ]]; then
            [[ $taking == --@(main|exe|network|tools-base) ]] && layout+=("$taking" "$word")
            taking=""
            continue
        fi
        case $word in
            --*=*)
                opt=${word%%=*}
                [[ $opt == --@(main|exe|network|tools-base) ]] && layout+=("$opt" "${word#*=}")
                ;;
            -*)
                type=$(awk -F '\t' -v o="$word" '$1 == "o" && $2 == o { print $3; exit }' <<<"$help")
                [[ -n $type ]] && taking=$word
                ;;
            *)
                if awk -F '\t' -v c="$word" '$1 == "c" && $2 == c { f = 1 } END { exit !f }' \
                    <<<"$help"; then
                    cmd+=("$word")
                    help=$(_zel_help "${cmd[@]}")
                    positionals=0
                else
                    ((++positionals))
                fi
                ;;
        esac
    done

    # The value of an option: after "--opt " (taking) or in "--opt=".
    if [[ -n $taking ]]; then
        value_of=$taking
    elif [[ $cur == --*=* ]]; then
        value_of=${cur%%=*}
        cur=${cur#*=}
    fi
    local sub="${cmd[*]:1}"

    if [[ -n $value_of ]]; then
        type=$(awk -F '\t' -v o="$value_of" '$1 == "o" && $2 == o { print $3; exit }' <<<"$help")
        if [[ $value_of == --types ]]; then
            # A comma-separated list: complete its last id.
            local head=""
            [[ $cur == *,* ]] && head=${cur%,*},
            COMPREPLY=($(compgen -P "$head" -W "$(_zel_type_ids "$zel")" -- "${cur##*,}"))
        elif [[ $type == *:{*} ]]; then
            local choices=${type#*:\{}
            choices=${choices%\}}
            COMPREPLY=($(compgen -W "${choices//,/ }" -- "$cur"))
        elif [[ $type == DIR ]]; then
            _filedir -d
        elif [[ $type == @(INT|INT:*) ]]; then
            COMPREPLY=()
        else
            _filedir
        fi
        return
    fi

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(awk -F '\t' '$1 == "o" { print $2 }' <<<"$help")" -- "$cur"))
        return
    fi

    local commands
    commands=$(awk -F '\t' '$1 == "c" { print $2 }' <<<"$help")
    if [[ -n $commands ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    case $sub in
        filter)
            COMPREPLY=($(compgen -W "$(_zel_type_ids "$zel")" -- "$cur"))
            ;;
        "tools run")
            # Menu paths hold "|" and blanks: each is offered in single quotes, or as it
            # is inside the double quotes the word was opened with.
            local want=$cur menu quote=\'
            [[ $want == \'* ]] && want=${want#\'}
            [[ $want == \"* ]] && want=${want#\"} quote=\"
            COMPREPLY=()
            while IFS= read -r menu; do
                [[ -n $menu && $menu == "$want"* ]] || continue
                if [[ $quote == \" ]]; then
                    COMPREPLY+=("$menu")
                else
                    COMPREPLY+=("'${menu//\'/\'\\\'\'}'")
                fi
            done < <(_zel_menu_paths "$zel" tools list "${layout[@]}")
            ;;
        *)
            # A first positional of a few choices (choose's MODE) offers them.
            local choices=""
            ((positionals == 0)) && choices=$(awk -F '\t' '$1 == "p" && $3 ~ /:\{/ {
                sub(/^[^{]*\{/, "", $3); sub(/\}.*/, "", $3); gsub(/,/, " ", $3); print $3; exit }' \
                <<<"$help")
            if [[ -n $choices ]]; then
                COMPREPLY=($(compgen -W "$choices" -- "$cur"))
            else
                _filedir
            fi
            ;;
    esac
} &&
    complete -F _zel zel

# ex: filetype=sh
