#!/usr/bin/env bash
# With birthdays due and the program's clock just before 06:00, the alarm comes by itself
# shortly after six: above other windows, without a task-bar entry, with its chime; each
# acknowledgement brings the next birthday.
source "$(dirname "$0")/lib.sh"

faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -f "$faketime" ] || fail "libfaketime is missing (Debian package faketime)"
printf '[14-06]\r\nAnna=f001\r\n[15-06]\r\nBert=m002\r\n[settings]\r\nnotify_advance=1\r\nnotify_days=3\r\nlast_alarm_day=13\r\nlast_alarm_month=6\r\nlast_alarm_year=2026\r\n' \
    >"$SCRATCH/Cal_Data/DataFile.txt"

# Some other window is in front when the alarm comes.
xmessage -geometry 700x500+250+150 "An ordinary window in front" &
PIDS+=($!)
wait_for 'xdotool search --name "^xmessage$"' 50 || fail "xmessage did not start"

# The program's clock starts 15 seconds before six; its timers keep real time.
# (A sanitizer build wants its runtime first; the fake clock is preloaded before it.)
start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 05:59:45" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
wait_for '[ -n "$(main_window)" ]' 100 || fail "the calendar window did not appear"
other=$(xdotool search --name "^xmessage$" | head -1)
xdotool windowactivate --sync "$other" 2>/dev/null || xdotool windowraise "$other"

# Record what reaches the speakers.
parec -d zembrola.monitor --format=s16le --channels=1 --rate=22050 --raw >"$SCRATCH/sound.raw" 2>/dev/null &
recorder=$!
PIDS+=("$recorder")
sleep 5
[ -z "$(alarm_window)" ] || fail "an alarm came before six"

# Nobody touches anything: the once-a-minute wake-up brings the alarm.
wait_for '[ -n "$(alarm_window)" ]' 900 || fail "no alarm after six"
alarm=$(alarm_window)
states "$alarm" | grep -q _NET_WM_STATE_ABOVE || fail "the alarm is not kept above: $(states "$alarm")"
states "$alarm" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the alarm has a task-bar entry"
top=$(xprop -root _NET_CLIENT_LIST_STACKING | awk -F', ' '{print $NF}' | awk '{print $NF}')
[ "$((top))" = "$((alarm))" ] || fail "the alarm is not the top window ($top, alarm $alarm)"

sleep 2.5
kill "$recorder" 2>/dev/null || true
loudest=$(od -An -v -t d2 -w2 "$SCRATCH/sound.raw" | awk '{v = $1 < 0 ? -$1 : $1; if (v > m) m = v} END {print m + 0}')
[ "$loudest" -gt 2000 ] || fail "the alarm was silent (loudest sample $loudest)"

# Acknowledge: the window goes, Bert follows, and once nobody waits today becomes the last
# alarm date.
if [ -n "$SCREENSHOT" ]; then "$SCREENSHOT" "$SCRATCH/alarm.png" "$alarm" || true; fi
click_window "$alarm" 12 12
wait_for 'grep -q "alarm_acknowledged=20260614 20260614 1" "$SCRATCH/Cal_Data/DataFile.txt"' 30 ||
    fail "acknowledging did not store how far the user got"
wait_for '[ -n "$(alarm_window)" ]' 30 || fail "the second birthday did not follow"
click_window "$(alarm_window)" 12 12
wait_for 'grep -q "last_alarm_day=14" "$SCRATCH/Cal_Data/DataFile.txt"' 30 || fail "acknowledging did not store the date"
sleep 1.5
[ -z "$(alarm_window)" ] || fail "an alarm came a third time"
echo "passed"
