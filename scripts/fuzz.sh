#!/bin/sh
# Builds the channel file fuzz target (clang's libFuzzer, with
# AddressSanitizer, leak detection and UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs it for a bounded time. New inputs it finds stay in
# build-fuzz/corpus; a failing input is saved as build-fuzz/crash-*.
# usage: scripts/fuzz.sh [seconds]   (default 60)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/setup.sh" --fuzz

build="$root/build-fuzz"
mkdir -p "$build/corpus"
cxx=$(command -v clang++ || command -v clang++-14)
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVKR_FUZZ=ON -DVKR_BUILD_TESTS=OFF -DVKR_BUILD_BENCH=OFF >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target csv_fuzz -j "$(nproc)" >"$build/build.log" 2>&1 \
    || { cat "$build/build.log"; exit 1; }

echo "fuzz: reading channel files for $seconds s"
if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/tests/fuzz/csv_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/" \
        "$build/corpus" "$root/tests/fuzz/corpus" >"$build/fuzz.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz.log" || true
else
    tail -n 60 "$build/fuzz.log"
    echo "fuzz: FAILED (log: $build/fuzz.log)" >&2
    exit 1
fi
