#!/usr/bin/env bash
# Installs, with apt-get, whatever Debian 12 packages the machine lacks: with "run", what
# building and running the program needs; otherwise also what the tests need.  Run as root
# (or with sudo available).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkgconf qt6-base-dev qt6-multimedia-dev libxcb1-dev
    libebook-contacts1.2-dev libical-dev qtkeychain-qt6-dev
    # run: the fonts the windows ask for, sound output
    fonts-liberation libqt6multimedia6 qt6-qpa-plugins gstreamer1.0-plugins-base
    gstreamer1.0-plugins-good
    # a display for a machine without one: the run command's screenshot
    xvfb openbox trayer xdotool x11-utils pulseaudio pulseaudio-utils
)
[ "${1:-}" = run ] || packages+=(
    # tests and benchmarks
    libgtest-dev libbenchmark-dev
    # the system calls of a wake-up, counted
    strace
    # address-book servers, started on this computer for the sync's tests
    radicale xandikos curl openssl
    # a secret store for the address books' passwords, started on a bus of the tests' own
    gnome-keyring
    # desktop tests: a virtual display, a window manager, a tray, input, sound, a fake clock
    xvfb openbox trayer xdotool x11-utils pulseaudio pulseaudio-utils faketime libfaketime
    # and the compositors people run, started headless: GNOME Shell (with its notifications,
    # screenshots and the AppIndicator extension) and KDE Plasma's KWin
    dbus-daemon gnome-shell gjs gnome-screenshot gnome-shell-extension-appindicator
    kwin-wayland xwayland python3-dbus python3-gi
    # a notification server on the X11 rig; the accessibility bus and its Python client
    dunst dbus-bin at-spi2-core python3-pyatspi
    # the package and its checks
    # calendar programs the export must open in
    calcurse khal
    dpkg-dev fakeroot lintian desktop-file-utils appstream man-db debootstrap
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
# apt's own progress shows: the first run on a fresh machine downloads a lot.
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends \
    -o Dpkg::Use-Pty=0 "${missing[@]}" | { grep -E "^(Get|Setting up|Need to get)" || true; }
