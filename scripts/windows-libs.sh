#!/bin/sh
# Makes the two small libraries the programs use besides Qt, for 64-bit
# Windows (MinGW-w64), once, into a cache folder that later runs reuse:
# libcsv compiled from Debian's source package of the version the Linux
# build uses, and CLI11's headers (header-only) with its CMake package,
# copied from the Debian package installed.
# usage: scripts/windows-libs.sh      prints the folder (making it when missing)
# The folder is $VKR_WINDOWS_LIBS, by default ~/.cache/vkr-libs-<versions>-mingw64.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --windows >&2
csv=$(dpkg-query -W -f='${Version}' libcsv-dev)
cli11=$(dpkg-query -W -f='${Version}' libcli11-dev)
libs=${VKR_WINDOWS_LIBS:-${XDG_CACHE_HOME:-$HOME/.cache}/vkr-libs-csv$csv-cli11-$cli11-mingw64}
if [ -f "$libs/.complete" ]; then
    echo "$libs"
    exit 0
fi
toolchain=$("$root/scripts/windows-toolchain.sh")

# The work folder is this script's own; the marker comes last, so that a
# run stopped half-way is begun again.
work="$libs.build"
rm -rf "$work" "$libs"
mkdir -p "$work/lists/partial" "$libs/include" "$libs/lib" "$libs/share/cmake"
cd "$work"
echo "deb-src http://deb.debian.org/debian bookworm main" >sources.list
apt="-o Dir::Etc::sourcelist=$work/sources.list -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$work/lists -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get $apt update -q >&2
# shellcheck disable=SC2086
apt-get $apt source --download-only "libcsv=$csv" >&2
dpkg-source -x libcsv_*.dsc src >&2
"$toolchain/x86_64-w64-mingw32-gcc" -O2 -c src/libcsv.c -o libcsv.o
"$toolchain/x86_64-w64-mingw32-ar" rcs "$libs/lib/libcsv.a" libcsv.o
cp src/csv.h "$libs/include/"

cp -r /usr/include/CLI "$libs/include/"
# Its package finds the headers relative to itself.
cp -r /usr/share/cmake/CLI11 "$libs/share/cmake/"

touch "$libs/.complete"
cd /
rm -rf "$work"
echo "$libs"
