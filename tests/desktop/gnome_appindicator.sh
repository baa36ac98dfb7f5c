#!/usr/bin/env bash
# On GNOME Shell with the AppIndicator extension (a StatusNotifierItem tray): the icon is in
# the top bar, its activation shows the window, and its menu (Show, Hide, Exit) works.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/compositor.sh"
COMPOSITOR=gnome
GNOME_EXTENSIONS=", 'ubuntu-appindicators@ubuntu.com'" start_gnome || fail "GNOME Shell did not start"

printf '[settings]\nnotify_advance=0\n' >"$SCRATCH/Cal_Data/DataFile.txt"
start_zembrola
wait_for '[ -n "$(main_window)" ]' 150 || fail "the calendar window did not appear"
main=$(main_window)
wait_for 'gnome_call TrayItems | grep -q Zembrola' 100 || fail "no icon in the top bar: $(gnome_call TrayItems)"
states "$main" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "with a tray the window needs no task-bar entry"
wait_for 'gnome_call TrayMenu | grep -q "Show.*Hide.*Exit"' 100 || fail "the icon's menu: $(gnome_call TrayMenu)"

gnome_call TrayChoose Hide | grep -q true || fail "no Hide in the menu"
wait_for '! is_mapped "$main"' 30 || fail "Hide from the icon's menu did not hide the window"
gnome_call TrayActivate | grep -q true || fail "no icon to activate"
wait_for 'is_mapped "$main"' 30 || fail "activating the icon did not show the window"
if [ -n "${ZEMBROLA_DOCS:-}" ]; then
    sleep 1
    screen_shot "$ZEMBROLA_DOCS/gnome-appindicator.png"
fi
gnome_call TrayChoose Exit | grep -q true || fail "no Exit in the menu"
wait_for '! kill -0 "$ZPID"' 50 || fail "Exit from the icon's menu did not end the program"
wait "$ZPID" || fail "the program ended with status $?"
echo "GNOME with AppIndicator: passed"
