# Helpers for the desktop tests.  They run on the display, window manager, tray and sound
# server that scripts/desktop-session.sh starts (the README's test command does).
#   $1: the zembrola program   $2: the source tree   $3: the screenshot helper
set -euo pipefail

ZEMBROLA=$1
SOURCE=$2
SCREENSHOT=${3:-}

if [ -z "${ZEMBROLA_DESKTOP_SESSION:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "no desktop session: skipped (scripts/test.sh starts one)"
    exit 77
fi

fail() {
    echo "FAILED: $*" >&2
    [ -n "${SCRATCH:-}" ] && [ -f "$SCRATCH/out.log" ] && sed 's/^/  program: /' "$SCRATCH/out.log" >&2
    exit 1
}

# A fresh folder holding a copy of the installation data, and a runtime folder of its own.
SCRATCH=$(mktemp -d /tmp/zembrola-desktop-XXXXXX)
cp -r "$SOURCE/Cal_Data" "$SCRATCH/"
export XDG_RUNTIME_DIR=$SCRATCH/runtime XDG_CONFIG_HOME=$SCRATCH/config TMP=$SCRATCH
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER=unix:${PULSE_RUNTIME_PATH:-/nonexistent}/native
PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

# Starts the program in the scratch folder; extra arguments go before it (env settings).
start_zembrola() {
    (cd "$SCRATCH" && exec env "$@" "$ZEMBROLA" >>"$SCRATCH/out.log" 2>&1) &
    ZPID=$!
    PIDS+=("$ZPID")
}

# Waits up to $2 tenths of a second for a command to succeed.
wait_for() {
    local command=$1 tenths=${2:-100}
    for _ in $(seq "$tenths"); do
        eval "$command" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The program's mapped top-level windows with their sizes: "id width height".
windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$ZPID" 2>/dev/null); do
        local info
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        echo "$id $(echo "$info" | awk '/Width:/ {print $2}') $(echo "$info" | awk '/Height:/ {print $2}')"
    done
}

# The calendar window: the program's largest window.
main_window() { windows | sort -k2,2n | awk '$2 > 250 {id=$1} END {print id}'; }
# The alarm window: between the tray icon and the calendar in size.
alarm_window() { windows | awk '!found && $2 > 150 && $2 < 260 && $3 > 200 {print $1; found=1}'; }
# The tray icon: the program's window inside the tray's panel.
tray_icon() {
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {inpanel=1; next}
        inpanel && !found && /\("zembrola" "Zembrola"\)/ {print $1; found=1}'
}
is_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"; }
position() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'; }
click_window() { # window x y button
    local origin
    origin=$(position "$1")
    xdotool mousemove $(( ${origin% *} + $2 )) $(( ${origin#* } + $3 )) click "${4:-1}"
}
states() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
# Chooses the n-th item of the tray icon's menu with the keyboard.
tray_menu() {
    click_window "$(tray_icon)" 10 15 3
    sleep 0.6
    local keys=()
    for _ in $(seq "$1"); do keys+=(Down); done
    xdotool key "${keys[@]}" Return
}
