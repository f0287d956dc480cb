#!/bin/sh
# Builds the program and starts it attached to a virtual radio (a VKR627A
# with a few channels in its memory, on a pseudo-terminal), so that a radio
# is found, read and written without one. The radio stops when the program
# ends. Options for the virtual radio (see build/sim/vkr-radio-sim --help)
# can be given in VKR_RADIO_OPTIONS, e.g. VKR_RADIO_OPTIONS="--model VKR627S".
#
# With --real the program starts alone and scans the machine's own serial
# ports, for use with a real radio.
#
# usage: scripts/run.sh [--real]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
real=no
if [ "${1:-}" = "--real" ]; then
    real=yes
    shift
fi
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display found; start it under a virtual one: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
program="$root/build/app/VKRFrequencyTool"

if [ "$real" = yes ]; then
    unset VKR_SERIAL_PORTS
    exec "$program" "$@"
fi

radio_output=$(mktemp)
# The options are meant to be split into words.
# shellcheck disable=SC2086
"$root/build/sim/vkr-radio-sim" \
    --channel 0:TOWER:118.100 --channel 1:GROUND:121.900 --channel 2:APPROACH:119.700 \
    --channel 3:ATIS:126.125 --channel 4:INFO:124.150 --channel 5:RADAR:134.155 \
    --channel 6:EMERG:121.500 ${VKR_RADIO_OPTIONS:-} >"$radio_output" &
radio=$!
trap 'kill "$radio" 2>/dev/null || true; wait "$radio" 2>/dev/null || true; rm -f "$radio_output"' EXIT
trap 'exit 130' INT TERM

# The radio prints the path of its serial port once it serves it.
tries=0
while [ ! -s "$radio_output" ]; do
    if ! kill -0 "$radio" 2>/dev/null || [ "$tries" -ge 100 ]; then
        echo "run: the virtual radio did not start" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done
port=$(head -n 1 "$radio_output")
echo "run: virtual radio on $port"

status=0
VKR_SERIAL_PORTS="$port" "$program" "$@" || status=$?
exit "$status"
