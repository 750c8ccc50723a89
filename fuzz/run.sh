#!/usr/bin/env bash
# Runs fuzz harnesses of a fuzz build (all, or those named) for SECONDS each, one after
# another, on a copy of their seeds: the seeds in fuzz/corpus/<harness>/ are never
# written. Under <build>/fuzz/: new inputs in corpus/<harness>/, crashes, leaks and slow
# inputs in findings/<harness>/, each run's whole output in logs/<harness>.log. Exit 1 if
# any harness found something.
#
#   fuzz/run.sh [BUILD [SECONDS [HARNESS...]]]      (build-fuzz, 60, all)
set -uo pipefail
here=$(dirname "$0")
build=${1:-build-fuzz}
seconds=${2:-60}
harnesses=("${@:3}")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in "$here"/*_fuzzer.cpp; do harnesses+=("$(basename "$source" .cpp)"); done
fi

failed=()
for name in "${harnesses[@]}"; do
  exe=$build/fuzz/$name
  [ -x "$exe" ] || { echo "fuzz/run.sh: missing $exe (make fuzz-build)" >&2; exit 2; }
  corpus=$build/fuzz/corpus/$name
  findings=$build/fuzz/findings/$name
  log=$build/fuzz/logs/$name.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  cp -R "$here/corpus/$name/." "$corpus/"
  echo "== $name: $seconds s, log $log"
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
  status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' "$log"
  if [ $status -ne 0 ]; then
    failed+=("$name")
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written|[^ ]+: runtime error)' "$log"
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz/run.sh: findings in ${failed[*]}" >&2
  exit 1
fi
