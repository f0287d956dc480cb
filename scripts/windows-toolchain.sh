#!/bin/sh
# Prints a folder of x86_64-w64-mingw32-* commands that are the POSIX-thread
# variants of Debian's MinGW-w64 compilers (the programs use std::thread and
# std::mutex, which the win32 variant lacks), whatever the system's
# alternatives point at. Qt and the programs must use the same variant: both
# ship a libstdc++-6.dll of that name.
set -eu
folder=${XDG_CACHE_HOME:-$HOME/.cache}/vkr-mingw64-posix
mkdir -p "$folder"
for tool in /usr/bin/x86_64-w64-mingw32-*; do
    name=$(basename "$tool")
    case "$name" in
        *-posix | *-win32) continue ;;
    esac
    target=$tool
    [ -e "$tool-posix" ] && target="$tool-posix"
    ln -sfn "$target" "$folder/$name"
done
echo "$folder"
