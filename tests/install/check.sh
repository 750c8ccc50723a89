#!/usr/bin/env bash
# Installs the build into a temporary prefix, compiles every installed header alone, then
# moves the installed tree and builds and runs a small consumer against it twice: through
# find_package(ZelUtil) and through pkg-config. Both must find the moved prefix by
# themselves. The desktop's entry, icons and MIME package are checked where they are
# installed, and as a package stages them.
set -euo pipefail
build=$1 here=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
test -x "$tmp/prefix/bin/zel"

# Each header on its own: it includes what it needs, and only what is installed.
inc="$tmp/prefix/include/zelutil"
# The Qt backend's headers need Qt's flags: they are compiled below, through pkg-config.
(cd "$inc" && find . -name '*.h' -not -path './platform/qt/*' | sed 's|^\./||' | sort) >"$tmp/headers"
test -s "$tmp/headers"
compile_alone() {
  local h=$1 dir
  dir=$(mktemp -d "$tmp/h.XXXXXX")
  printf '#include "%s"\n' "$h" >"$dir/one.cpp"
  if ! c++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I"$inc" "$dir/one.cpp" \
      2>"$dir/err"; then
    echo "installed header does not compile alone: $h"; head -n 5 "$dir/err"; return 1
  fi
}
export -f compile_alone
export tmp inc
xargs -P "$(nproc)" -I{} bash -c 'compile_alone "$@"' _ {} <"$tmp/headers"

# The desktop's files: the entry starts the installed zel on documents and is the one
# register-shell writes, the icon is there at every size, and the databases beside them
# know the types.
fail() { echo "installed desktop files: $*"; exit 1; }
share="$tmp/prefix/share"
entry="$share/applications/zelutil-zel.desktop"
grep -qx "Exec=$tmp/prefix/bin/zel view %F" "$entry" || fail "Exec is not the installed zel"
report=$(desktop-file-validate "$entry") && [ -z "$report" ] || fail "entry not valid: $report"
for s in 16 22 24 32 48 64 128 256; do
  test -s "$share/icons/hicolor/${s}x${s}/apps/zelutil-zel.png" || fail "no ${s}px icon"
done
grep -q "chemical/seq-na-genbank:\*\.gb" "$share/mime/globs2" || fail "MIME database not built"
grep -q "chemical/seq-na-genbank=zelutil-zel.desktop" "$share/applications/mimeinfo.cache" ||
  fail "desktop database not built"
test -s "$share/icons/hicolor/icon-theme.cache" || fail "icon cache not built"
env ZEL_HOME="$tmp/home" XDG_DATA_HOME="$tmp/user" "$tmp/prefix/bin/zel" register-shell >/dev/null
cmp -s "$share/mime/packages/zelutil-zel.xml" "$tmp/user/mime/packages/zelutil-zel.xml" ||
  fail "the MIME package differs from register-shell's"
diff <(grep -v '^Exec=' "$entry") <(grep -v '^Exec=' "$tmp/user/applications/zelutil-zel.desktop") ||
  fail "the entry differs from register-shell's"
# Staged for a package (DESTDIR): Exec names the final place, and no database is built.
DESTDIR="$tmp/dest" cmake --install "$build" --prefix /opt/zelutil >/dev/null
grep -qx "Exec=/opt/zelutil/bin/zel view %F" "$tmp/dest/opt/zelutil/share/applications/zelutil-zel.desktop" ||
  fail "a staged entry does not name the final zel"
test ! -e "$tmp/dest/opt/zelutil/share/mime/mime.cache" || fail "a staged install built databases"
rm -rf "$tmp/dest" "$tmp/user" "$tmp/home"

mv "$tmp/prefix" "$tmp/moved"
prefix="$tmp/moved"

# The installed command's demo walks the installed examples, never the source tree's.
demo=$(env -u ZEL_EXAMPLES ZEL_HOME="$tmp/home" "$prefix/bin/zel" demo 2>&1) || {
  echo "installed zel demo failed:"; echo "$demo"; exit 1; }
grep -q "$prefix/share/zelutil/examples" <<<"$demo"
! grep -q "$(cd "$here/../.." && pwd)/examples" <<<"$demo"
# The moved command finds its libraries, the Qt backend for drawing among them, by itself.
env -u LD_LIBRARY_PATH "$prefix/bin/zel" tip hello -o "$tmp/tip.png" | grep -q "^$tmp/tip.png"
libdir=$(ls -d "$prefix"/lib*/pkgconfig | head -n1)
export LD_LIBRARY_PATH="$(dirname "$libdir"):${LD_LIBRARY_PATH:-}"

cmake -S "$here/consumer" -B "$tmp/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/cmake-build" >/dev/null
"$tmp/cmake-build/consumer" "$tmp/a.sxf" | grep -qx 'DNA/RNA Documents .gb'

export PKG_CONFIG_PATH="$libdir"
test "$(pkg-config --variable=prefix zelutil | xargs realpath)" = "$(realpath "$prefix")"
c++ "$here/consumer/main.cpp" -o "$tmp/pc-consumer" $(pkg-config --cflags --libs zelutil)
"$tmp/pc-consumer" "$tmp/b.sxf" | grep -qx 'DNA/RNA Documents .gb'

# The Qt backend: each installed header compiles alone with its pkg-config flags, and a
# program draws with it.
for h in "$prefix"/include/zelutil/platform/qt/*.h; do
  printf '#include "%s"\n' "${h#$prefix/include/zelutil/}" >"$tmp/qt-one.cpp"
  c++ -Wall -Wextra -Werror -fsyntax-only $(pkg-config --cflags zelutil-qt) "$tmp/qt-one.cpp"
done
c++ "$here/consumer/qt_main.cpp" -o "$tmp/qt-consumer" $(pkg-config --cflags --libs zelutil-qt)
"$tmp/qt-consumer" | grep -qx 'status 0, drawn'
echo "installed package: $(wc -l <"$tmp/headers") headers alone, cmake and pkg-config consumers OK"
echo "installed Qt backend: headers alone and a pkg-config consumer OK"
echo "installed desktop files: entry, icons, MIME package and their databases OK"
