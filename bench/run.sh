#!/usr/bin/env bash
# Runs every benchmark executable of the build, each printing its figures and ratios.
set -euo pipefail
build=${1:-build}
for src in "$(dirname "$0")"/*.cpp; do
  name=$(basename "$src" .cpp)
  exe="$build/bench/$name"
  [ -x "$exe" ] || { echo "missing $exe"; exit 1; }
  echo "== $name"
  "$exe" "$(realpath "$build/zel")"
  echo
done
