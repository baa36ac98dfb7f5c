#!/usr/bin/env bash
# Installs the package in a fresh Debian 12 (debootstrap, minimal) as a user would: apt pulls
# every dependency, zembrola starts under Xvfb and shows its window, apt remove takes away
# every file the package installed and leaves the user's data.  Needs root and the Debian
# mirror; skips with a message otherwise.
#   $1: the folder that holds the package (from check.sh)
set -euo pipefail
deb=$(ls "$1"/zembrola_*_amd64.deb 2>/dev/null) || { echo "no package: skipped"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "not root: skipped (a chroot needs root)"; exit 77; }
command -v debootstrap >/dev/null || { echo "no debootstrap: skipped"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
mirror=${ZEMBROLA_MIRROR:-http://deb.debian.org/debian}
root=${ZEMBROLA_CHROOT:-/var/tmp/zembrola-chroot}
began=$SECONDS

# A minimal Debian 12, made once and kept for later runs (it is only ever used as a copy).  A
# second test run at the same time waits for the first to make it.
mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9
if [ ! -x "$root/usr/bin/apt-get" ]; then
    rm -rf "$root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$1/debootstrap.log" 2>&1 ||
        { tail -5 "$1/debootstrap.log"; echo "no Debian mirror: skipped"; exit 77; }
fi
flock -u 9
work=$(mktemp -d /var/tmp/zembrola-install-XXXXXX)
cleanup() {
    for mount in proc dev; do umount -l "$work/$mount" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
cp -a "$root/." "$work/"
mount -t proc proc "$work/proc"
mount --bind /dev "$work/dev"
cp /etc/resolv.conf "$work/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$work/tmp/"
in_root() { chroot "$work" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
echo "a fresh Debian 12 ready after $((SECONDS - began)) s"

in_root apt-get update -qq >/dev/null
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >"$work/tmp/apt.log" 2>&1 ||
    { tail -20 "$work/tmp/apt.log"; fail "apt could not install the package"; }
echo "installed with its dependencies after $((SECONDS - began)) s"
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq --no-install-recommends xvfb xdotool x11-utils \
    >/dev/null 2>&1 || fail "the test tools did not install"

# A user starts it from the menu's command on a display.
in_root useradd -m anna
# Only what this test started is stopped, by its process id: the machine may run other
# displays and programs (chroot shares its processes).
in_root sh -c 'Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>/tmp/display >/dev/null 2>&1 &
    echo $! >/tmp/xvfb.pid'
for _ in $(seq 100); do [ -s "$work/tmp/display" ] && break; sleep 0.1; done
display=":$(head -1 "$work/tmp/display")"
in_root su anna -c "DISPLAY=$display zembrola >/tmp/zembrola.log 2>&1 & echo \$! >/tmp/zembrola.pid"
shown=
for _ in $(seq 100); do
    shown=$(in_root sh -c "DISPLAY=$display xdotool search --onlyvisible --name '^Zembrola\$'" 2>/dev/null || true)
    [ -n "$shown" ] && break
    sleep 0.2
done
[ -n "$shown" ] || { cat "$work/tmp/zembrola.log"; fail "the window did not show"; }
[ -f "$work/home/anna/.local/share/zembrola/Cal_Data/Language.txt" ] || fail "the data folder was not filled"
kill -TERM "$(cat "$work/tmp/zembrola.pid")" 2>/dev/null || true
sleep 1
kill -TERM "$(cat "$work/tmp/xvfb.pid")" 2>/dev/null || true
echo "started and showed its window after $((SECONDS - began)) s"

# The installed program finds its formats' plugin: an import from the terminal adds the card.
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Example\r\nBDAY:--0612\r\nGENDER:F\r\nEND:VCARD\r\n' \
    >"$work/tmp/card.vcf"
chmod 644 "$work/tmp/card.vcf"
in_root su anna -c "zembrola --import /tmp/card.vcf" >"$work/tmp/import.log" 2>&1 ||
    { cat "$work/tmp/import.log"; fail "the installed program could not import a card"; }
grep -q "^Ann Example=f" "$work/home/anna/.local/share/zembrola/Cal_Data/DataFile.txt" ||
    fail "the imported card is not in the data file"

files=$(in_root dpkg -L zembrola | while read -r path; do [ -f "$work$path" ] && echo "$path"; done)
DEBIAN_FRONTEND=noninteractive in_root apt-get remove -y -qq zembrola >/dev/null 2>&1 || fail "apt remove failed"
for path in $files; do
    [ ! -e "$work$path" ] || fail "$path stayed after apt remove"
done
[ -f "$work/home/anna/.local/share/zembrola/Cal_Data/DataFile.txt" ] ||
    fail "the user's data went with the package"
echo "installation test: passed in $((SECONDS - began)) s"
