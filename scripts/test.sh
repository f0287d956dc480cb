#!/bin/sh
# Builds the project and runs every test headless.
# usage: scripts/test.sh [--sanitize]
#   --sanitize  a second build of the tests under AddressSanitizer and
#               UndefinedBehaviorSanitizer, in build-sanitize/
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
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
# Device tests mostly wait on the radio's time-outs, so more jobs than cores
# overlap those waits.
cd "$build" && ctest --output-on-failure -j "$(( $(nproc) * 2 ))"
# The channel file reader under the fuzzer (its own clang build, sanitizers
# included), for a bounded time.
if [ "${1:-}" != "--sanitize" ]; then
    "$root/scripts/fuzz.sh" 60
fi
