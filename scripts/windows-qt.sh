#!/bin/sh
# Builds Qt 5.15's qtbase for 64-bit Windows (MinGW-w64) from Debian's source
# package, once, into a cache folder outside the checkout that later runs
# reuse. Only what the programs and their tests load: Core, Gui, Widgets,
# PrintSupport, Network (with Windows' own TLS, Schannel), Test, the windows
# platform plugin and the Windows style; release only, no examples, tests,
# OpenGL, SQL, XML or D-Bus.
# usage: scripts/windows-qt.sh            prints the Qt folder (building it when missing)
#        scripts/windows-qt.sh --cached   prints it only when it is built; else exits 1
# The folder is $VKR_WINDOWS_QT, by default ~/.cache/vkr-qt-5.15.8-mingw64.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
version=5.15.8
qt=${VKR_WINDOWS_QT:-${XDG_CACHE_HOME:-$HOME/.cache}/vkr-qt-$version-mingw64}
if [ -f "$qt/.complete" ]; then
    echo "$qt"
    exit 0
fi
[ "${1:-}" != "--cached" ] || exit 1

"$root/scripts/setup.sh" --windows >&2
toolchain=$("$root/scripts/windows-toolchain.sh")

# The work folder is this script's own: a build stopped half-way is begun
# again, never taken for a finished one (the marker comes last).
work="$qt.build"
rm -rf "$work" "$qt"
mkdir -p "$work/lists/partial"
cd "$work"
echo "deb-src http://deb.debian.org/debian bookworm main" >sources.list
apt="-o Dir::Etc::sourcelist=$work/sources.list -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$work/lists -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get $apt update -q >&2
# shellcheck disable=SC2086
apt-get $apt source --download-only qtbase-opensource-src >&2
ls qtbase-opensource-src_$version+*.dsc >/dev/null || { echo "windows-qt: Debian no longer has qtbase $version" >&2; exit 1; }
# Debian's patches (its security fixes among them) applied, as Debian builds it.
dpkg-source -x qtbase-opensource-src_*.dsc src >&2
# Schannel's libraries are named as Windows spells them, which only a
# case-blind file system finds; MinGW-w64's import libraries are lower case.
sed -i 's/"-lSecur32" "-lCrypt32"/"-lsecur32" "-lcrypt32"/' src/src/network/ssl/ssl.pri
grep -q '"-lsecur32" "-lcrypt32"' src/src/network/ssl/ssl.pri ||
    { echo "windows-qt: the Schannel libraries are no longer named in ssl.pri as expected" >&2; exit 1; }
# Debian's source leaves out src/3rdparty/wintab (its licence allows no
# changes), whose header the windows platform plugin's WinTab support needs:
# the plugin is built without it (pen tablets then come only through
# Windows' own pointer messages, which it keeps; the program has no use for
# either).
sed -i 's/QT_CONFIG(tabletevent)/0/' src/src/plugins/platforms/windows/qwindowscontext.cpp
sed -i 's/^qtConfig(tabletevent) {/false {/' src/src/plugins/platforms/windows/windows.pri
grep -q '^false {' src/src/plugins/platforms/windows/windows.pri ||
    { echo "windows-qt: the windows plugin's tablet support is no longer where expected" >&2; exit 1; }

started=$(date +%s)
mkdir build
cd build
../src/configure -xplatform win32-g++ -device-option CROSS_COMPILE="$toolchain/x86_64-w64-mingw32-" \
    -prefix "$qt" -release -opensource -confirm-license -nomake examples -nomake tests \
    -no-opengl -no-dbus -no-icu -no-fontconfig -no-feature-sql -no-feature-xml -no-feature-concurrent \
    -no-feature-vulkan -no-direct2d -no-libjpeg -no-gif \
    -qt-zlib -qt-libpng -qt-pcre -qt-freetype -qt-harfbuzz -qt-doubleconversion \
    -schannel -no-openssl -no-compile-examples >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log" >&2; exit 1; }
make -j "$(nproc)" >"$work/make.log" 2>&1 || { tail -60 "$work/make.log" >&2; exit 1; }
make install >"$work/install.log" 2>&1 || { tail -40 "$work/install.log" >&2; exit 1; }
echo "windows-qt: Qt $version for MinGW-w64 built in $(( ($(date +%s) - started) / 60 )) min, $(du -sh "$qt" | cut -f1) in $qt" >&2
touch "$qt/.complete"
cd /
rm -rf "$work"
echo "$qt"
