#!/usr/bin/env bash
# A text missing from the language file ends the program in an orderly way: a message names
# the text and the file, the data file is not touched, and the exit status says it failed.
source "$(dirname "$0")/lib.sh"

printf '[14-06]\nAnna=f001\n[settings]\nnotify_advance=0\n' >"$SCRATCH/Cal_Data/DataFile.txt"
cp "$SCRATCH/Cal_Data/DataFile.txt" "$SCRATCH/before.txt"
sed -i 's/^Hide=Hide\r$/Hidden=Hide\r/' "$SCRATCH/Cal_Data/Language.txt"
start_zembrola
wait_for '[ -n "$(tray_icon)" ]' 100 || fail "no icon in the tray"
click_window "$(tray_icon)" 10 15 3
# The message box: the program's only window that takes keyboard input now.
wait_for 'xdotool search --onlyvisible --pid "$ZPID" --name "^Zembrola$" | grep -q .' 50 || fail "no message"
sleep 1
grep -q 'String not found in textfile: Hide' "$SCRATCH/Errors.log" || fail "the error log does not name the text"
xdotool key Return
wait_for '! kill -0 "$ZPID"' 50 || { xdotool key space; wait_for '! kill -0 "$ZPID"' 50; } || fail "the program did not end"
set +e
wait "$ZPID"
status=$?
set -e
[ "$status" = 2 ] || fail "exit status $status, expected 2"
cmp -s "$SCRATCH/Cal_Data/DataFile.txt" "$SCRATCH/before.txt" || fail "the data file was touched"
echo "passed"
