#!/bin/sh
# Takes docs/main-window.png: the program under Xvfb, attached to a virtual
# radio, after the radio was found and its channels were read; then
# docs/about-box.png: the box Help > About opens.
# usage: [VKR_BUILD_DIR=<build folder>] scripts/screenshot.sh   (default: build/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKR_BUILD_DIR:-$root/build}
script=screenshot
screen=560x520x24
. "$root/scripts/xvfb-session.sh"
cmake --build "$build" --target vkr-screen-grab >/dev/null

"$build/sim/vkr-radio-sim" \
    --channel 0:TOWER:118.100 --channel 1:GROUND:121.900 --channel 2:APPROACH:119.700 \
    --channel 3:ATIS:126.125 --channel 4:INFO:124.150 --channel 5:RADAR:134.155 \
    --channel 6:EMERG:121.500 --channel 7:GLIDER:123.505 --channel 8:FIS:120.655 \
    >"$work/radio" &
radio=$!
wait_for 10 test -s "$work/radio"

VKR_SERIAL_PORTS=$(head -n 1 "$work/radio") "$build/app/VKRFrequencyTool" &
program=$!
main_window
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
