# fish completion for zel.
#
# The commands and options, with their descriptions, come from zel's own --help texts, so
# that they never fall behind the program; the values zel can list come from zel itself:
# file type ids from `zel types`, menu paths from `zel tools list` (with the layout
# options already typed).

# Prints the subcommands and options of `zel WORDS... --help`, one a line:
#   c<TAB>NAME<TAB><TAB>DESCRIPTION        a subcommand
#   o<TAB>NAME<TAB>TYPE<TAB>DESCRIPTION    an option (TYPE empty for a flag)
#   p<TAB>NAME<TAB>TYPE<TAB>DESCRIPTION    a positional argument
# TYPE is the help's value type: TEXT, INT, DIR, FILE, PATH, or TEXT:{a,b} for a choice.
function __fish_zel_help
    $argv --help 2>/dev/null | awk '
        /^[A-Za-z]+:$/ { section = $0; next }
        /^  [^ ]/ {
            line = substr($0, 3)
            desc = ""
            if (match(line, /  +/)) { desc = substr(line, RSTART + RLENGTH); line = substr(line, 1, RSTART - 1) }
            n = split(line, f, " ")
            type = ""
            if (n >= 2 && f[2] ~ /^[A-Z][A-Z0-9_]*(:.*)?$/) type = f[2]
            if (section == "Subcommands:") printf "c\t%s\t\t%s\n", f[1], desc
            else if (section == "Positionals:") printf "p\t%s\t%s\t%s\n", f[1], type, desc
            else if (section == "Options:") {
                m = split(f[1], names, ",")
                for (i = 1; i <= m; i++) printf "o\t%s\t%s\t%s\n", names[i], type, desc
            }
        }'
end

# The value type of option $argv[2] in the help lines $argv[3..]; empty for a flag.
function __fish_zel_option_type
    string join \n -- $argv[2..-1] | awk -F '\t' -v o=$argv[1] '$1 == "o" && $2 == o { print $3; exit }'
end

# The file type ids zel knows with their descriptions, but 0 (an unknown type), each
# after the prefix $argv[2].
function __fish_zel_type_ids
    $argv[1] types 2>/dev/null | awk -F '\t' -v p=$argv[2] '$1 != "0" { print p $1 "\t" $3 }'
end

# The choices of a TEXT:{a,b} type, one a line.
function __fish_zel_choices
    string match -qr ':\{(?<list>.*)\}$' -- $argv[1]; or return
    string split , -- $list
end

function __fish_zel_complete
    set -l tokens (commandline -opc)
    set -l cur (commandline -ct)
    set -l zel $tokens[1]
    set -l cmd $zel
    set -l layout
    set -l help (__fish_zel_help $cmd)
    set -l taking
    set -l positionals 0
    set -l layout_options --main --exe --network --tools-base

    # Walk the words typed so far: subcommands lengthen the command, options that take a
    # value skip it; the layout options are kept for `zel tools list`.
    for word in $tokens[2..-1]
        if test -n "$taking"
            contains -- $taking $layout_options; and set -a layout $taking $word
            set taking
            continue
        end
        switch $word
            case '--*=*'
                set -l parts (string split -m 1 = -- $word)
                contains -- $parts[1] $layout_options; and set -a layout $parts
            case '-*'
                set -l type (__fish_zel_option_type $word $help)
                test -n "$type"; and set taking $word
            case '*'
                if string join \n -- $help | awk -F '\t' -v c=$word '$1 == "c" && $2 == c { f = 1 } END { exit !f }'
                    set -a cmd $word
                    set help (__fish_zel_help $cmd)
                    set positionals 0
                else
                    set positionals (math $positionals + 1)
                end
        end
    end

    # The value of an option: after "--opt " (taking) or in "--opt=".
    set -l value_of $taking
    set -l head ''
    if test -z "$value_of"; and string match -qr '^--[^=]+=' -- $cur
        set -l parts (string split -m 1 = -- $cur)
        set value_of $parts[1]
        set head $parts[1]=
        set cur $parts[2]
    end

    if test -n "$value_of"
        set -l type (__fish_zel_option_type $value_of $help)
        if test "$value_of" = --types
            # A comma-separated list: complete its last id.
            set -l ids (string match -r '^.*,' -- $cur)
            __fish_zel_type_ids $zel "$head$ids"
        else if string match -q '*:{*}' -- $type
            for choice in (__fish_zel_choices $type)
                echo $head$choice
            end
        else if test "$type" = DIR
            for dir in (__fish_complete_directories $cur '')
                echo $head$dir
            end
        else if not string match -q 'INT*' -- $type
            for path in (__fish_complete_path $cur)
                echo $head$path
            end
        end
        return
    end

    if string match -q -- '-*' $cur
        string join \n -- $help | awk -F '\t' '$1 == "o" { print $2 "\t" $4 }'
        return
    end

    set -l commands (string join \n -- $help | awk -F '\t' '$1 == "c" { print $2 "\t" $4 }')
    if set -q commands[1]
        string join \n -- $commands
        return
    end

    switch "$cmd[2..-1]"
        case filter
            __fish_zel_type_ids $zel ''
        case 'tools run'
            # Menu paths hold "|" and blanks; fish quotes them as the line needs. zel tools
            # list writes a backslash or control character as an escape, which printf undoes.
            for menu in ($zel tools list $layout 2>/dev/null | cut -f1)
                printf '%b\n' $menu
            end
        case '*'
            set -l first
            test $positionals -eq 0
            and set first (string join \n -- $help | awk -F '\t' '$1 == "p" { print $3; exit }')
            if string match -q '*:{*}' -- "$first"
                __fish_zel_choices $first
            else
                __fish_complete_path $cur
            end
    end
end

complete -c zel -f -a '(__fish_zel_complete)'
