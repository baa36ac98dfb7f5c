#!/usr/bin/env bash
# What a screen reader finds, through the desktop's accessibility bus: every focusable control
# named, the roles of a table, the selected, today and checked states following the keys, and
# the alarm announced as an alert.
source "$(dirname "$0")/lib.sh"

command -v /usr/libexec/at-spi-bus-launcher >/dev/null && /usr/bin/python3 -c "import pyatspi" 2>/dev/null ||
    fail "the accessibility bus is missing (Debian packages at-spi2-core and python3-pyatspi)"
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
check() { /usr/bin/python3 "$(dirname "$0")/atspi_check.py" "$@" || fail "accessibility: $*"; }
keys() { xdotool key --delay 120 "$@"; sleep 0.5; }

# A session bus of its own, and the accessibility bus on it.
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
PIDS+=("$bus_pid")
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$SCRATCH/at-spi.log" 2>&1 &
PIDS+=($!)
wait_for 'dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress' 50 ||
    fail "the accessibility bus did not start"

printf '[14-06]\nAnna=f001\nTom=m002\n[settings]\nnotify_advance=1\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n' \
    >"$SCRATCH/Cal_Data/DataFile.txt"
start_zembrola QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:00:00" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
wait_for '[ -n "$(alarm_window)" ]' 100 || fail "no alarm"
sleep 1
check alert "June 14: Anna"
sleep 1 # keys count after a grace
keys Return
wait_for 'grep -q "alarm_acknowledged=" "$SCRATCH/Cal_Data/DataFile.txt"' 30 || fail "Enter did not acknowledge"
sleep 1.7
keys Return
wait_for '[ -z "$(alarm_window)" ]' 50 || fail "the alarms were not acknowledged"

main=$(main_window)
wait_for '[ "$(xdotool getactivewindow 2>/dev/null)" = "$((main))" ]' 30 ||
    fail "the keyboard did not come back to the calendar"
keys Return Escape                     # select today (Enter adds, Esc leaves adding)
check tree
check state "June 14, today, 2 birthdays" selected yes
keys Right
check state "June 15" selected yes
check state "June 14, today, 2 birthdays" selected no
check state Alarm checked yes
keys Tab space
check state Alarm checked no
keys Next
check state July selected yes
check state June selected no
echo "passed"
