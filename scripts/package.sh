#!/bin/sh
# Builds the program with Qt 5 and makes its Debian package with CPack: the
# window program, vkrtool and the virtual radio, the desktop entry, icons,
# AppStream metainfo, man pages, copyright and changelog, all under /usr.
# The package is written into the build folder (default build/) as
# vkr-frequency-tool_<version>_<architecture>.deb; its path is the last line
# printed. scripts/check-package.sh checks it.
# usage: scripts/package.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh" --package
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
rm -f "$build"/vkr-frequency-tool_*.deb
(cd "$build" && cpack -G DEB) >"$build/package.log" 2>&1 || { cat "$build/package.log"; exit 1; }
ls "$build"/vkr-frequency-tool_*.deb
