#!/bin/sh
# Runs the API reference's tour as a host runs it: no display, its settings in a fresh
# folder of their own, removed afterwards.
set -u
home=$(mktemp -d) || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY ZEL_HOME="$home" "$1"
status=$?
rm -rf "$home"
exit $status
