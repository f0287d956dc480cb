#!/bin/sh
# Installs the build and test dependencies that are missing on a Debian machine.
# usage: scripts/setup.sh [--fuzz | --qt6 | --package | --windows]   (what those builds need besides)
# --no-install-recommends keeps ModemManager (recommended by the serial-port
# package) off the machine: it probes serial ports and would disturb a radio.
set -eu

# libqt5printsupport5 prints the channel card and libqt5network5 downloads
# the airfield data (qtbase5-dev brings both, named here since the programs
# need them); poppler-utils reads the card's PDF back in
# the tests. The fonts: the text-fit test runs with DejaVu alone and with the
# URW and Liberation sets (tests/app/CMakeLists.txt).
packages="cmake make g++ pkg-config qtbase5-dev qtbase5-dev-tools libqt5printsupport5 libqt5network5 libqt5serialport5-dev libcsv-dev
          libcli11-dev poppler-utils fonts-dejavu-core fonts-urw-base35 fonts-liberation2"
if [ "${1:-}" = "--fuzz" ]; then
    packages="$packages clang libclang-rt-14-dev"
fi
if [ "${1:-}" = "--qt6" ]; then
    # qt6-qpa-plugins holds the offscreen platform the tests run on.
    packages="$packages qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-serialport-dev qt6-qpa-plugins"
fi
if [ "${1:-}" = "--windows" ]; then
    # The cross compiler, Debian's Qt source package and what unpacks and
    # builds it (Qt's configure needs perl and python3), Wine to run the
    # programs, NSIS for the installer, and Xvfb with xdotool to drive the
    # window.
    packages="$packages g++-mingw-w64-x86-64 dpkg-dev xz-utils perl python3 wine64 nsis zip unzip xvfb xdotool x11-apps imagemagick"
fi
if [ "${1:-}" = "--package" ]; then
    # CPack's Debian package (file and dpkg-shlibdeps work out its
    # dependencies) and the tools that check it.
    packages="$packages file dpkg-dev lintian desktop-file-utils appstream man-db"
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "setup: missing packages:$missing; run this script as root or install sudo" >&2
    exit 1
fi

# On a fresh desktop the automatic updates hold the package lock just when
# this runs: wait for it (apt says so as it waits) rather than fail at once.
lock_wait="-o DPkg::Lock::Timeout=600"
for lock in /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock; do
    if command -v fuser >/dev/null 2>&1 && $sudo fuser "$lock" >/dev/null 2>&1; then
        echo "setup: another program installing packages holds $lock (automatic updates?); waiting up to 10 minutes for it" >&2
        break
    fi
done

echo "setup: installing$missing"
$sudo apt-get $lock_wait update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get $lock_wait install -y -q --no-install-recommends $missing
