# Sourced by the scripts that drive the program under Xvfb as a user would
# (screenshot.sh, card-image.sh): installs Xvfb and xdotool where missing,
# builds the program into $build, starts a display of its own in $work and
# exports DISPLAY, and stops what the script started when it exits. The
# caller sets root, build, the screen size `screen` and the name `script`
# for messages; it may set `program` and `radio` to processes to stop.
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
# Xvfb picks a free display number and writes it to fd 3, so that the
# script never draws on (or grabs) another display of the machine.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
program=""
radio=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$radio" ] && kill "$radio" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Polls a condition for up to the given number of seconds.
wait_for() {
    seconds=$1
    shift
    tries=0
    until "$@" >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt $((seconds * 10)) ]; then
            echo "$script: gave up waiting for: $*" >&2
            exit 1
        fi
        sleep 0.1
    done
}
wait_for 10 test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
wait_for 10 xdotool getdisplaygeometry

# Waits for the program's main window and puts it in the top left corner.
main_window() {
    wait_for 10 xdotool search --name "^VKR Frequency Tool$"
    window=$(xdotool search --name "^VKR Frequency Tool$" | head -n 1)
    xdotool windowmove "$window" 0 0
}
