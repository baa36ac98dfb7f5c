#!/usr/bin/env bash
# Exit after reminders ends cleanly: many runs, each showing an alarm (acknowledged in every
# other run, left standing in the others) and then choosing Exit in the tray's menu, all end
# with status 0, no report of a sanitizer or the C library, and no process left.
source "$(dirname "$0")/lib.sh"

faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
runs=${ZEMBROLA_EXIT_RUNS:-50}
for run in $(seq "$runs"); do
    printf '[14-06]\nAnna=f001\n[15-06]\nBert=m002\n[settings]\nnotify_advance=1\nnotify_days=3\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n' \
        >"$SCRATCH/Cal_Data/DataFile.txt"
    : >"$SCRATCH/out.log"
    start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
        TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    wait_for '[ -n "$(alarm_window)" ] && [ -n "$(tray_icon)" ]' 150 || fail "run $run: no alarm"
    if [ $((run % 2)) -eq 0 ]; then
        click_window "$(alarm_window)" 12 12 # acknowledged: Bert's alarm follows
        wait_for 'grep -q "alarm_acknowledged=" "$SCRATCH/Cal_Data/DataFile.txt"' 30 ||
            fail "run $run: not acknowledged"
        sleep 0.3
    fi
    tray_menu 3
    wait_for '! kill -0 "$ZPID"' 100 || fail "run $run: Exit did not end the program"
    status=0
    wait "$ZPID" || status=$?
    [ "$status" -eq 0 ] || fail "run $run: the program ended with status $status"
    if grep -E -q "AddressSanitizer|runtime error|LeakSanitizer|corrupted|double free|bad_alloc" "$SCRATCH/out.log"; then
        fail "run $run: a report at exit"
    fi
    [ -z "$(pgrep -P "$ZPID")" ] || fail "run $run: a process was left"
done
echo "exit after reminders: $runs runs passed"
