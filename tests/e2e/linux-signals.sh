#!/usr/bin/env bash
# The Linux port ends on SIGTERM and SIGINT with its whole teardown, and quickly; a signal during
# start-up shows no message. The test build's scene starts 3 seconds late and fails without its sky.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

for signal in TERM INT; do
    hack_start -window
    wait_for_frames
    start=$(date +%s%N)
    kill "-$signal" "$hack_pid"
    status=$(wait_for_exit 5)
    elapsed=$((($(date +%s%N) - start) / 1000000))
    check "SIG$signal ends it with status 0" 0 "$status"
    check "SIG$signal ends it within a second" yes "$([ "$elapsed" -lt 1000 ] && echo yes || echo "no: $elapsed ms")"
    check "SIG$signal: the records of a normal run, in order" "$(normal_start_records; normal_end_records)" \
        "$(records_shape)"
    check "SIG$signal: no process is left" no "$(hack_alive)"
    check "SIG$signal: its window is gone" "" "$(windows_named Morrowmere)"
done

HACK=$test_hack hack_start -window
wait_for_record "Start scene initialization"
kill -TERM "$hack_pid"
check "SIGTERM during start-up ends it with status 0" 0 "$(wait_for_exit 10)"
check "no message is printed" "" "$(cat "$work/err")"
check "the start-up ran to its end, then the teardown" \
    "$(printf '%s\n' "(!)Error : Horizon initialization is failed" \
        "   Notify : Error of common initialization"; normal_end_records | sed 's/<rate>/-1/')" \
    "$(records | tail -5)"
finish
