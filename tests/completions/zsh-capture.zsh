#!/usr/bin/env zsh
# zsh-capture.zsh COMPLETION-DIR LINE: prints each match zsh's completion adds for
# LINE<TAB>, one a line, in an interactive zsh on a pseudo-terminal with the completion
# functions of COMPLETION-DIR first on its fpath.
zmodload zsh/zpty || exit 1
setup=$(mktemp)
trap 'rm -f $setup' EXIT
# The markers are split in the source, so that the terminal's echo of it matches neither.
cat >$setup <<SETUP
PS1=''
fpath=(${(q)1} \$fpath)
autoload -Uz compinit && compinit -u -D
compadd() {
  if [[ \${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "\$@"; return; fi
  local -a hits
  builtin compadd -A hits "\$@"
  local h
  for h in \$hits; do print -r -- "<MAT""CH>\$h"; done
  builtin compadd "\$@"
}
comppostfuncs=(_capture_end)
_capture_end() { print -r -- "<E""ND>"; exit }
bindkey '^I' complete-word
SETUP
zpty z zsh -f -i
zpty -w z "source ${(q)setup}"
zpty -n -w z "$2"$'\t'
while zpty -r z line; do
  line=${${line%$'\n'}%$'\r'}
  [[ $line == *'<END>'* ]] && break
  [[ $line == *'<MATCH>'* ]] && print -r -- "${line#*<MATCH>}"
done
zpty -d z
