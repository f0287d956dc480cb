#!/bin/sh
# Makes docs/channel-card.png: a club's list of 100 channels opened in the
# program under Xvfb, exported with File > Export card as PDF... as a user
# does it, and the PDF's page rendered with pdftoppm.
# usage: [VKR_BUILD_DIR=<build folder>] scripts/card-image.sh   (default: build/)
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

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1000x700x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

wait_for() {
    seconds=$1
    shift
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        if [ "$tries" -gt $((seconds * 10)) ]; then
            echo "card-image: gave up waiting for: $*" >&2
            exit 1
        fi
        sleep 0.1
    done
}

# A made-up club list: twenty airfields with five services each, on both
# channel rasters (every third channel an 8.33 kHz one).
awk 'BEGIN {
    split("ALDN BRCH CRVA DNMR ELMW FNLY GRSB HLTN IVRS JNPR KSTL LMRK MRSH NRTH OKWD PNWL QRRY RVNS SLTN THRN", places, " ")
    split("TWR GND ATI APP INF", services, " ")
    for (i = 0; i < 100; i++) {
        khz = 118000 + ((i * 37) % 758) * 25 + (i % 3 == 0 ? 10 : 0)
        printf "%s %s;%d.%03d\r\n", places[int(i / 5) + 1], services[i % 5 + 1], khz / 1000, khz % 1000
    }
}' >"$work/club.csv"

wait_for 10 test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
wait_for 10 xdotool getdisplaygeometry

# No radio: the card is made from the file.
VKR_SERIAL_PORTS="" "$build/app/VKRFrequencyTool" &
program=$!
wait_for 10 xdotool search --name "^VKR Frequency Tool$"
window=$(xdotool search --name "^VKR Frequency Tool$" | head -n 1)
xdotool windowmove "$window" 0 0
sleep 1

# Opens the File menu and picks its first entry (Down) or its last (Up).
file_menu() {
    xdotool mousemove --window "$window" 20 10 click 1
    sleep 0.5
    xdotool key "$1" Return
}
# Types a path into the file dialog that has the focus and accepts it.
answer_dialog() {
    wait_for 10 xdotool search --onlyvisible --name "$1"
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key Return
}

file_menu Down # Open
answer_dialog "Open|Find File" "$work/club.csv"
sleep 1
file_menu Up # Export card as PDF...
answer_dialog "^Export card$" "$work/club-card.pdf"
wait_for 10 test -s "$work/club-card.pdf"

mkdir -p "$root/docs"
pdftoppm -png -r 100 -singlefile "$work/club-card.pdf" "$root/docs/channel-card"
echo "card-image: docs/channel-card.png"
