#!/bin/sh
# Builds the project and runs every test headless, pass by pass: the test
# suite (then every fuzz target for about 3 minutes together and a short
# soak of the transfers under faults), the suite under the sanitizers, the
# suite built with Qt 6, the Debian package's checks, the suite built with
# clang, and the Windows build under Wine.
# usage: scripts/test.sh [--suite | --sanitize | --qt6 | --package | --clang | --windows | --fuzz [seconds] | --soak [cycles]]
#   (none)      every pass below but --fuzz and --soak alone, in turn; the
#               Windows pass only where Qt for Windows is built already
#               (scripts/windows-qt.sh builds it once: about two hours on 2
#               cores, more than CI allows the whole run)
#   --suite     the tests in build/, then the fuzz targets and the soak
#   --sanitize  the tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#               in build-sanitize/
#   --qt6       the tests built with Qt 6, in build-qt6/
#   --package   the Debian package (scripts/package.sh, into build/) and its
#               checks (scripts/check-package.sh)
#   --clang     the tests built with clang (as macOS builds), in build-clang/
#   --windows   the Windows build (cross-built with MinGW-w64, Qt built for it
#               once and kept), its tests, vkrtool.exe and the window against
#               virtual radios, and its installer, under Wine
#               (scripts/test-windows.sh)
#   --fuzz      only the fuzz targets (scripts/fuzz.sh), 180 s in all
#   --soak      only the soak (scripts/soak.sh), 24 cycles
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
fuzzSeconds=180
soakCycles=24
if [ $# -eq 0 ]; then
    # The package reuses the suite's build, so it comes after it.
    for pass in --suite --sanitize --qt6 --package --clang; do
        "$root/scripts/test.sh" "$pass"
    done
    if "$root/scripts/windows-qt.sh" --cached >/dev/null; then
        "$root/scripts/test.sh" --windows
    else
        echo "test: the Windows pass is left out, as Qt for Windows is not built here:" \
            "scripts/windows-qt.sh builds it once (about two hours on 2 cores), then scripts/test.sh --windows runs it" >&2
    fi
    exit 0
fi
case "$1" in
    --suite | --sanitize | --qt6 | --package | --clang | --windows | --fuzz | --soak) ;;
    *) echo "test: no option $1 (see the usage at the top of $0)" >&2; exit 2 ;;
esac
if [ "$1" = "--fuzz" ]; then
    exec "$root/scripts/fuzz.sh" "${2:-$fuzzSeconds}"
fi
if [ "$1" = "--soak" ]; then
    exec "$root/scripts/soak.sh" "${2:-$soakCycles}" --jobs 6
fi
if [ "$1" = "--windows" ]; then
    exec "$root/scripts/test-windows.sh"
fi
if [ "$1" = "--package" ]; then
    "$root/scripts/package.sh"
    exec "$root/scripts/check-package.sh" "$root"/build/vkr-frequency-tool_*.deb
fi
if [ "$1" = "--qt6" ]; then
    "$root/scripts/setup.sh" --qt6
    build="$root/build-qt6"
    options="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVKR_QT_MAJOR=6"
elif [ "$1" = "--clang" ]; then
    "$root/scripts/setup.sh" --fuzz
    build="$root/build-clang"
    options="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++"
elif [ "$1" = "--sanitize" ]; then
    build="$root/build-sanitize"
    options="-DCMAKE_BUILD_TYPE=Debug -DVKR_SANITIZE=ON -DVKR_BUILD_BENCH=OFF"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    build="$root/build"
    options="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
fi
"$root/scripts/build.sh" "$build" $options
export QT_QPA_PLATFORM=offscreen
# Device tests mostly wait on the radio's time-outs (a 100-channel transfer
# is a minute of quiet line), so three jobs per core overlap those waits;
# the sanitized GUI tests still leave the cores idle half the time.
cd "$build" && ctest --output-on-failure -j "$(( $(nproc) * 3 ))"
if [ "$1" = "--qt6" ]; then
    # A Qt 6 build must not load any of Qt 5.
    for program in app/VKRFrequencyTool cli/vkrtool sim/vkr-radio-sim; do
        if ldd "$build/$program" | grep 'libQt5'; then
            echo "test: $program loads Qt 5" >&2
            exit 1
        fi
    done
fi
# The parsers of outside bytes under the fuzzer (their own clang build,
# sanitizers included), then the transfers under random faults, each for a
# bounded time.
if [ "$1" = "--suite" ]; then
    "$root/scripts/fuzz.sh" "$fuzzSeconds"
    "$root/scripts/soak.sh" "$soakCycles" --jobs 6
fi
