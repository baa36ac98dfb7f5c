#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and widget tests headless,
# the desktop tests on a virtual X display with a window manager, a tray and a sound server
# that this script starts and stops.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
took() { echo "== $1 took $((SECONDS - $2)) s"; }
began=$SECONDS
"$here/scripts/deps.sh"
took "installing what was missing" "$began"
began=$SECONDS
"$here/scripts/build.sh" "$@"
took "building" "$began"
build=${BUILD_DIR:-$here/build}

source "$here/scripts/desktop-session.sh"
start_desktop_session
trap stop_desktop_session EXIT

cd "$build"
# Unit and widget tests side by side, then the desktop tests one after another (each says
# how long its desktop took), and one summary of all of them for CI.
log=$(mktemp)
began=$SECONDS
status=0
ctest --output-on-failure -j"$(nproc)" --timeout 600 -LE "desktop|package" | tee "$log" || status=1
took "unit and widget tests" "$began"
began=$SECONDS
ctest --output-on-failure --timeout 600 -L desktop | tee -a "$log" || status=1
took "desktop tests (X11 rig, GNOME Shell, KWin)" "$began"
began=$SECONDS
ctest --output-on-failure -L package | tee -a "$log" || status=1
took "the Debian package (Release build, checks, installation in a fresh Debian)" "$began"
# "N% tests passed, F tests failed out of T" for each run: one line for all.
awk '/tests failed out of/ {failed += $4; all += $NF} END {print all - failed " passed, " failed " failed"}' "$log"
rm -f "$log"
exit $status
