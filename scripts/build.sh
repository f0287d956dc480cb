#!/bin/sh
# Configures and builds the project into the given folder.
# usage: scripts/build.sh <build folder> [cmake options...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
"$root/scripts/setup.sh"
mkdir -p "$build"
cmake -S "$root" -B "$build" "$@" >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
