#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zembrola in your data folder
# (${XDG_DATA_HOME:-~/.local/share}/zembrola, filled from Cal_Data/ on the first start).
# On a machine without a display it starts a virtual one with a tray, runs Zembrola there,
# saves a screenshot of the calendar window and keeps running until you press Ctrl+C.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
began=$SECONDS
"$here/scripts/deps.sh" run
# Only what runs: the program, and the screenshot helper for a machine without a display (in a
# build folder of its own, so that the test command's keeps its tests).
build=${BUILD_DIR:-$here/build-run}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEMBROLA_TESTS=OFF \
    -DZEMBROLA_BENCH=OFF >/dev/null
cmake --build "$build" --target zembrola zembrola_screenshot
launcher=$build/zembrola-launcher

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$launcher"
fi

source "$here/scripts/desktop-session.sh"
start_desktop_session
export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
"$launcher" &
program=$!
stop() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    stop_desktop_session
}
trap stop EXIT
trap 'exit 0' INT TERM

screenshot=${ZEMBROLA_SCREENSHOT:-/tmp/zembrola-screenshot.png}
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$program" --name '^Zembrola$' 2>/dev/null | while read -r id; do
        [ "$(xwininfo -id "$id" | awk '/Width:/ {print $2}')" -gt 250 ] && echo "$id"; done | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -n "${window:-}" ]; then
    sleep 0.5
    "$build/tools/zembrola_screenshot" "$screenshot" "$window" &&
        echo "Zembrola runs on the virtual display $DISPLAY ($((SECONDS - began)) s after the start of this script); its window is in $screenshot"
else
    echo "Zembrola started, but its window did not show; see $build" >&2
fi
echo "Press Ctrl+C to stop it."
wait "$program"
