#!/usr/bin/env bash
# The ABI check of the shared libraries against the baselines beside this script.
#
#   abi.sh check  BUILD   compares each built library with its baseline; fails on any
#                         difference, additions included, printing abidiff's report
#   abi.sh update BUILD   writes the baselines from the built libraries (a change of the
#                         interface, or of the compiler, accepted)
#
# A baseline is written by abidw from the library's debug information, limited to the
# types its installed headers declare (the staged include folders of the build).
set -euo pipefail
if [ $# -ne 2 ] || [[ "$1" != check && "$1" != update ]]; then
  echo "usage: abi/abi.sh check|update BUILD_DIR" >&2
  exit 2
fi
mode=$1 build=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

# Library, baseline, staged header folders: one line each.
libraries=(
  "libzelutil.so|$here/libzelutil.abi|$build/include/zelutil"
  "libzelutil-qt.so|$here/libzelutil-qt.abi|$build/include-qt/zelutil $build/include/zelutil"
)

command -v abidw >/dev/null || {
  echo "abi: abidw not found (scripts/deps installs abigail-tools)"
  exit 2
}

# The bits of abidiff's status (libabigail's abidiff_status).
explain() {
  local status=$1 out=()
  ((status & 1)) && out+=("abidiff failed")
  ((status & 2)) && out+=("abidiff was used wrongly")
  ((status & 4)) && out+=("the interface changed")
  ((status & 8)) && out+=("an incompatible change: a symbol removed or a layout changed")
  local joined
  joined=$(printf '%s; ' "${out[@]}")
  echo "${joined%; }"
}

compiler() { readelf -p .comment "$1" 2>/dev/null | sed -n 's/.*\] *//p' | grep -m1 -i 'gcc\|clang'; }

failed=0
for entry in "${libraries[@]}"; do
  IFS='|' read -r lib baseline headers <<<"$entry"
  path="$build/$lib"
  [ -f "$path" ] || { echo "abi: $path is not built"; exit 2; }
  header_args=()
  for dir in $headers; do header_args+=(--headers-dir "$dir"); done
  start=$SECONDS
  if [ "$mode" = update ]; then
    abidw --drop-private-types "${header_args[@]}" --no-corpus-path --no-show-locs --out-file "$baseline" "$path"
    compiler "$path" >"${baseline%.abi}.compiler"
    echo "abi: $lib: baseline written to abi/$(basename "$baseline") in $((SECONDS - start)) s"
    continue
  fi
  [ -f "$baseline" ] || { echo "abi: no baseline abi/$(basename "$baseline"): make abi-update"; exit 2; }
  status=0
  report=$(abidiff --drop-private-types "${header_args[@]/--headers-dir/--headers-dir2}" \
    "$baseline" "$path" 2>&1) || status=$?
  if [ "$status" -eq 0 ]; then
    echo "abi: $lib: as the baseline ($((SECONDS - start)) s)"
    continue
  fi
  failed=1
  echo "abi: $lib differs from its baseline: status $status, $(explain "$status")"
  echo "$report"
  was=$(cat "${baseline%.abi}.compiler" 2>/dev/null || echo unknown)
  now=$(compiler "$path")
  if [ "$was" != "$now" ]; then
    echo "abi: the baseline was written by $was, this build by $now: a compiler change"
    echo "abi: alone is accepted with make abi-update"
  fi
  echo "abi: to accept the change: make abi-update (and see README: when the soname changes)"
done
exit $failed
