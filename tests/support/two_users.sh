#!/usr/bin/env bash
# As two local users: what another user plants at the error log's path in a shared temporary
# folder is never followed or written.  Needs root, to make the second user.
#   $1: the error log probe   $2: the program   $3: the source tree (its Cal_Data)
set -euo pipefail
probe=$1
zembrola=${2:-}
source_tree=${3:-}
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: skipped (a second local user is needed)"
    exit 77
fi
other=zembrola-test-other
# Another test run may be making the same user at this moment: either one's user serves.
id "$other" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$other" 2>/dev/null ||
    id "$other" >/dev/null

shared=$(mktemp -d /tmp/zembrola-shared-XXXXXX)
victim=$(mktemp /tmp/zembrola-victim-XXXXXX)
trap 'rm -rf "$shared" "$victim"' EXIT
chmod 1777 "$shared"
fail() { echo "FAILED: $*" >&2; exit 1; }

echo precious >"$victim"
runuser -u "$other" -- ln -s "$victim" "$shared/Errors.log"
TMP=$shared "$probe" "a message" >/dev/null
[ "$(cat "$victim")" = precious ] || fail "the link was followed: $(cat "$victim")"

rm -f "$shared/Errors.log"
runuser -u "$other" -- sh -c "echo theirs >'$shared/Errors.log'"
TMP=$shared "$probe" "a message" >/dev/null
[ "$(cat "$shared/Errors.log")" = theirs ] || fail "another user's log was written"

rm -f "$shared/Errors.log"
runuser -u "$other" -- mkfifo "$shared/Errors.log"
timeout 10 env TMP="$shared" "$probe" "a message" >/dev/null || fail "a pipe blocked the log"
# An export into that folder: never through the other user's link (to the victim's file, or
# dangling), never into the other user's file, however open it is.
if [ -n "$zembrola" ]; then
    home=$(mktemp -d /tmp/zembrola-home-XXXXXX)
    trap 'rm -rf "$shared" "$victim" "$home"' EXIT
    cp -r "$source_tree/Cal_Data" "$home/"
    printf '[14-06]\nAnna=f001\n' >"$home/Cal_Data/DataFile.txt"
    export_to() { (cd "$home" && "$zembrola" --export-ics "$1" >/dev/null 2>&1); }
    echo precious >"$victim"
    rm -f "$shared/Errors.log"
    runuser -u "$other" -- ln -s "$victim" "$shared/birthdays.ics"
    export_to "$shared/birthdays.ics" && fail "an export through another user's link succeeded"
    [ "$(cat "$victim")" = precious ] || fail "the export wrote through the link: $(cat "$victim")"
    runuser -u "$other" -- ln -s "$shared/planted" "$shared/dangling.ics"
    export_to "$shared/dangling.ics" && fail "an export through a dangling link succeeded"
    [ ! -e "$shared/planted" ] || fail "the export made the dangling link's target"
    runuser -u "$other" -- sh -c "echo theirs >'$shared/theirs.ics' && chmod 666 '$shared/theirs.ics'"
    export_to "$shared/theirs.ics" && fail "the birthdays went into another user's file"
    [ "$(cat "$shared/theirs.ics")" = theirs ] || fail "another user's file was written"
    export_to "$shared/mine.ics" || fail "an export to a new file of one's own failed"
    grep -q "BEGIN:VCALENDAR" "$shared/mine.ics" || fail "the export is not a calendar"
fi
echo "two users: passed"
