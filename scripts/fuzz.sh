#!/bin/sh
# Builds the fuzz targets (clang's libFuzzer, with AddressSanitizer, leak
# detection and UndefinedBehaviorSanitizer) into build-fuzz/ and runs them
# for a bounded time: the named target, or every target with the time split
# between them. New inputs a target finds stay in build-fuzz/corpus-<target>/;
# a failing input is saved as build-fuzz/<target>-crash-*.
# usage: scripts/fuzz.sh [seconds] [target]   (default 60 s, all targets)
#   targets: csv_fuzz (channel files), import_fuzz (CSV, CHIRP, OurAirports),
#            link_read_fuzz (the read loop over a radio's bytes), probe_fuzz
#            (the probe over any answers), validators_fuzz (name and frequency
#            validators, with the frame round trip)
#   VKR_FUZZ_BUILD=<folder> builds and keeps the corpora there instead.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
targets="csv_fuzz import_fuzz link_read_fuzz probe_fuzz validators_fuzz"
if [ -n "${2:-}" ]; then
    case " $targets " in
        *" $2 "*) targets=$2 ;;
        *) echo "fuzz: no target $2 (targets: $targets)" >&2; exit 2 ;;
    esac
fi
"$root/scripts/setup.sh" --fuzz

build=${VKR_FUZZ_BUILD:-$root/build-fuzz}
mkdir -p "$build"
cxx=$(command -v clang++ || command -v clang++-14)
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVKR_FUZZ=ON -DVKR_BUILD_TESTS=OFF -DVKR_BUILD_BENCH=OFF >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target $targets -j "$(nproc)" >"$build/build.log" 2>&1 \
    || { cat "$build/build.log"; exit 1; }

count=$(echo $targets | wc -w)
each=$(( seconds / count ))
[ "$each" -ge 1 ] || each=1
for target in $targets; do
    corpus="$build/corpus-$target" seeds="$root/tests/fuzz/corpus-$target" prefix="$build/$target-"
    log="$build/fuzz-$target.log"
    mkdir -p "$corpus"
    dictionary=""
    [ -f "$root/tests/fuzz/$target.dict" ] && dictionary="-dict=$root/tests/fuzz/$target.dict"
    echo "fuzz: $target for $each s"
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/tests/fuzz/$target" -max_total_time="$each" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$prefix" $dictionary "$corpus" "$seeds" >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$log" || true
    else
        tail -n 60 "$log"
        echo "fuzz: $target FAILED (log: $log)" >&2
        exit 1
    fi
done
