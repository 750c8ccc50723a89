# What the completion checks share; sourced by each shell's check, which defines
# offers_for LINE (the offers for LINE, one a line) before calling expect.

# A scratch folder ($work) with its own ZEL_HOME and the zel under test on the PATH as
# "zel": completion runs zel by the name typed, as installed. Removed on exit.
completion_workspace() {  # completion_workspace ZEL
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export ZEL_HOME=$work/home
  mkdir -p "$ZEL_HOME" "$work/bin"
  ln -s "$1" "$work/bin/zel"
  export PATH=$work/bin:$PATH
  failures=0
}

expect() {  # expect LINE WORD: WORD is among the offers
  local offers
  offers=$(offers_for "$1")
  if ! grep -qxF -- "$2" <<<"$offers"; then
    echo "FAIL: '$1<TAB>' does not offer [$2]; it offers:"; sed 's/^/  [/; s/$/]/' <<<"$offers"
    failures=$((failures + 1))
  fi
}

expect_not() {  # expect_not LINE WORD: WORD is not among the offers
  if offers_for "$1" | grep -qxF -- "$2"; then
    echo "FAIL: '$1<TAB>' offers [$2]"
    failures=$((failures + 1))
  fi
}

finish() {  # finish SHELL: the verdict, as the exit status
  if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
  fi
  echo "$1 completion: all offers as expected"
}
