#!/bin/sh
# Soak of the transfers: many cycles of reads and writes, through vkrtool
# and through the window (headless), each under a random fault of a virtual
# radio, judged from the radio's own memory. Prints a line per cycle, a line
# per fault kind, and "soak: <cycles> cycles, <n> false successes,
# <m> unrestorable"; exits 0 only when both are 0. The seed is printed; a
# cycle that went wrong is replayed with the command printed beside it.
# usage: scripts/soak.sh <cycles> [--seed S] [--jobs J]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ]; then
    echo "usage: scripts/soak.sh <cycles> [--seed S] [--jobs J]" >&2
    exit 2
fi
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vkr-soak >/dev/null
export QT_QPA_PLATFORM=offscreen
# The cycles mostly wait on the protocol's time-outs: more workers than cores.
exec "$root/build/tests/soak/vkr-soak" "$@"
