#!/usr/bin/env bash
# A desktop without a tray (GNOME's default, or a bare window manager): the window has a
# task-bar entry, the hide button minimises it, the title bar's right-click menu holds Exit, a
# second start brings the window back, and SIGTERM ends the program with its settings saved.
source "$(dirname "$0")/lib.sh"

# A display of its own with a window manager and no tray, on a number Xvfb finds free (another
# test run may be using the next one).
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$SCRATCH/display" >"$SCRATCH/xvfb.log" 2>&1 &
PIDS+=($!)
wait_for '[ -s "$SCRATCH/display" ]' 50 || fail "no display"
export DISPLAY=":$(head -1 "$SCRATCH/display")"
wait_for 'xdpyinfo' 50 || fail "no display"
openbox >"$SCRATCH/openbox.log" 2>&1 &
PIDS+=($!)
sleep 0.5

printf '[settings]\nnotify_advance=0\n' >"$SCRATCH/Cal_Data/DataFile.txt"
start_zembrola
wait_for '[ -n "$(main_window)" ]' 100 || fail "the calendar window did not appear"
main=$(main_window)
if states "$main" | grep -q _NET_WM_STATE_SKIP_TASKBAR; then
    fail "without a tray the window needs a task-bar entry: $(states "$main")"
fi

# The hide button (top left) minimises: the window stays in the task bar.
click_window "$main" 10 10 1
wait_for 'xprop -id "$main" WM_STATE | grep -q Iconic' 30 || fail "the hide button did not minimise"
# A second start ends and brings the first window back.
(cd "$SCRATCH" && timeout 10 "$ZEMBROLA" >"$SCRATCH/second.log" 2>&1) || fail "the second start did not end"
wait_for 'xprop -id "$main" WM_STATE | grep -q Normal' 30 || fail "a second start did not show the window"

# The title bar's right-click menu: Show, Hide, Exit.
click_window "$main" 170 12 3
sleep 0.6
xdotool key Down Down Return
wait_for 'xprop -id "$main" WM_STATE | grep -q Iconic' 30 || fail "Hide from the title bar's menu"

# Asked to end: the settings of the session are saved and the program ends with status 0.
sed -i 's/notify_advance=0/notify_advance=7/' "$SCRATCH/Cal_Data/DataFile.txt"
kill -TERM "$ZPID"
wait_for '! kill -0 "$ZPID"' 50 || fail "SIGTERM did not end the program"
wait "$ZPID" || fail "the program ended with status $?"
grep -q "notify_days=3" "$SCRATCH/Cal_Data/DataFile.txt" || fail "the settings were not saved"
grep -q "notify_advance=0" "$SCRATCH/Cal_Data/DataFile.txt" || fail "the session's switch was not saved"
echo "passed"
