#!/usr/bin/env bash
# Installs, with apt-get, whatever Debian 12 packages the build, the program and the tests need
# and the machine lacks.  Run as root (or with sudo available).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkgconf qt6-base-dev qt6-multimedia-dev libxcb1-dev libgtest-dev
    libbenchmark-dev
    # run: the fonts the windows ask for, sound output
    fonts-liberation libqt6multimedia6 qt6-qpa-plugins gstreamer1.0-plugins-base
    gstreamer1.0-plugins-good
    # desktop tests: a virtual display, a window manager, a tray, input, sound, a fake clock
    xvfb openbox trayer xdotool x11-utils pulseaudio pulseaudio-utils faketime libfaketime
    # and the compositors people run, started headless: GNOME Shell (with its notifications,
    # screenshots and the AppIndicator extension) and KDE Plasma's KWin
    dbus-daemon gnome-shell gjs gnome-screenshot gnome-shell-extension-appindicator
    kwin-wayland xwayland python3-dbus python3-gi
    # a notification server on the X11 rig
    dunst dbus-bin
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
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
