#!/usr/bin/env bash
# Asks an interactive zsh what zel's zsh completion offers for command lines (Tab, on a
# pseudo-terminal) and checks it. Usage: zsh-completion.sh COMPLETION-DIR ZEL
set -uo pipefail
completions=$(realpath "$1")
zel_binary=$(realpath "$2")
capture=$(dirname "$(realpath "$0")")/zsh-capture.zsh
command -v zsh >/dev/null || { echo "zsh is not installed"; exit 1; }
zsh -n "$completions/_zel" || { echo "FAIL: $completions/_zel does not parse"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZEL_HOME=$work/home
mkdir -p "$ZEL_HOME" "$work/bin"
ln -s "$zel_binary" "$work/bin/zel"
export PATH=$work/bin:$PATH

failures=0
# The matches for LINE, one a line; a completion that never ends is cut off.
offers_for() {
  timeout 20 zsh -f "$capture" "$completions" "$1" | grep -v '^$'
}
expect() {  # expect LINE WORD: WORD is among the offers
  local offers
  offers=$(offers_for "$1")
  if ! grep -qxF -- "$2" <<<"$offers"; then
    echo "FAIL: '$1<TAB>' does not offer [$2]; it offers:"; sed 's/^/  /' <<<"$offers"
    failures=$((failures + 1))
  fi
}
expect_not() {  # expect_not LINE WORD: WORD is not among the offers
  if offers_for "$1" | grep -qxF -- "$2"; then
    echo "FAIL: '$1<TAB>' offers [$2]"
    failures=$((failures + 1))
  fi
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

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "zsh completion: all offers as expected"
