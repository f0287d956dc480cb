#!/bin/sh
# Cross-builds VKRFrequencyTool.exe, vkrtool.exe and the tests that need no
# window for 64-bit Windows, from the same sources and CMake files as the
# Linux build, with Debian's MinGW-w64 compilers (cmake/mingw-w64.cmake)
# against Qt and the libraries built for Windows (scripts/windows-qt.sh,
# scripts/windows-libs.sh; each built once and kept).
# usage: scripts/windows-build.sh [build folder]     (default: build-windows/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
qt=$("$root/scripts/windows-qt.sh")
libs=$("$root/scripts/windows-libs.sh")
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt;$libs" -DCMAKE_BUILD_TYPE=Release -DVKR_BUILD_BENCH=OFF \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
