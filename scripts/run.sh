#!/bin/sh
# Builds the program and starts it.
# usage: scripts/run.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display found; start it under a virtual one: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
exec "$root/build/app/VKRFrequencyTool" "$@"
