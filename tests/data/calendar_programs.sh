#!/usr/bin/env bash
# The exported calendar opens in real calendar programs: every person of a data file with a
# birthday on each of the 366 days appears on that day in calcurse and khal in 2027 and 2028
# (29 February on 28 February in 2027), and a second export imported again into khal adds no
# event.  calcurse matches no event identifiers, so only khal can show the second point.
set -euo pipefail
program=$1 source=$2
command -v calcurse >/dev/null && command -v khal >/dev/null || { echo "no calcurse or khal"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source/Cal_Data" "$work/"
cd "$work"
rm -f Cal_Data/DataFile.txt

# One person a day, every third with a name beyond ASCII (Windows-1252 in the file).
days=(31 29 31 30 31 30 31 31 30 31 30 31)
{
    for month in $(seq 1 12); do
        for day in $(seq 1 "${days[month - 1]}"); do
            printf '[%02d-%02d]\n' "$day" "$month"
            if (((month + day) % 3 == 0)); then
                printf 'Zo\xeb %02d%02d=f001\n' "$month" "$day"
            else
                printf 'Person %02d%02d=m002\n' "$month" "$day"
            fi
        done
    done
} >Cal_Data/DataFile.txt

"$program" --export-ics first.ics >/dev/null
"$program" --export-ics second.ics >/dev/null

# What each program must show: "YYYY-MM-DD title" for both years.
expected() {
    for year in 2027 2028; do
        for month in $(seq 1 12); do
            for day in $(seq 1 "${days[month - 1]}"); do
                local shown=$day name
                ((month == 2 && day == 29 && year == 2027)) && shown=28
                if (((month + day) % 3 == 0)); then name=$(printf 'Zoë %02d%02d' "$month" "$day")
                else name=$(printf 'Person %02d%02d' "$month" "$day"); fi
                printf '%d-%02d-%02d Birthday: %s\n' "$year" "$month" "$shown" "$name"
            done
        done
    done | sort
}
expected >expected.txt

# calcurse: dates as headings ("02/28/27:"), events below them (" * title").
mkdir calcurse
calcurse -D calcurse -i first.ics >/dev/null
calcurse -D calcurse -Q --from 01/01/2027 --days 731 --format-event ' * %m\n' |
    awk '/^[0-9][0-9]\/[0-9][0-9]\/[0-9][0-9]:$/ { split($0, d, "[/:]"); date = "20" d[3] "-" d[1] "-" d[2]; next }
         /^ \* / { sub(/^ \* /, ""); print date " " $0 }' | sort >calcurse.txt
diff -u expected.txt calcurse.txt >calcurse.diff || { echo "calcurse differs:"; head -20 calcurse.diff; exit 1; }

# khal, with a private configuration and calendar folder.
mkdir -p khal/calendar
cat >khal/config <<CONFIG
[calendars]
[[birthdays]]
path = $work/khal/calendar
[locale]
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
timeformat = %H:%M
default_timezone = UTC
local_timezone = UTC
[sqlite]
path = $work/khal/cache.db
CONFIG
listing() {
    khal -c khal/config list --format '{start-date} {title}' --day-format '' 2027-01-01 731d |
        grep -E '^[0-9]{4}-[0-9]{2}-[0-9]{2} ' | sort
}
khal -c khal/config import --batch -a birthdays first.ics
listing >khal.txt
diff -u expected.txt khal.txt >khal.diff || { echo "khal differs:"; head -20 khal.diff; exit 1; }
events=$(ls khal/calendar | wc -l)
khal -c khal/config import --batch -a birthdays second.ics
listing >khal-again.txt
[ "$(ls khal/calendar | wc -l)" = "$events" ] || { echo "the second import added events"; exit 1; }
diff -u khal.txt khal-again.txt || { echo "the second import changed khal's days"; exit 1; }
echo "366 people on their days in calcurse and khal, 2027 and 2028; $events events after two imports"
