#!/usr/bin/env bash
# The program starts with its icon in the tray and its window shown without a task-bar entry;
# the tray's menu and double click hide and show it; a second start leaves the first alone;
# the title bar moves the window; Exit with the window hidden saves and ends the program.
source "$(dirname "$0")/lib.sh"

printf '[settings]\nnotify_advance=0\n' >"$SCRATCH/Cal_Data/DataFile.txt"
start_zembrola
wait_for '[ -n "$(main_window)" ]' 100 || fail "the calendar window did not appear"
wait_for '[ -n "$(tray_icon)" ]' 50 || fail "no icon in the tray"
main=$(main_window)
icon=$(tray_icon)
states "$main" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the window has a task-bar entry: $(states "$main")"
[ "$(position "$main")" = "100 100" ] || fail "not at its default place: $(position "$main")"
colours=$("$SCREENSHOT" "$SCRATCH/icon.png" "$icon" --colours)
[ "$colours" -gt 8 ] || fail "the tray icon shows no picture ($colours colours)"

# The tip shows when the mouse rests on the icon.
before=$(windows | wc -l)
xdotool mousemove --window "$icon" 10 10
wait_for '[ "$(windows | wc -l)" -gt "$before" ]' 40 || fail "no tip over the icon"

# A second start ends at once and leaves the first one alone.
(cd "$SCRATCH" && timeout 10 "$ZEMBROLA" >"$SCRATCH/second.log" 2>&1) || fail "the second start did not end quietly"
kill -0 "$ZPID" || fail "the first instance died"
is_mapped "$main" || fail "the first window went away"

# The menu: Show, Hide, Exit in this order; "Hide" hides.
tray_menu 2
wait_for '! is_mapped "$main"' 30 || fail "Hide from the tray menu did not hide the window"
# A double click on the icon shows it again.
click_window "$icon" 10 15 1 && xdotool click --repeat 2 --delay 80 1
wait_for 'is_mapped "$(main_window)"' 30 || fail "a double click on the icon did not show the window"
main=$(main_window)
# "Show" from the menu is the first item.
tray_menu 2
wait_for '! is_mapped "$main"' 30 || fail "Hide did not hide"
tray_menu 1
wait_for 'is_mapped "$(main_window)"' 30 || fail "Show from the tray menu did not show the window"
main=$(main_window)

# Dragging the title bar moves the window by the drag distance.
read -r x y <<<"$(position "$main")"
xdotool mousemove $((x + 170)) $((y + 12)) mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((x + 170 + step * 16)) $((y + 12 + step * 10)); sleep 0.05; done
xdotool mouseup 1
sleep 0.3
[ "$(position "$main")" = "$((x + 80)) $((y + 50))" ] || fail "dragged to $(position "$main"), expected $((x + 80)) $((y + 50))"

# Exit with the window hidden: the settings are saved and the program ends, icon and all.
tray_menu 2
wait_for '! is_mapped "$main"' 30 || fail "Hide did not hide"
tray_menu 3
wait_for '! kill -0 "$ZPID"' 50 || fail "Exit did not end the program"
wait "$ZPID" || fail "the program ended with status $?"
[ -z "$(tray_icon)" ] || fail "the icon stayed in the tray"
grep -q "notify_days=3" "$SCRATCH/Cal_Data/DataFile.txt" || fail "the settings were not saved"
grep -q "wp.NormPos.l=$((x + 80))" "$SCRATCH/Cal_Data/DataFile.txt" || fail "the place was not saved"
echo "passed"
