#!/usr/bin/env bash
# Takes the screenshots of docs/: the calendar window browsing, choosing a gender and choosing
# a picture, finding a person, the review of an import, the alarm window, and the keyboard's
# focus on a day, on today, on the alarm switch and in the alarm window, and a reminder for a
# long name.  Runs the built program on a virtual display on 14 June 2026.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
out=${1:-$here/docs}
source "$here/scripts/desktop-session.sh"
start_desktop_session
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; stop_desktop_session; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config PULSE_SERVER=none
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

people='[14-06]\nAnna Berg=f000\nTom Berg=m009\n[18-06]\nGrandpa Joe=m003\n[23-06]\nLea=f002\n[30-06]\nSam=m005\n'
window_of() { # the largest or the alarm-sized window of the program
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        echo "$(xwininfo -id "$id" | awk '/Width:/ {print $2}') $id"
    done | sort -n | awk -v want="$2" '(want == "main" && $1 > 250) || (want == "alarm" && $1 > 150 && $1 < 260) {id=$2} END {print id}'
}
start() { # data-file-contents
    rm -rf "$work/home" && mkdir -p "$work/home" && cp -r "$here/Cal_Data" "$work/home/"
    printf "$1" >"$work/home/Cal_Data/DataFile.txt"
    (cd "$work/home" && LD_PRELOAD=$faketime FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
        exec "$build/zembrola") >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do [ -n "$(window_of $pid main)" ] && break; sleep 0.1; done
    main=$(window_of $pid main)
    sleep 0.5
}
at() { # x y: a point of the main window
    local x y
    x=$(xwininfo -id "$main" | awk '/Absolute upper-left X/ {print $4}')
    y=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/ {print $4}')
    xdotool mousemove $((x + $1)) $((y + $2))
}
shot() { sleep 0.6; "$build/tools/zembrola_screenshot" "$out/$1" "$2"; }

start "${people}[settings]\nnotify_advance=1\nnotify_days=5\nlast_alarm_day=14\nlast_alarm_month=6\nlast_alarm_year=2026\n"
at 15 119 && xdotool click 1             # 14 June, today: Anna and Tom
sleep 0.3 && at 321 349 && xdotool click 1  # the next person
shot main-browse.png "$main"
at 15 153 && xdotool click 1 && sleep 0.15 && xdotool click 1   # double click 28 June
sleep 0.3 && xdotool type --delay 60 "Maria Lopez"
shot main-gender.png "$main"
at 38 338 && xdotool click 1             # a woman
sleep 0.4 && at 120 340 && xdotool click 1 && sleep 0.7 && xdotool click 1   # two pictures on
shot main-picture.png "$main"
kill $pid; wait $pid 2>/dev/null || true

start "${people}[settings]\nnotify_advance=0\n"
at 200 200 && xdotool click 1 && xdotool key ctrl+f && sleep 0.3 && xdotool type --delay 60 "joe"
shot find.png "$main"
xdotool key Escape
cat >"$work/contacts.vcf" <<'CARDS'
BEGIN:VCARD
VERSION:3.0
FN:Anna Berg
BDAY:1990-06-14
END:VCARD
BEGIN:VCARD
VERSION:4.0
FN:Lucía Fernández
GENDER:F
BDAY:--0229
END:VCARD
BEGIN:VCARD
VERSION:3.0
FN:Jürgen Müller
BDAY:19640303
END:VCARD
BEGIN:VCARD
VERSION:4.0
FN:Tomasz Wiśniewski
GENDER:M
BDAY:1984-05-17
END:VCARD
BEGIN:VCARD
VERSION:3.0
FN:Priya Nair
BDAY;VALUE=text:early July
END:VCARD
CARDS
at 60 10 && xdotool click 3 && sleep 0.4 && xdotool key Down Down Down Down Return  # Import contacts…
sleep 2 && xdotool type --delay 10 "$work/contacts.vcf" && xdotool key Return
for _ in $(seq 100); do
    review=$(xdotool search --onlyvisible --name "Import contacts" 2>/dev/null | tail -1) || true
    [ -n "$review" ] && break; sleep 0.1
done
[ -n "$review" ] || { echo "the review of the import did not open" >&2; exit 1; }
shot import-review.png "$review"
kill $pid; wait $pid 2>/dev/null || true

start "${people}[settings]\nnotify_advance=1\nnotify_days=5\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n"
for _ in $(seq 50); do [ -n "$(window_of $pid alarm)" ] && break; sleep 0.1; done
shot alarm.png "$(window_of $pid alarm)"
kill $pid; wait $pid 2>/dev/null || true
# The keyboard's focus frame: a key pressed in the alarm window, then in the calendar.
start "${people}[settings]\nnotify_advance=1\nnotify_days=1\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n"
for _ in $(seq 50); do [ -n "$(window_of $pid alarm)" ] && break; sleep 0.1; done
alarm=$(window_of $pid alarm)
xdotool windowactivate --sync "$alarm" 2>/dev/null; xdotool key F5
shot focus-alarm.png "$alarm"
# Keys acknowledge after a moment's grace: Anna's reminder, then Tom's.
sleep 1.6 && xdotool key Return && sleep 1.8 && xdotool key Return && sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key --delay 100 Right Down
shot focus-day.png "$main"
xdotool key Tab
shot focus-switch.png "$main"
kill $pid; wait $pid 2>/dev/null || true
# A long name in the reminder, then today's cell with the keyboard's focus on it.
start "[14-06]\nAnna-Katharina Schmidt-Berg=f000\n[settings]\nnotify_advance=1\nnotify_days=1\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n"
for _ in $(seq 50); do [ -n "$(window_of $pid alarm)" ] && break; sleep 0.1; done
alarm=$(window_of $pid alarm)
shot alarm-long-name.png "$alarm"
xdotool windowactivate --sync "$alarm" 2>/dev/null; sleep 1.6 && xdotool key Return && sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key --delay 100 Right Left
shot focus-today.png "$main"
kill $pid; wait $pid 2>/dev/null || true
echo "screenshots in $out"
