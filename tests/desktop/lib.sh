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

# A picture of the whole screen: the compositors' own screenshot, else the X server's.
screen_shot() { # file
    case ${COMPOSITOR:-x11} in
    gnome) gnome-screenshot -f "$1" >/dev/null 2>&1 ;;
    kwin) kwin_shot "$1" ;;
    *) "$SCREENSHOT" "$1" >/dev/null 2>&1 ;;
    esac
}

# The share, in percent, of the window's rectangle on a picture of the screen that shows the
# windows' light blue: high when the window is in sight.
in_sight() { # window picture
    local x y w h
    read -r x y <<<"$(position "$1")"
    w=$(xwininfo -id "$1" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
    "$SCREENSHOT" --match "$2" "$x" "$y" "$w" "$h" 7f9ff0
}

# Sequences of three reminders (+1, +3 and +5 days) while an ordinary window that takes keys
# is active.  Each reminder: a click on that window leaves it above and in sight, centred,
# with the state that keeps it there; keys typed into that window as it appears reach that
# window and acknowledge nothing; a click on its ¤ acknowledges it.  In the first sequence the
# program ends while the second reminder shows, and the next start brings that one back, not
# the first.
reminder_sequences() { # sequences
    local data=$SCRATCH/Cal_Data/DataFile.txt faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
    local where=${COMPOSITOR:-x11} sequence reminder alarm other typed screen_w screen_h
    xev -geometry 1000x700+100+60 -name "Zembrola test: typing here" >"$SCRATCH/xev.log" 2>&1 &
    PIDS+=($!)
    wait_for 'xdotool search --name "^Zembrola test: typing here$"' 50 || fail "$where: xev did not start"
    other=$(xdotool search --name "^Zembrola test: typing here$" | head -1)
    read -r screen_w screen_h <<<"$(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')"
    for sequence in $(seq "$1"); do
        printf '[15-06]\nAnna=f001\n[17-06]\nBert=m002\n[19-06]\nCarl=m003\n[settings]\nnotify_advance=1\nnotify_days=5\nlast_alarm_day=11\nlast_alarm_month=6\nlast_alarm_year=2026\n' >"$data"
        start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
            TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
        for reminder in 1 2 3; do
            local trace="$where, sequence $sequence, reminder $reminder"
            wait_for '[ -n "$(alarm_window)" ]' 150 || fail "$trace: no reminder"
            alarm=$(alarm_window)
            click_window "$other" 40 500 1
            # On Xwayland a click made by the test reaches the X client but not the compositor,
            # which activates a window on the window manager's request instead.
            [ "$where" = x11 ] || xdotool windowactivate "$other" 2>/dev/null || true
            sleep 0.2
            typed=$(grep -c "^KeyPress event" "$SCRATCH/xev.log" || true)
            xdotool type --delay 30 "hello " && xdotool key --delay 60 Return Return
            wait_for '[ "$(grep -c "^KeyPress event" "$SCRATCH/xev.log")" -ge $((typed + 8)) ]' 30 ||
                fail "$trace: the keys typed did not reach the window typed in"
            wait_for 'states "$alarm" | grep -q _NET_WM_STATE_ABOVE' 40 ||
                fail "$trace: the reminder is not kept above: $(states "$alarm")"
            is_mapped "$alarm" || fail "$trace: typing or a click elsewhere hid the reminder"
            local picture=$SCRATCH/$where-reminder.png
            sleep 0.3
            screen_shot "$picture"
            [ "$(in_sight "$alarm" "$picture")" -gt 30 ] ||
                { cp "$picture" "/tmp/zembrola-$where-buried.png"
                  fail "$trace: the reminder is buried (/tmp/zembrola-$where-buried.png)"; }
            local x y
            read -r x y <<<"$(position "$alarm")"
            local w h
            w=$(xwininfo -id "$alarm" | awk '/Width:/ {print $2}')
            h=$(xwininfo -id "$alarm" | awk '/Height:/ {print $2}')
            [ $(( (x + w / 2 - screen_w / 2) ** 2 + (y + h / 2 - screen_h / 2) ** 2 )) -le 1600 ] ||
                fail "$trace: the reminder is not centred (at $x $y, ${w}x$h)"
            case $reminder in
            1) grep -q "alarm_acknowledged\|last_alarm_day=14" "$data" && fail "$trace: typing acknowledged it" ;;
            *) grep -q "alarm_acknowledged=20260614 2026061$((1 + 2 * reminder)) 1" "$data" ||
                   fail "$trace: typing acknowledged it: $(grep alarm_ "$data")" ;;
            esac
            if [ "$sequence" = 1 ] && [ "$reminder" = 2 ]; then
                # Ended while Bert's reminder shows; started again the same day, it shows Bert's.
                kill -TERM "$ZPID"
                wait "$ZPID" || fail "$trace: the program ended with status $?"
                grep -q "alarm_acknowledged=20260614 20260615 1" "$data" || fail "$trace: the exit lost the progress"
                start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:05:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
                    TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
                wait_for '[ -n "$(alarm_window)" ]' 150 || fail "$trace: the reminder waiting at exit did not come back"
                alarm=$(alarm_window)
            fi
            click_window "$alarm" 12 12 1
            local stored="alarm_acknowledged=20260614 2026061$((3 + 2 * reminder)) 1"
            [ "$reminder" = 3 ] && stored="last_alarm_day=14"
            # After the restart, a first reminder shown again would store its own day here.
            wait_for 'grep -q "$stored" "$data"' 30 ||
                fail "$trace: a click on ¤ did not acknowledge it: $(grep alarm_ "$data")"
        done
        grep -q "alarm_acknowledged" "$data" && fail "$where, sequence $sequence: a progress was left"
        sleep 0.5
        [ -z "$(alarm_window)" ] || fail "$where, sequence $sequence: a fourth reminder came"
        kill -TERM "$ZPID"
        wait "$ZPID" || fail "$where, sequence $sequence: the program ended with status $?"
    done
    echo "$where: $1 sequences of three reminders passed"
}
