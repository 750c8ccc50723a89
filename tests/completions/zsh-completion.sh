#!/usr/bin/env bash
# Asks an interactive zsh what zel's zsh completion offers for command lines (Tab, on a
# pseudo-terminal) and checks it. Usage: zsh-completion.sh COMPLETION-DIR ZEL
set -uo pipefail
completions=$(realpath "$1")
zel_binary=$(realpath "$2")
capture=$(dirname "$(realpath "$0")")/zsh-capture.zsh
command -v zsh >/dev/null || { echo "zsh is not installed"; exit 1; }
zsh -n "$completions/_zel" || { echo "FAIL: $completions/_zel does not parse"; exit 1; }

here=$(dirname "$(realpath "$0")")
# shellcheck source=expect.sh
source "$here/expect.sh"
completion_workspace "$zel_binary"
# The matches for LINE, one a line; a completion that never ends is cut off.
offers_for() {
  timeout 20 zsh -f "$capture" "$completions" "$1" | grep -v '^$'
}

expect "zel " tools
expect "zel tools " run
expect_not "zel tools " types
expect "zel detect --" --content
expect "zel tools run --" --exe
some_id=$(zel types | awk -F '\t' '$1 >= 10 { print $1; exit }')
expect "zel filter " "$some_id"
expect_not "zel filter " 0
expect "zel choose open --types 1," "$some_id"
expect "zel choose " folder
# zsh quotes a menu path as the line needs: with backslashes, or inside the quote opened.
exe=$work/install
zel tools create "My Tools|Blast search" --target /bin/true --exe "$exe" >/dev/null
expect "zel tools run --exe $exe " 'My\ Tools\|Blast\ search'
expect "zel tools run --exe=$exe " 'My\ Tools\|Blast\ search'
expect "zel tools run --exe $exe 'My" "My Tools|Blast search"
expect_not "zel tools run " 'My\ Tools\|Blast\ search'
mkdir -p "$work/folder"
touch "$work/file.gb"
cd "$work"
expect "zel tools list --exe " folder
expect_not "zel tools list --exe " file.gb
expect "zel lines " file.gb

finish zsh
