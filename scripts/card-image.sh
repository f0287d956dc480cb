#!/bin/sh
# Makes docs/channel-card.png: a club's list of 100 channels opened in the
# program under Xvfb, exported with File > Export card as PDF... as a user
# does it, and the PDF's page rendered with pdftoppm.
# usage: [VKR_BUILD_DIR=<build folder>] scripts/card-image.sh   (default: build/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VKR_BUILD_DIR:-$root/build}
script=card-image
screen=1000x700x24
. "$root/scripts/xvfb-session.sh"

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

# No radio: the card is made from the file.
VKR_SERIAL_PORTS="" "$build/app/VKRFrequencyTool" &
program=$!
main_window
sleep 1

# Opens the File menu and picks an entry by the keys that reach it: Down
# for the first, Up Up for the one above Quit, the last.
file_menu() {
    xdotool mousemove --window "$window" 20 10 click 1
    sleep 0.5
    xdotool key "$@" Return
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
file_menu Up Up # Export card as PDF...
answer_dialog "^Export card$" "$work/club-card.pdf"
wait_for 10 test -s "$work/club-card.pdf"

mkdir -p "$root/docs"
pdftoppm -png -r 100 -singlefile "$work/club-card.pdf" "$root/docs/channel-card"
echo "card-image: docs/channel-card.png"
