#!/bin/sh
# Takes docs/main-window.png: the program under Xvfb, attached to a virtual
# radio, after the radio was found and its channels were read; then
# docs/about-box.png: the box Help > About opens.
# usage: [VKR_BUILD_DIR=<build folder>] scripts/screenshot.sh   (default: build/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKR_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get install -y -q --no-install-recommends xvfb xauth xdotool >/dev/null
        break
    fi
done
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vkr-screen-grab >/dev/null

work=$(mktemp -d)
# Xvfb picks a free display number and writes it to fd 3, so that the
# script never draws on (or grabs) another display of the machine.
Xvfb -displayfd 3 -screen 0 560x520x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
"$build/sim/vkr-radio-sim" \
    --channel 0:TOWER:118.100 --channel 1:GROUND:121.900 --channel 2:APPROACH:119.700 \
    --channel 3:ATIS:126.125 --channel 4:INFO:124.150 --channel 5:RADAR:134.155 \
    --channel 6:EMERG:121.500 --channel 7:GLIDER:123.505 --channel 8:FIS:120.655 \
    >"$work/radio" &
radio=$!
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    kill "$radio" "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Polls a condition for up to the given number of seconds.
wait_for() {
    seconds=$1
    shift
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        if [ "$tries" -gt $((seconds * 10)) ]; then
            echo "screenshot: gave up waiting for: $*" >&2
            exit 1
        fi
        sleep 0.1
    done
}
wait_for 10 test -s "$work/radio"
wait_for 10 test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
wait_for 10 xdotool getdisplaygeometry

VKR_SERIAL_PORTS=$(head -n 1 "$work/radio") "$build/app/VKRFrequencyTool" &
program=$!
wait_for 10 xdotool search --name "^VKR Frequency Tool$"
window=$(xdotool search --name "^VKR Frequency Tool$" | head -n 1)
xdotool windowmove "$window" 0 0
# Finding the radio takes the protocol's quiet times (about 5 s); then read.
sleep 7
xdotool mousemove --window "$window" 420 225 click 1
# 100 channels at the read's 200 ms quiet time each, and a last second; the
# view is then back on the first row.
sleep 24
mkdir -p "$root/docs"
eval "$(xdotool getwindowgeometry --shell "$window")"
"$build/scripts/screengrab/vkr-screen-grab" "$root/docs/main-window.png" "$WIDTH" "$HEIGHT"
echo "screenshot: docs/main-window.png"

# Help > About: the menu opens on a click on "Help", the last title of the
# menu bar; About is its second entry.
xdotool mousemove --window "$window" 140 10 click 1
sleep 1
xdotool key Down Down Return
wait_for 10 xdotool search --name "^About VKR Frequency Tool$"
about=$(xdotool search --name "^About VKR Frequency Tool$" | head -n 1)
xdotool windowmove "$about" 0 0
sleep 1
"$build/scripts/screengrab/vkr-screen-grab" "$root/docs/about-box.png" 400 369
echo "screenshot: docs/about-box.png"
