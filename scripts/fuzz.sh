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
flags="-std=c++17 -g -O1 -fPIC -Wall -Wextra -Werror
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# shellcheck disable=SC2046,SC2086
$cxx $flags $(pkg-config --cflags Qt5Core) -I"$root/files" -I"$root/tests/files" \
    "$root/files/CsvTable.cpp" "$root/files/ChannelCsv.cpp" "$root/files/Utf8Check.cpp" \
    "$root/tests/fuzz/csv_fuzz_target.cpp" \
    $(pkg-config --libs Qt5Core) -o "$build/csv_fuzz"

echo "fuzz: reading channel files for $seconds s"
if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/csv_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/" \
        "$build/corpus" "$root/tests/fuzz/corpus" >"$build/fuzz.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz.log" || true
else
    tail -n 60 "$build/fuzz.log"
    echo "fuzz: FAILED (log: $build/fuzz.log)" >&2
    exit 1
fi
