#!/bin/sh
# Makes the Windows installer VKRFrequencyTool-<version>-setup.exe (NSIS,
# packaging/windows/installer.nsi) and a portable
# VKRFrequencyTool-<version>-windows.zip of the same files, in the build
# folder (default build-windows/, cross-built by scripts/windows-build.sh):
# VKRFrequencyTool.exe and vkrtool.exe; the DLLs their import tables name,
# and those the DLLs name, found among Qt's and the MinGW runtime's (the
# system's own are Windows'); the plugins Qt loads at run time, which no
# import table names (the windows platform, the Windows style, Windows
# printing) with the DLLs they name; the README as the manual, with CR LF.
# The paths of the two are the last lines printed.
# usage: scripts/package-windows.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
"$root/scripts/windows-build.sh" "$build" >/dev/null
qt=$("$root/scripts/windows-qt.sh")
tools=$("$root/scripts/windows-toolchain.sh")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=VKRFrequencyTool-$version
out="$build/package"
stage="$out/$name"
rm -rf "$out"
mkdir -p "$stage"

runtime=$(dirname "$("$tools/x86_64-w64-mingw32-g++" -print-file-name=libstdc++-6.dll)")
threads=$(dirname "$("$tools/x86_64-w64-mingw32-g++" -print-file-name=libwinpthread-1.dll)")
for program in app/VKRFrequencyTool.exe cli/vkrtool.exe; do
    "$tools/x86_64-w64-mingw32-strip" -o "$stage/$(basename "$program")" "$build/$program"
done
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll printsupport/windowsprintersupport.dll; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$qt/plugins/$plugin" "$stage/$plugin"
done

# The DLLs named by every file staged, until no new one is named.
imports() {
    "$tools/x86_64-w64-mingw32-objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}
pending=$(find "$stage" -name '*.exe' -o -name '*.dll')
while [ -n "$pending" ]; do
    next=""
    for file in $pending; do
        for dll in $(imports "$file"); do
            [ -e "$stage/$dll" ] && continue
            for folder in "$qt/bin" "$runtime" "$threads"; do
                if [ -e "$folder/$dll" ]; then
                    cp "$folder/$dll" "$stage/$dll"
                    next="$next $stage/$dll"
                    break
                fi
            done
        done
    done
    pending=$next
done

sed 's/$/\r/' "$root/README.md" >"$stage/README.txt"
sed 's/$/\r/' "$root/packaging/copyright" >"$stage/copyright.txt"

# The installer's lists: a File line for each file (by folder), and the
# Delete lines the uninstaller takes them back with.
(
    cd "$stage"
    for folder in $(find . -type d | sort); do
        printf 'SetOutPath "$INSTDIR%s"\n' "$(printf '%s' "${folder#.}" | tr / '\\')"
        find "$folder" -maxdepth 1 -type f | sort | while read -r file; do
            printf 'File "%s/%s"\n' "$stage" "${file#./}"
        done
    done
) >"$out/files.nsh"
(
    cd "$stage"
    find . -type f | sort | while read -r file; do
        printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${file#./}" | tr / '\\')"
    done
    find . -mindepth 1 -type d | sort -r | while read -r folder; do
        printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${folder#./}" | tr / '\\')"
    done
) >"$out/installed.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$out/files.nsh" -DINSTALLED="$out/installed.nsh" \
    -DICON="$root/resources/VKRFrequencyTool.ico" -DOUTFILE="$out/$name-setup.exe" \
    "$root/packaging/windows/installer.nsi" >"$out/makensis.log" 2>&1 || { cat "$out/makensis.log"; exit 1; }
(cd "$out" && zip -q -r -X "$name-windows.zip" "$name")
ls "$out/$name-setup.exe" "$out/$name-windows.zip"
