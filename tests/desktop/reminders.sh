#!/usr/bin/env bash
# On the X11 rig (openbox): the calendar has the keyboard after start without anyone asking
# the window manager; F1 without a program for RTF shows the help in a window of its own;
# 28 February 2027 announces a 29 February birthday; and the sequences of three reminders
# (reminder_sequences in lib.sh).
source "$(dirname "$0")/lib.sh"
data=$SCRATCH/Cal_Data/DataFile.txt
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
began=$SECONDS

# 1. The keyboard in the calendar at start; F1 shows the help.
printf '[settings]\nnotify_advance=0\n' >"$data"
start_zembrola
wait_for '[ -n "$(main_window)" ]' 150 || fail "the calendar window did not appear"
main=$(main_window)
wait_for '[ "$(xdotool getactivewindow 2>/dev/null)" = "$((main))" ]' 50 ||
    fail "the calendar has no keyboard focus after start ($(xdotool getactivewindow 2>&1))"
if [ -n "$(xdg-mime query default application/rtf 2>/dev/null)" ]; then
    echo "a program for RTF is installed: the help window is not needed here"
else
    xdotool key F1
    wait_for 'xdotool search --onlyvisible --name "^Zembrola Help$"' 50 || fail "F1 showed no help"
    help=$(xdotool search --onlyvisible --name "^Zembrola Help$" | head -1)
    sleep 0.5
    "$SCREENSHOT" "$SCRATCH/help.png" "$help" || fail "no picture of the help window"
    [ -n "${ZEMBROLA_DOCS:-}" ] && cp "$SCRATCH/help.png" "$ZEMBROLA_DOCS/help-window.png"
fi
kill -TERM "$ZPID"
wait "$ZPID" || fail "the program ended with status $?"

# 2. 29 February's people on 28 February in a year without one.
printf '[29-02]\nLeap=f001\n[settings]\nnotify_advance=1\nnotify_days=1\nlast_alarm_day=26\nlast_alarm_month=2\nlast_alarm_year=2027\n' >"$data"
start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2027-02-28 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
wait_for '[ -n "$(alarm_window)" ]' 150 || fail "no reminder on 28 February 2027 for 29 February"
click_window "$(alarm_window)" 12 12 1
wait_for 'grep -q "last_alarm_day=28" "$data"' 30 || fail "the 28 February reminder was not acknowledged"
kill -TERM "$ZPID"
wait "$ZPID" || fail "the program ended with status $?"

reminder_sequences "${ZEMBROLA_SEQUENCES:-20}"
echo "reminders on X11: passed in $((SECONDS - began)) s"
