#!/usr/bin/env bash
# The window is open while a phone adds a contact to the subscribed address book; "Sync
# address books now" from the window's menu brings the person to their day.  The server is a
# real Xandikos on a free port, stopped by its process id.
source "$(dirname "$0")/lib.sh"

command -v xandikos >/dev/null || fail "xandikos is missing (Debian package xandikos)"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir "$SCRATCH/server"
xandikos -d "$SCRATCH/server" --defaults -l 127.0.0.1 -p "$port" --current-user-principal /user/ \
    >"$SCRATCH/server.log" 2>&1 &
PIDS+=($!)
book=http://127.0.0.1:$port/user/contacts/addressbook/
wait_for "curl -sf -X PROPFIND -H 'Depth: 0' $book" 150 || fail "xandikos did not answer: $(cat "$SCRATCH/server.log")"
printf '{"books": [{"url": "%s"}]}\n' "$book" >"$SCRATCH/Cal_Data/AddressBooks.json"
data=$SCRATCH/Cal_Data/DataFile.txt
links=$SCRATCH/Cal_Data/AddressBooks.json

start_zembrola
wait_for '[ -n "$(main_window)" ]' 100 || fail "no window"
main=$(main_window)
# The sync a few seconds after the start finds the book empty.
wait_for 'grep -q "\"lastSync\": \"20" "$links"' 300 || fail "the first sync did not come: $(cat "$links")"

# The phone: a card for today.
today=$(date +%m%d)
curl -sf -X PUT -H 'Content-Type: text/vcard' --data-binary @- "${book}lena.vcf" <<CARD || fail "the phone could not put the card"
BEGIN:VCARD
VERSION:3.0
UID:lena
FN:Lena Sjöberg
BDAY:--$today
GENDER:F
END:VCARD
CARD
# And one that states no gender: it waits for the user's choice in the Address books dialog.
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kim\r\nFN:Kim Ek\r\nBDAY:--1224\r\nEND:VCARD\r\n' |
    curl -sf -X PUT -H 'Content-Type: text/vcard' --data-binary @- "${book}kim.vcf" ||
    fail "the phone could not put the second card"
sleep 0.5
grep -q "Lena" "$data" && fail "the card came before it was asked for"

# The title bar's menu: Show, Hide, Exit, Import, Export, Find, Address books, then the sync.
click_window "$main" 80 8 3
sleep 0.6
xdotool key Down Down Down Down Down Down Down Down Return
section="[$(date +%d-%m)]"
wait_for "grep -a -A3 -F '$section' '$data' | grep -aq '^Lena'" 150 ||
    fail "Sync now did not bring Lena to $section: $(cat "$data")"
# A click on today shows her (the grid starts on Sunday; a cell is 19 by 17 pixels).
first=$(date -d "$(date +%Y-%m-01)" +%w)
cell=$((10#$(date +%d) + first - 1))
click_window "$main" $((14 + cell % 7 * 19)) $((85 + cell / 7 * 17))
sleep 0.5
[ -n "${ZEMBROLA_SHOTS:-}" ] && screen_shot "$ZEMBROLA_SHOTS/sync_now.png"

# The Address books dialog shows the book in step, and Kim waiting for a gender.
click_window "$main" 80 8 3
sleep 0.6
xdotool key Down Down Down Down Down Down Down Return
wait_for 'xdotool search --onlyvisible --name "^Address books$" >/dev/null' 50 ||
    fail "the Address books dialog did not open"
sleep 0.5
[ -n "${ZEMBROLA_SHOTS:-}" ] && screen_shot "$ZEMBROLA_SHOTS/books.png"
# Add… has the focus: it opens the form for a new book; Escape closes it again.
xdotool key Return
wait_for 'xdotool search --onlyvisible --name "^Subscribe to an address book$" >/dev/null' 50 ||
    fail "Add… did not open the form"
xdotool type --delay 20 "https://cloud.example.com/"
sleep 0.3
[ -n "${ZEMBROLA_SHOTS:-}" ] && screen_shot "$ZEMBROLA_SHOTS/books-add.png"
xdotool key Escape

kill -TERM "$ZPID"
wait_for '! kill -0 "$ZPID"' 50 || fail "the program did not end"
echo "passed"
