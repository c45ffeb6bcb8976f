#!/usr/bin/env bash
# Stopped at any moment: runs of the Linux port ended by SIGTERM at a random moment, every other
# one within its first 300 ms (start-up takes about 100 ms), the others within five seconds. Each
# must end by the signal (status 143) within 5 s, its window and process gone and its run log
# ending with the teardown records. A signal that comes while the display is still being opened
# ends the program at once (no record but the first, or none when it came before the program's
# own code ran).
# STOP_RUNS (default 10) sets the number of runs, STOP_SEED the seed of the random moments (printed,
# so that a failing sequence can be run again).
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

runs=${STOP_RUNS:-10}
seed=${STOP_SEED:-$(date +%s)}
echo "start-stop: $runs runs, STOP_SEED=$seed"
RANDOM=$seed
early=0
for run in $(seq "$runs"); do
    moment=$((run % 2 ? RANDOM % 301 : RANDOM % 5001))
    hack_start -window
    sleep "$(printf '%d.%03d' $((moment / 1000)) $((moment % 1000)))"
    start=$(date +%s%N)
    kill -TERM "$hack_pid"
    status=$(wait_for_exit 5)
    took=$((($(date +%s%N) - start) / 1000000))
    what="run $run (SIGTERM at $moment ms)"
    if [ "$status" == 143 ] && { [ "$(records)" == "" ] || [ "$(records)" == "   Notify : Application has run" ]; }; then
        early=$((early + 1))
    else
        check "$what: ended by SIGTERM within 5 s" 143 "$status"
        check "$what: the log ends with the teardown records" "$(normal_end_records)" "$(records_shape | tail -3)"
    fi
    check "$what: no process and no window left" "no|" "$(hack_alive)|$(windows_named Morrowmere)"
    echo "start-stop: $what ended in $took ms with status $status"
    [ "$status" == running ] && kill -KILL "$hack_pid" 2>/dev/null
done
echo "start-stop: $early of $runs runs ended while the display was being opened"
finish
