#!/bin/sh
# Redraws the program's images under resources/ with the project's generator.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-images" -DVKR_BUILD_TESTS=OFF -DVKR_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-images" --target vkr-image-generator
QT_QPA_PLATFORM=offscreen "$root/build-images/resources/vkr-image-generator" "$root/resources"
