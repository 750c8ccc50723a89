#!/usr/bin/env bash
# Drives zel's bash completion as bash does on Tab (bash-completion's machinery, the
# script, COMP_WORDS and COMP_CWORD set, the function called) and checks what it offers.
# Usage: bash-completion.sh COMPLETION-SCRIPT ZEL
set -uo pipefail
script=$(realpath "$1")
zel_binary=$(realpath "$2")
here=$(dirname "$(realpath "$0")")

framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || { echo "bash-completion is not installed ($framework)"; exit 1; }

# shellcheck source=expect.sh
source "$here/expect.sh"
completion_workspace "$zel_binary"

# shellcheck disable=SC1090
source "$framework"
# shellcheck disable=SC1090
source "$script" || { echo "FAIL: $script does not load"; exit 1; }
declare -F _zel >/dev/null || { echo "FAIL: $script defines no _zel"; exit 1; }

# The offers for LINE, the last word (possibly empty) being completed, one a line.
offers_for() {
  local line=$1
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _zel zel "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}"
}

# Commands and subcommands.
expect "zel " types
expect "zel " tools
expect "zel " demo
expect "zel " view
expect "zel t" tip
expect_not "zel t" demo
expect "zel tools " run
expect "zel tools m" migrate
expect "zel sxf " fmt
# Options, of the command typed and not of another.
expect "zel detect --" --content
expect "zel tools run --" --exe
expect "zel tools run --" --data
expect_not "zel tools run --" --content
expect "zel richtext render -" -o
expect "zel view --" --screenshot
# File type ids from zel types, but 0; for --types, the last of a comma list.
ids=$(zel types | cut -f1)
some_id=$(awk '$1 >= 10 { print $1; exit }' <<<"$ids")
[ -n "$some_id" ] || { echo "FAIL: zel types lists no ids"; failures=$((failures + 1)); }
expect "zel filter " "$some_id"
expect_not "zel filter " 0
expect "zel filter 1 " "$some_id"
expect "zel choose open --types " "$some_id"
expect "zel choose open --types 1,${some_id:0:1}" "1,$some_id"
expect "zel choose open --types=" "$some_id"
# A choice from the help: choose's mode.
expect "zel choose " folder
expect "zel choose o" open

# Menu paths for tools run, quoted, from the tool folder under the --exe typed.
exe=$work/install
zel tools create "My Tools|Blast search" --target /bin/true --exe "$exe" >/dev/null
zel tools create "Viewer" --target /bin/true --exe "$exe" >/dev/null
expect "zel tools run --exe $exe " "'My Tools|Blast search'"
expect "zel tools run --exe $exe " "'Viewer'"
expect "zel tools run --exe=$exe " "'My Tools|Blast search'"
expect "zel tools run --exe $exe 'My" "'My Tools|Blast search'"
expect_not "zel tools run --exe $exe 'My" "'Viewer'"
# Inside double quotes the path is offered as it is.
expect "zel tools run --exe $exe \"My" "My Tools|Blast search"
zel tools create "Bob's tools|Align it" --target /bin/true --exe "$exe" >/dev/null
expect "zel tools run --exe $exe Bob" "'Bob'\\''s tools|Align it'"
# Without --exe the tool folder is another, where none of these tools is.
expect_not "zel tools run " "'My Tools|Blast search'"
# Directories for the layout options, files elsewhere.
mkdir -p "$work/folder"
touch "$work/file.gb"
cd "$work"
expect "zel tools list --exe " folder
expect_not "zel tools list --exe " file.gb
expect "zel lines " file.gb
expect "zel view " file.gb
expect "zel view file.gb " file.gb

# What bash itself makes of a completed line: typed with a Tab on a terminal, the words it
# then runs hold the menu path whole, whatever quote the word was begun with.
runs() {  # runs LINE MENUPATH: completing LINE leaves MENUPATH as the last word bash runs
  local words
  words=$(python3 "$here/bash-readline.py" "$script" "$1")
  if [ "$(tail -n 1 <<<"$words")" != "$2" ]; then
    echo "FAIL: '$1<TAB>' runs as:"; sed 's/^/  [/; s/$/]/' <<<"$words"
    failures=$((failures + 1))
  fi
}
runs "zel tools run --exe $exe My" "My Tools|Blast search"
runs "zel tools run --exe $exe 'My" "My Tools|Blast search"
runs "zel tools run --exe $exe \"My" "My Tools|Blast search"
runs "zel tools run --exe $exe Bob" "Bob's tools|Align it"

finish bash
