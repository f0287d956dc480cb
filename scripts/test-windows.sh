#!/bin/sh
# The Windows pass of the tests (scripts/test.sh --windows), under Wine on
# this machine: cross-builds the programs and the tests that need no window
# (scripts/windows-build.sh, Qt built once and kept), makes the installer
# and the zip (scripts/package-windows.sh), and then, in a Wine prefix of
# its own (build-windows/wine-prefix, its user "Jürgen Müller"):
#   - runs the widget-free tests;
#   - maps COM5 of the prefix to the pseudo-terminal of a Linux virtual
#     radio (built into build/) and runs vkrtool.exe against it: ports,
#     identify (also as COM12, a port Windows opens only as \\.\COM12),
#     read, the safe write with its backup, restore, and a radio refusing a
#     frame, one unplugged half-way and a write stopped with Ctrl+C, with
#     the exit codes and messages of vkrtool on Linux in the same runs;
#   - drives VKRFrequencyTool.exe on Xvfb: a read (Ctrl+R), a channel file
#     opened (Ctrl+O) and written to the radio (Ctrl+Shift+W); saves the
#     window as docs/windows-main-window.png;
#   - installs the setup program silently, runs the installed vkrtool.exe
#     --version and the window once, uninstalls it and looks for leftovers.
# Each result is judged by the radio's memory (its --dump-memory) and by
# what the programs wrote; waits are for an outcome, each with a bound.
# Everything the pass made is in build-windows/wine-run (logs, outputs).
# usage: scripts/test-windows.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
native=${VKR_BUILD_DIR:-$root/build}
started=$(date +%s)

"$root/scripts/setup.sh" --windows
"$root/scripts/windows-build.sh" "$build"
# The virtual radio, and vkrtool for Linux to compare the messages with.
"$root/scripts/build.sh" "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
packages=$("$root/scripts/package-windows.sh" "$build")
setup=$(echo "$packages" | grep -- '-setup\.exe$')
stage=${setup%-setup.exe}
qt=$("$root/scripts/windows-qt.sh")
tools=$("$root/scripts/windows-toolchain.sh")

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$build/wine-run
rm -rf "$work" "$build/wine-prefix" "$build/wine-home"
mkdir -p "$work" "$build/wine-home" "$build/wine-prefix"
export WINEPREFIX="$build/wine-prefix"
# Wine links the profile's folders to the home folder: this pass's own.
export HOME="$build/wine-home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
# A user name with a space and letters beyond ASCII: the profile, and with
# it the settings, the backups and the files below, lie under C:\users\Jürgen Müller.
export USER="Jürgen Müller" LANG=C.UTF-8
# No Mono or Gecko (their installers would be offered), no debug chatter.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
profile="$WINEPREFIX/drive_c/users/$USER"
winProfile="C:\\users\\$USER"

radio=""
program=""
xvfb=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$radio" ] && kill "$radio" 2>/dev/null
    "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null || true
}
trap cleanup EXIT
fail() {
    echo "test-windows: $*" >&2
    exit 1
}
# Polls a condition for up to the given number of seconds.
wait_for() {
    seconds=$1
    shift
    tries=0
    until "$@" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -gt $((seconds * 10)) ] && fail "gave up after $seconds s waiting for: $*"
        sleep 0.1
    done
}
# The process has ended (it may wait, a zombie, to be waited for).
ended() {
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
    case "$state" in Z*) return 0 ;; esac
    return 1
}
# The Windows form of a Linux path (drive Z: is the root).
windows_path() {
    echo "Z:$1" | tr / '\\'
}

# One wineserver for the whole pass; it prints a dump of its objects when
# a radio's terminal hangs up under a port held open, so it has a log.
"$wineserver" -p >"$work/wineserver.log" 2>&1
"$wine" wineboot -i >"$work/wineboot.log" 2>&1
wait_for 60 test -d "$profile"

# 1. The tests that need no window, with Qt and the MinGW runtime from
# where they were built.
runtime=$(dirname "$("$tools/x86_64-w64-mingw32-g++" -print-file-name=libstdc++-6.dll)")
threads=$(dirname "$("$tools/x86_64-w64-mingw32-g++" -print-file-name=libwinpthread-1.dll)")
testPath="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path "$threads")"
passed=0
programs=0
# Each test writes its results into a file of its own: what a Windows
# program writes to a redirected standard output under Wine is not always
# passed on.
for test in $(find "$build/tests" -name 'tst_*.exe' | sort); do
    name=$(basename "$test" .exe)
    programs=$((programs + 1))
    results="$work/$name.txt"
    status=0
    WINEPATH="$testPath" QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$(windows_path "$qt/plugins")" \
        timeout 300 "$wine" "$test" -o "$(windows_path "$results"),txt" >"$work/$name.log" 2>&1 || status=$?
    if [ "$name" = tst_modal_guard ]; then
        # The guard's own test passes when the guard fails it, naming the box.
        grep -q 'FAIL!.*unexpected modal dialog: Invalid data: nobody answers this' "$results" 2>/dev/null \
            || { cat "$results" "$work/$name.log" >&2; fail "$name: the guard did not fail the test"; }
        continue
    fi
    if [ "$status" -ne 0 ]; then
        cat "$results" "$work/$name.log" >&2 2>/dev/null
        fail "$name failed under Wine (exit $status)"
    fi
    count=$(sed -n 's/^Totals: \([0-9]*\) passed, 0 failed.*/\1/p' "$results")
    [ -n "$count" ] || fail "$name: no totals in $results"
    passed=$((passed + count))
done
[ "$programs" -gt 0 ] || fail "no test programs in $build/tests"
echo "test-windows: $programs test programs, $passed test functions and rows passed under Wine"

# 2. vkrtool.exe against virtual radios on COM5, from the files the zip
# and the installer hold. Only COM5 is in the prefix's port list: the ports
# Wine found on the machine are taken out, so none of them is ever opened.
# Its values only: the key is volatile, and once deleted Wine cannot make it again.
"$wine" reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /va /f >/dev/null 2>&1 || true
"$wine" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\Serial4' /t REG_SZ /d COM5 /f >/dev/null
rm -f "$WINEPREFIX"/dosdevices/com*

# start_radio NAME OPTIONS...: a virtual radio (its log NAME.radio, its
# memory into NAME.memory.csv when it stops) on COM5 and COM12.
start_radio() {
    name=$1
    shift
    "$native/sim/vkr-radio-sim" --verbose --dump-memory "$work/$name.memory.csv" "$@" \
        >"$work/$name.port" 2>"$work/$name.radio" &
    radio=$!
    wait_for 10 test -s "$work/$name.port"
    port=$(head -n 1 "$work/$name.port")
    ln -sfn "$port" "$WINEPREFIX/dosdevices/com5"
    ln -sfn "$port" "$WINEPREFIX/dosdevices/com12"
    "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$port" /f >/dev/null
}
# Stops the radio (its memory is then in NAME.memory.csv), or waits for
# one that stops by itself (unplugged).
stop_radio() {
    kill "$radio" 2>/dev/null || true
    wait "$radio" 2>/dev/null || true
    radio=""
}
# heard NAME BYTES: the radio has heard that many bytes.
heard() {
    [ "$(awk '/host -> radio/ { n += NF - 5 } END { print n + 0 }' "$work/$1.radio")" -ge "$2" ]
}
# vkrtool NAME ARGUMENTS...: vkrtool.exe of the package, its output in
# NAME.out and NAME.err (CR LF made LF), its exit code in $code.
vkrtool() {
    name=$1
    shift
    set +e
    timeout 300 "$wine" "$stage/vkrtool.exe" "$@" >"$work/$name.out" 2>"$work/$name.err"
    code=$?
    set -e
    sed -i 's/\r$//' "$work/$name.out" "$work/$name.err"
}
expect() { # expect NAME CODE TEXT: the exit code, and TEXT in what it wrote
    [ "$code" -eq "$2" ] || { cat "$work/$1.out" "$work/$1.err" >&2; fail "$1: exit code $code, expected $2"; }
    [ -z "$3" ] || grep -qF -- "$3" "$work/$1.out" "$work/$1.err" ||
        { cat "$work/$1.out" "$work/$1.err" >&2; fail "$1: no \"$3\""; }
}
same_file() { # same_file WHAT A B
    cmp -s "$2" "$3" || { diff "$2" "$3" >&2 || true; fail "$1: $2 and $3 differ"; }
}

documents="$profile/Documents"
winDocuments="$winProfile\\Documents"
mkdir -p "$documents"
# The radio's memory to begin with, and a club's list to write over it.
printf 'TOWER;118.100\r\nGROUND;121.900\r\nATIS;126.125\r\n;\r\nINFO;124.150\r\nEMERG;121.500\r\n' \
    >"$work/old.csv"
printf 'LANGEN;120.805\r\nEGELSBA;122.455\r\nEMERG;121.500\r\nSEGEL;123.505\r\nINFO;119.150\r\n' \
    >"$documents/Flüge neu.csv"

start_radio first --model VKR627S --load-memory "$work/old.csv"
vkrtool ports ports
expect ports 0 'COM5  \\.\COM5  opens'
[ "$(wc -l <"$work/ports.out")" -eq 1 ] || fail "ports: more than the radio's port listed: $(cat "$work/ports.out")"
export VKR_SERIAL_PORTS='COM5;COM14'
vkrtool ports-missing ports
unset VKR_SERIAL_PORTS
expect ports-missing 0 'COM14  \\.\COM14  does not open: COM14 does not exist'
vkrtool identify identify
expect identify 0 'VKR627S, 20 channels, on COM5'
vkrtool identify-com12 identify --port COM12
expect identify-com12 0 'VKR627S, 20 channels, on COM12'
vkrtool read read -o "$winDocuments\\Flüge vom Funkgerät.csv"
expect read 0 ''
stop_radio
same_file read "$work/first.memory.csv" "$documents/Flüge vom Funkgerät.csv"
same_file "radio's memory" "$work/first.memory.csv" "$work/old.csv"

start_radio write --model VKR627S --load-memory "$work/old.csv"
vkrtool write write "$winDocuments\\Flüge neu.csv"
expect write 0 '20 channels written to the VKR627S and verified'
expect write 0 "backup of the radio's memory: $winProfile\\AppData\\Local\\Corvane\\VKRFrequencyTool\\backups\\VKR627S-"
stop_radio
same_file write "$work/write.memory.csv" "$documents/Flüge neu.csv"
# The read's backup and the write's: both of the memory before the write.
find "$profile/AppData/Local/Corvane/VKRFrequencyTool/backups" -name 'VKR627S-*-COM5*.csv' >"$work/backups"
[ "$(wc -l <"$work/backups")" -eq 2 ] || fail "backups: $(cat "$work/backups")"
# A backup holds each channel's frame after it, and every channel of the
# memory: its names and frequencies up to the last one in use are the file.
channels_of() {
    cut -d';' -f1,2 "$1" | sed 's/\r$//' | awk '{ line[NR] = $0; if ($0 != ";") last = NR } END { for (k = 1; k <= last; k++) print line[k] }'
}
sed 's/\r$//' "$work/old.csv" >"$work/old.lines"
while read -r backup; do
    channels_of "$backup" >"$work/backup.lines"
    same_file backup "$work/backup.lines" "$work/old.lines"
done <"$work/backups"

start_radio restore --model VKR627S --load-memory "$work/write.memory.csv"
vkrtool restore restore
expect restore 0 '20 channels restored to the VKR627S and verified'
stop_radio
same_file restore "$work/restore.memory.csv" "$work/old.csv"

# The faults: the same run against a radio of the same fault on Linux,
# the messages compared with the port and the backup's path named alike.
normal() { # the words of a run, whatever port and folder it had, and however
    # many frames went out before a signal came (the line's timing decides)
    # (Wine drops what a pseudo-terminal held when it hangs up, so an
    # unplugged radio's last acknowledgement may not come through there.)
    sed -e 's|after [0-9]* of 20 channels|after N of 20 channels|; s|stopped answering at channel [0-9]*|stopped answering at channel N|' -e 's|"[^"]*[/\\]backups[/\\]VKR627S-[0-9A-Za-z-]*\.csv"|"BACKUP"|g' \
        -e 's|"[^"]*[/\\]Flüge neu\.csv"|"LIST"|g' \
        -e 's|/dev/pts/[0-9]*|PORT|g; s|COM5|PORT|g' \
        -e 's|C:\\users\\.*\\backups\\VKR627S-[0-9-]*-[A-Za-z0-9-]*\.csv|BACKUP|g' \
        -e 's|/[^ "]*/backups/VKR627S-[0-9-]*-[A-Za-z0-9-]*\.csv|BACKUP|g' \
        -e 's|C:\\users\\.*\\Flüge neu\.csv|LIST|g; s|/[^ "]*/Flüge neu\.csv|LIST|g' "$1"
}
# fault NAME STOP-AFTER-BYTES SIGNAL RADIO-OPTIONS...: a write to a radio
# with a fault, on Windows and on Linux; with a byte count and a signal,
# the signal comes once the radio has heard that many bytes.
fault() {
    name=$1 bytes=$2 signal=$3
    shift 3
    start_radio "$name" --model VKR627S --load-memory "$work/old.csv" "$@"
    set +e
    timeout 300 "$wine" "$stage/vkrtool.exe" write "$winDocuments\\Flüge neu.csv" \
        >"$work/$name.out" 2>"$work/$name.err" &
    program=$!
    if [ "$bytes" -gt 0 ]; then
        wait_for 60 heard "$name" "$bytes"
        kill "-$signal" "$program"
    fi
    wait "$program"
    code=$?
    program=""
    set -e
    sed -i 's/\r$//' "$work/$name.out" "$work/$name.err"
    stop_radio

    linux="$name-linux"
    "$native/sim/vkr-radio-sim" --verbose --model VKR627S --load-memory "$work/old.csv" "$@" \
        >"$work/$linux.port" 2>"$work/$linux.radio" &
    radio=$!
    wait_for 10 test -s "$work/$linux.port"
    set +e
    VKR_SERIAL_PORTS=$(head -n 1 "$work/$linux.port") "$native/cli/vkrtool" write "$documents/Flüge neu.csv" \
        >"$work/$linux.out" 2>"$work/$linux.err" &
    program=$!
    if [ "$bytes" -gt 0 ]; then
        wait_for 60 heard "$linux" "$bytes"
        kill "-$signal" "$program"
    fi
    wait "$program"
    linuxCode=$?
    program=""
    set -e
    stop_radio
    [ "$code" -eq "$linuxCode" ] || fail "$name: exit code $code on Windows, $linuxCode on Linux"
    normal "$work/$name.err" >"$work/$name.said"
    normal "$work/$linux.err" >"$work/$linux.said"
    same_file "$name: the messages" "$work/$linux.said" "$work/$name.said"
    echo "test-windows: $name: exit code $code and messages as on Linux"
}
fault refused 0 INT --nak-frame 3
grep -qF 'the radio refused channel 3' "$work/refused.err" || fail "refused: $(cat "$work/refused.err")"
fault unplugged 0 INT --unplug-after-bytes 90
grep -qF 'the radio stopped answering' "$work/unplugged.err" || fail "unplugged: $(cat "$work/unplugged.err")"
# Ctrl+C: Wine gives SIGINT to the console's handler as Ctrl+C.
fault interrupted 66 INT --answer-delay 100
[ "$code" -eq 130 ] || fail "interrupted: exit code $code"
grep -qF 'the closing byte was not sent' "$work/interrupted.err" || fail "interrupted: $(cat "$work/interrupted.err")"
echo "test-windows: vkrtool.exe: ports, identify, read, write, restore and three faults as expected"

# 3. The window on a display of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
wait_for 10 test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
wait_for 10 xdotool getdisplaygeometry
backups="$profile/AppData/Local/Corvane/VKRFrequencyTool/backups"
more_backups() { # more than $before backups
    [ "$(find "$backups" -name '*.csv' | wc -l)" -gt "$before" ]
}
# press_until SECONDS KEYS CONDITION...: presses the keys in the window
# until the condition holds (a key pressed while the window is busy does
# nothing), once a second at most, for up to SECONDS.
press_until() {
    seconds=$1 keys=$2
    shift 2
    tries=0
    until "$@" >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt "$seconds" ]; then
            import -window root "$work/window-failed.png" 2>/dev/null || true
            fail "window: $keys did not lead to: $* (the screen then: $work/window-failed.png)"
        fi
        xdotool windowfocus --sync "$window" key "$keys"
        checks=0
        until [ "$checks" -ge 10 ] || "$@" >/dev/null 2>&1; do
            checks=$((checks + 1))
            sleep 0.1
        done
    done
}
quiet_for() { # quiet_for SECONDS FILE: the file has not changed for that long
    [ $(( $(date +%s) - $(stat -c %Y "$2") )) -ge "$1" ]
}
heard_after() { # heard_after NAME COMMAND BYTES: BYTES heard since COMMAND (hex) first came
    awk -v command="$2" '/host -> radio/ {
            line = $0; sub(/.*host -> radio */, "", line)
            if (!seen && index(line, command)) { seen = 1; line = substr(line, index(line, command)) }
            if (seen) n += split(line, bytes, " ")
        } END { exit !(n >= '"$3"') }' "$work/$1.radio"
}

mkdir -p "$WINEPREFIX/drive_c/VKR"
cp "$documents/Flüge neu.csv" "$WINEPREFIX/drive_c/VKR/club.csv"
start_radio window --model VKR627S --load-memory "$work/old.csv"
before=$(find "$backups" -name '*.csv' | wc -l)
VKR_SERIAL_PORTS=COM5 "$wine" "$stage/VKRFrequencyTool.exe" >"$work/window.log" 2>&1 &
program=$!
wait_for 60 xdotool search --name 'VKR Frequency Tool'
window=$(xdotool search --name 'VKR Frequency Tool' | head -n 1)
# Ctrl+R once the radio is found: the read command (02 54) reaches the
# radio; the read is whole when its backup is saved.
press_until 60 ctrl+r grep -q 'host -> radio.* 02 54' "$work/window.radio"
wait_for 60 more_backups
# Ctrl+O, the file's name typed in Windows' open dialog, then Ctrl+Shift+W:
# the write command (02 4D), 20 frames of 12 bytes, the closing byte, and
# the read-back (02 54 and 20 acknowledgements).
# The open dialog is a window more on the screen (Wine names it "Open" on
# most runs, but not on every one).
shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
windowsBefore=$(shown_windows)
dialog_shown() { [ "$(shown_windows)" -gt "$windowsBefore" ]; }
press_until 30 ctrl+o dialog_shown
xdotool type --delay 20 'C:\VKR\club.csv'
xdotool key Return
wait_for 30 sh -c "[ \$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l) -le $windowsBefore ]"
press_until 30 ctrl+shift+w grep -q 'host -> radio.* 02 4D' "$work/window.radio"
wait_for 120 heard_after window '02 4D' $((2 + 20 * 12 + 1 + 2 + 20))
# The read-back ends 1 s after the last frame came: the write is over (and
# the window says how it ended) once the radio's log has stayed quiet longer.
wait_for 30 quiet_for 3 "$work/window.radio"
mkdir -p "$root/docs"
import -window "$window" "$root/docs/windows-main-window.png"
stop_radio
same_file "window's write" "$work/window.memory.csv" "$WINEPREFIX/drive_c/VKR/club.csv"
xdotool windowfocus --sync "$window" key ctrl+q
wait_for 60 ended "$program"
wait "$program" || fail "window: exit code $? (its output: $work/window.log)"
program=""
echo "test-windows: VKRFrequencyTool.exe read the radio and wrote a file into it; docs/windows-main-window.png"

# 4. The installer, silently, and the programs as installed: nothing of
# the build folder on their path, started in C:, so that they find their
# libraries and plugins only in their own folder (the plugins loaded are
# listed with Qt's plugin messages, which Wine shows with +debugstr).
"$wine" "$setup" /S >"$work/setup.log" 2>&1 || fail "setup /S failed: $(cat "$work/setup.log")"
installed="$WINEPREFIX/drive_c/Program Files/VKR Frequency Tool"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
for file in vkrtool.exe VKRFrequencyTool.exe platforms/qwindows.dll README.txt uninstall.exe; do
    test -f "$installed/$file" || fail "setup: no $file installed"
done
test -f "$menu/VKR Frequency Tool.lnk" || fail "setup: no Start menu entry"
cd "$WINEPREFIX/drive_c"
"$wine" 'C:\Program Files\VKR Frequency Tool\vkrtool.exe' --version >"$work/installed-version.out" 2>&1 ||
    fail "installed vkrtool.exe --version: $(cat "$work/installed-version.out")"
grep -qx "$(basename "$stage" | sed 's/^VKRFrequencyTool-//')" "$work/installed-version.out" ||
    fail "installed vkrtool.exe --version says: $(cat "$work/installed-version.out")"
VKR_SERIAL_PORTS="" QT_DEBUG_PLUGINS=1 WINEDEBUG=-all,+debugstr \
    "$wine" 'C:\Program Files\VKR Frequency Tool\VKRFrequencyTool.exe' >"$work/installed-window.log" 2>&1 &
program=$!
wait_for 60 xdotool search --name 'VKR Frequency Tool'
window=$(xdotool search --name 'VKR Frequency Tool' | head -n 1)
xdotool windowfocus --sync "$window" key ctrl+q
wait_for 60 ended "$program"
wait "$program" || fail "installed window: exit code $? (its output: $work/installed-window.log)"
program=""
cd "$root"
# Wine passes Qt's plugin messages on only on some runs; when it does, none
# of the plugins may come from elsewhere (the window showed, so its platform
# plugin was found).
loaded=$(grep -o 'loaded library "[^"]*"' "$work/installed-window.log" || true)
[ -n "$loaded" ] || echo "test-windows: installed window: Wine passed on no plugin messages this time"
if [ -n "$loaded" ] && echo "$loaded" | grep -v 'loaded library "C:/Program Files/VKR Frequency Tool/'; then
    fail "installed window: plugins loaded from outside its folder"
fi

"$wine" 'C:\Program Files\VKR Frequency Tool\uninstall.exe' /S >"$work/uninstall.log" 2>&1 ||
    fail "uninstall /S failed: $(cat "$work/uninstall.log")"
# The uninstaller runs on from a copy of itself and returns at once.
wait_for 60 sh -c "! test -e '$installed'"
test ! -e "$menu/VKR Frequency Tool.lnk" || fail "uninstall: the Start menu entry is left"
test ! -e "$menu/VKR Frequency Tool manual.lnk" || fail "uninstall: the manual's Start menu entry is left"
if "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VKR Frequency Tool' >/dev/null 2>&1; then
    fail "uninstall: its entry in the list of programs is left"
fi
echo "test-windows: installed silently ($(du -k "$setup" | cut -f1) KB setup program), ran, uninstalled without leftovers"
echo "test-windows: passed in $(( ($(date +%s) - started) / 60 )) min $(( ($(date +%s) - started) % 60 )) s"
