#!/bin/sh
# Checks a Debian package made by scripts/package.sh: its contents and
# modes, that nothing it depends on brings ModemManager, the desktop entry,
# icon and metainfo as packaged, lintian; then installs it the way the
# README says, runs vkrtool and finds its man page from the installed
# paths, and removes it again.
# usage: scripts/check-package.sh <package.deb>
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
"$root/scripts/setup.sh" --package
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "check-package: $*" >&2
    exit 1
}

dpkg-deb -f "$deb" Package Version Depends Recommends Suggests
name=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)

# Everything under /usr; nothing that all users may write.
dpkg-deb -c "$deb" >"$work/contents"
awk '$6 !~ /^\.\/(usr\/.*)?$/ { print; bad = 1 } END { exit bad }' "$work/contents" \
    || fail "files outside /usr"
awk '$1 !~ /^l/ && substr($1, 9, 1) == "w" { print; bad = 1 } END { exit bad }' "$work/contents" \
    || fail "files or folders that everyone may write"

# ModemManager probes serial ports and disturbs a radio: it must come
# neither through the dependencies nor through anything they recommend.
needs=$(dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z]*://; s/([^)]*)//g; s/[,|]/ /g')
apt-cache depends --recurse --no-suggests --no-conflicts --no-breaks --no-replaces --no-enhances $needs \
    >"$work/dependencies"
if grep -i modemmanager "$work/dependencies"; then
    fail "ModemManager comes with the dependencies"
fi

# The desktop entry, the icon it names in every size, and the metainfo with
# the launchable it names, as they are packaged.
dpkg-deb -x "$deb" "$work/tree"
desktop="$work/tree/usr/share/applications/VKRFrequencyTool.desktop"
desktop-file-validate "$desktop" || fail "desktop entry not valid"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 256 128 64 48 32 16; do
    [ -f "$work/tree/usr/share/icons/hicolor/${size}x$size/apps/$icon.png" ] || fail "no $size px icon $icon"
done
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/com.corvane.VKRFrequencyTool.metainfo.xml" \
    || fail "metainfo not valid"
appstreamcli validate-tree --no-net "$work/tree" || fail "metainfo does not fit the installed files"

# Lintian's errors fail the check; its warnings and notes are shown.
status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"

# Installed as the README installs it, then removed again; one check at a
# time on a machine, so that two never install and remove it under each other.
exec 9>"${TMPDIR:-/tmp}/vkr-check-package.lock"
flock 9
installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
modemmanager_before=no
installed modemmanager && modemmanager_before=yes
$sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "the package does not install"; }
trap '$sudo apt-get purge -y -q -o DPkg::Lock::Timeout=300 "$name" >/dev/null 2>&1; rm -rf "$work"' EXIT
if [ "$modemmanager_before" = no ] && installed modemmanager; then
    fail "installing the package brought ModemManager"
fi
[ "$(/usr/bin/vkrtool --version)" = "$version" ] || fail "vkrtool --version does not say $version"
for page in vkrtool VKRFrequencyTool vkr-radio-sim; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page does not find its page"
done
$sudo apt-get purge -y -q -o DPkg::Lock::Timeout=300 "$name" >/dev/null
trap 'rm -rf "$work"' EXIT
if [ -e /usr/bin/vkrtool ]; then
    fail "vkrtool is still installed after the package was removed"
fi
echo "check-package: $name $version passed"
