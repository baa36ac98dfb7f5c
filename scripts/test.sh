#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and widget tests headless,
# the desktop tests on a virtual X display with a window manager, a tray and a sound server
# that this script starts and stops.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
"$here/scripts/build.sh" "$@"
build=${BUILD_DIR:-$here/build}

source "$here/scripts/desktop-session.sh"
start_desktop_session
trap stop_desktop_session EXIT

cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
