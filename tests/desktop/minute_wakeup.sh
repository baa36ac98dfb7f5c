#!/usr/bin/env bash
# What the program costs while it only waits: the wake-up it makes once a minute (the tray's
# tip, the window's month, the tray itself) asks the kernel fewer than 20 things, and nothing
# else wakes it in that minute but the toolkit's own timers.
source "$(dirname "$0")/lib.sh"
command -v strace >/dev/null || { echo "no strace: skipped"; exit 77; }

start_zembrola
wait_for '[ -n "$(windows)" ]' 150 || fail "the window did not show"
sleep 2
# From just after the start to just after the first minute's wake-up, every call of every
# thread, with its thread.
timeout -s INT 62 strace -f -tt -p "$ZPID" -o "$SCRATCH/calls" 2>"$SCRATCH/strace.err" || true
[ -s "$SCRATCH/calls" ] || { cat "$SCRATCH/strace.err"; echo "strace could not attach: skipped"; exit 77; }

# Each time the main thread wakes (a wait that timed out, or the wait strace found it in),
# the calls it makes until its next wait of a second or more.  The minute's wake-up is one of
# them; none may take 20 calls or more.
python3 - "$SCRATCH/calls" "$ZPID" <<'PY' || fail "a wake-up asks the kernel too much"
import re, sys
calls, main = sys.argv[1], sys.argv[2]
lines = [line.split(None, 2)[2] for line in open(calls) if line.startswith(main + " ")]
wait = re.compile(r"^poll\(\[.*\], \d+, (\d+)")
bursts, burst = [], None
for call in lines:
    found = wait.match(call)
    if found and int(found.group(1)) >= 1000 or call.startswith("restart_syscall("):
        if burst is not None:
            bursts.append(burst)
        burst = [] # a long wait begins; what follows it is the next wake-up
    elif burst is not None and not call.startswith("<..."):
        burst.append(call.split("(")[0])
if burst:
    bursts.append(burst)
bursts = [b for b in bursts if b]
if len(bursts) < 1:
    print("no wake-up was seen in a minute")
    sys.exit(1)
for b in bursts:
    print(f"a wake-up of {len(b)} system calls: {' '.join(b)}")
sys.exit(0 if max(len(b) for b in bursts) < 20 else 1)
PY
echo "ok"
