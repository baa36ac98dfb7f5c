#!/usr/bin/env bash
# Keys alone, as a user without a mouse works: acknowledge the alarm, choose a month and a day,
# add a person with a name, gender and picture, step through a day's people, delete one, switch
# the alarm off and set the days of notice.  The data file shows each effect.
source "$(dirname "$0")/lib.sh"

faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -f "$faketime" ] || fail "libfaketime is missing (Debian package faketime)"
data=$SCRATCH/Cal_Data/DataFile.txt
printf '[14-06]\nAnna=f001\nTom=m002\n[settings]\nnotify_advance=1\nnotify_days=3\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n' >"$data"
start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
keys() { xdotool key --delay 120 "$@"; sleep 0.4; }
section() { awk -v s="[$1]" '$0 == s {on=1; next} /^\[/ {on=0} on' "$data"; }

# The program comes with the keyboard and hands it to the reminder.  Keys count after a short
# grace: Enter acknowledges Anna's, Space Tom's.  Nobody asks the window manager for the focus.
wait_for '[ -n "$(alarm_window)" ]' 100 || fail "no alarm"
wait_for '[ "$(xdotool getactivewindow 2>/dev/null)" = "$(($(alarm_window)))" ]' 50 ||
    fail "the reminder did not get the keyboard"
sleep 1.7
keys Return
wait_for 'grep -q "alarm_acknowledged=" "$data"' 30 || fail "Enter did not acknowledge Anna's alarm"
wait_for '[ -n "$(alarm_window)" ]' 30 || fail "Tom's alarm did not follow"
sleep 1.7
keys space
wait_for '[ -z "$(alarm_window)" ]' 50 || fail "Enter and Space did not acknowledge both alarms"
grep -q "last_alarm_day=14" "$data" || fail "the acknowledgement was not saved"

# The keyboard is back in the calendar, on today (14 June).
main=$(main_window)
wait_for '[ "$(xdotool getactivewindow 2>/dev/null)" = "$((main))" ]' 30 ||
    fail "the keyboard did not come back to the calendar"
sleep 0.3

# July with Page Down, two days on with the arrows, Enter adds: "Lena", Tab to the genders,
# Space chooses a woman; on Ok, Tab to the next picture, Space, then Shift+Tab to Ok, Space saves.
keys Next Right Right Return
xdotool type --delay 80 "Lena"
keys Tab space
keys Tab space shift+Tab space
section 16-07 | grep -q "^Lena=f00" || fail "Lena was not saved on 16 July: $(cat "$data")"

# Back to 14 June: Page Up, Left twice.  Tab reaches the alarm switch, the arrows of the notice,
# the bin, the previous-person button and then the name, where Right steps to the next person.
keys Prior Left Left
keys Tab space                      # the alarm switch: off
keys plus plus                      # five days of notice
keys Tab Tab Tab Tab Tab Right      # the name field; Right shows Tom
keys Delete
wait_for 'xdotool search --onlyvisible --name "^Zembrola$" | grep -v "$main"' 30 || fail "Delete asked nothing"
keys shift+Tab space                # "Delete" in the question
wait_for '! section 14-06 | grep -q "^Tom="' 30 || fail "Tom was not deleted: $(cat "$data")"
section 14-06 | grep -q "^Anna=" || fail "Anna went with Tom"

kill -TERM "$ZPID"
wait_for '! kill -0 "$ZPID"' 50 || fail "the program did not end"
grep -q "notify_advance=0" "$data" || fail "Space did not switch the alarm off: $(cat "$data")"
grep -q "notify_days=5" "$data" || fail "+ did not set the days of notice: $(cat "$data")"
echo "passed"
