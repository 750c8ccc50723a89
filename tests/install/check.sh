#!/usr/bin/env bash
# Installs the build into a temporary prefix, then builds and runs a tiny consumer
# against it twice: once through find_package(ZelUtil), once through pkg-config.
set -euo pipefail
build=$1 here=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
test -x "$tmp/prefix/bin/zel"

cmake -S "$here/consumer" -B "$tmp/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/prefix" >/dev/null
cmake --build "$tmp/cmake-build" >/dev/null
LD_LIBRARY_PATH="$tmp/prefix/lib:$tmp/prefix/lib64:${LD_LIBRARY_PATH:-}" "$tmp/cmake-build/consumer" | grep -qx 'DNA/RNA Documents .gb'

libdir=$(ls -d "$tmp"/prefix/lib*/pkgconfig | head -n1)
export PKG_CONFIG_PATH="$libdir"
# pkg-config files carry the configured prefix; point it at the temporary one.
sed -i "s|^prefix=.*|prefix=$tmp/prefix|" "$libdir/zelutil.pc"
c++ "$here/consumer/main.cpp" -o "$tmp/pc-consumer" $(pkg-config --cflags --libs zelutil)
LD_LIBRARY_PATH="$(dirname "$libdir")" "$tmp/pc-consumer" | grep -qx 'DNA/RNA Documents .gb'

# The Qt backend: each installed header compiles alone, and a program draws with it.
for h in "$tmp"/prefix/include/zelutil/platform/qt/*.h; do
  c++ -fsyntax-only -x c++ $(pkg-config --cflags zelutil-qt) "$h"
done
c++ "$here/consumer/qt_main.cpp" -o "$tmp/qt-consumer" $(pkg-config --cflags --libs zelutil-qt)
LD_LIBRARY_PATH="$(dirname "$libdir")" "$tmp/qt-consumer" | grep -qx 'status 0, drawn'
echo "installed package: cmake and pkg-config consumers OK"
