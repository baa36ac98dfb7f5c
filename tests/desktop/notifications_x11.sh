#!/usr/bin/env bash
# On the X11 rig with a notification server (dunst, on a session bus of its own): each alarm
# reaches it with the person's name, the date and the picture, and choosing its "OK" (from
# dunst's menu of actions) acknowledges the alarm, after which the next one follows.
source "$(dirname "$0")/lib.sh"

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:dir=$SCRATCH")
export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
PIDS+=("${bus##*$'\n'}")
# dunst's menu of actions asks this "dmenu", which chooses the action labelled OK.
printf '#!/bin/sh\ngrep -m1 "OK"\n' >"$SCRATCH/choose-ok"
chmod +x "$SCRATCH/choose-ok"
printf '[global]\ndmenu = %s\n' "$SCRATCH/choose-ok" >"$SCRATCH/dunstrc"
dbus-monitor "interface=org.freedesktop.Notifications" >"$SCRATCH/bus.log" 2>&1 &
PIDS+=($!)
dunst -config "$SCRATCH/dunstrc" >"$SCRATCH/dunst.log" 2>&1 &
PIDS+=($!)
wait_for 'dunstctl is-paused' 50 || fail "dunst did not start"

printf '[14-06]\nAnna=f001\n[15-06]\nBert=m002\n[settings]\nnotify_advance=1\nnotify_days=3\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n' \
    >"$SCRATCH/Cal_Data/DataFile.txt"
start_zembrola LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
    FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=Europe/Amsterdam \
    ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
wait_for '[ "$(dunstctl count displayed)" -ge 1 ]' 100 || fail "no notification reached dunst"
grep -q '"Birthday: Anna"' "$SCRATCH/bus.log" || fail "the notification does not say whose birthday"
grep -q '"org.zembrola.Zembrola"' "$SCRATCH/bus.log" || fail "the notification names no desktop entry"
grep -q 'string "Zembrola"' "$SCRATCH/bus.log" || fail "the notification names no program"
grep -q '"June 14"' "$SCRATCH/bus.log" || fail "the notification has no date"
grep -q "file://$SCRATCH/Cal_Data/Images/f001.bmp" "$SCRATCH/bus.log" || fail "the notification has no picture"
[ -n "$(alarm_window)" ] || fail "no alarm window"

# dunst may miss the request for its menu on a loaded machine (two test runs at once): asked
# again while nothing came of it, never once the next notice is there.
for _ in 1 2 3; do
    dunstctl context
    wait_for 'grep -q "alarm_acknowledged=" "$SCRATCH/Cal_Data/DataFile.txt"' 50 && break
    grep -q '"Birthday: Bert"' "$SCRATCH/bus.log" && break
done
grep -q "alarm_acknowledged=" "$SCRATCH/Cal_Data/DataFile.txt" || fail "OK did not acknowledge the alarm"
wait_for 'grep -q "\"Birthday: Bert\"" "$SCRATCH/bus.log"' 50 || fail "the next alarm did not follow"
wait_for '[ "$(dunstctl count displayed)" -eq 1 ]' 50 || fail "not Bert's notification alone: $(dunstctl count displayed)"
# Ended while Bert's reminder waits: his notice goes with the program (its OK would be dead).
kill -TERM "$ZPID"
wait "$ZPID" || fail "the program ended with status $?"
wait_for '[ "$(dunstctl count displayed)" -eq 0 ]' 30 || fail "the notification outlived the program"
grep -q "last_alarm_day=14" "$SCRATCH/Cal_Data/DataFile.txt" && fail "Bert's waiting reminder was taken as acknowledged"
echo "notifications on X11: passed"
