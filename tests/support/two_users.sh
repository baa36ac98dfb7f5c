#!/usr/bin/env bash
# As two local users: what another user plants at the error log's path in a shared temporary
# folder is never followed or written.  Needs root, to make the second user.
#   $1: the error log probe
set -euo pipefail
probe=$1
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: skipped (a second local user is needed)"
    exit 77
fi
other=zembrola-test-other
id "$other" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$other"

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
echo "two users: passed"
