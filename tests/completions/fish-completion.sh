#!/usr/bin/env bash
# Asks fish what zel's fish completion offers for command lines (complete -C, as on Tab)
# and checks it. Usage: fish-completion.sh COMPLETION-SCRIPT ZEL
set -uo pipefail
script=$(realpath "$1")
zel_binary=$(realpath "$2")
command -v fish >/dev/null || { echo "fish is not installed"; exit 1; }
fish --no-execute "$script" || { echo "FAIL: $script does not parse"; exit 1; }

# shellcheck source=expect.sh
source "$(dirname "$(realpath "$0")")/expect.sh"
completion_workspace "$zel_binary"
# The offers for LINE, without their descriptions, one a line.
offers_for() {
  fish --no-config -c 'source $argv[1]; complete -C$argv[2]' "$script" "$1" | cut -f1
}

expect "zel " tools
expect "zel tools " run
expect_not "zel tools " types
expect "zel detect --" --content
expect "zel tools run --" --exe
some_id=$(zel types | awk -F '\t' '$1 >= 10 { print $1; exit }')
expect "zel filter " "$some_id"
expect_not "zel filter " 0
expect "zel choose open --types 1," "1,$some_id"
expect "zel choose " folder
exe=$work/install
zel tools create "My Tools|Blast search" --target /bin/true --exe "$exe" >/dev/null
expect "zel tools run --exe $exe " "My Tools|Blast search"
expect "zel tools run --exe=$exe " "My Tools|Blast search"
expect_not "zel tools run " "My Tools|Blast search"
mkdir -p "$work/folder"
touch "$work/file.gb"
cd "$work"
expect "zel tools list --exe " folder/
expect_not "zel tools list --exe " file.gb
expect "zel lines " file.gb

finish fish
