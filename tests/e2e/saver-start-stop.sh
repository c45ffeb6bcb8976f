#!/usr/bin/env bash
# Closed at any moment: full-screen runs of the .scr that the user starts moving the mouse over at a
# random moment, every other one within its first two seconds (start-up under Wine takes about one),
# the others within five; and previews whose parent window is destroyed at a random moment. Input reaches the saver only once its window is on the
# screen, so a full-screen close counts from the later of the moment and the window's appearance.
# Each run must end with status 0, leave no process behind, and end its run log with the teardown
# records; the time from its close to its end is printed, and a run still there 30 s after its
# close counts as hung (a bound for a shared, loaded machine, not a measure of speed).
# STOP_RUNS (default 10) and STOP_PREVIEWS (default 4) set the numbers of runs, STOP_SEED the seed
# of the random moments (printed, so that a failing sequence can be run again).
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

runs=${STOP_RUNS:-10}
previews=${STOP_PREVIEWS:-4}
seed=${STOP_SEED:-$(date +%s)}
echo "start-stop: $runs full-screen runs, $previews previews, STOP_SEED=$seed"
RANDOM=$seed
clear_settings
with_sound
now_ms() { echo $((($(date +%s%N) - start) / 1000000)); }
# A saver process of this test's copy, by its Unix or its Windows path, within 5 s of the end.
leftover() {
    for _ in $(seq 25); do
        pgrep -f "$(basename "$work")[/\\\\]morrowmere\\.scr" >/dev/null || { echo none; return; }
        sleep 0.2
    done
    echo "a process is left: $(pgrep -af "$(basename "$work")[/\\\\]morrowmere\\.scr")"
}

for run in $(seq "$runs"); do
    moment=$((run % 2 ? RANDOM % 2001 : RANDOM % 5001))
    x=400
    xdotool mousemove "$x" 300
    saver_start /s
    start=$(date +%s%N)
    sleep "$(printf '%d.%03d' $((moment / 1000)) $((moment % 1000)))"
    shown=""
    # The close counts from the later of the moment and the window's appearance (from the moment
    # while no window shows: a start that never shows one is hung too).
    while [ ! -f "$work/exit" ]; do
        now=$(now_ms)
        if [ -z "$shown" ] && xdotool search --onlyvisible --name '^Screen Saver$' >/dev/null 2>&1; then
            shown=$now
        fi
        closed=$((${shown:-0} > moment ? ${shown:-0} : moment))
        [ $((now - closed)) -lt 30000 ] || break
        x=$((x == 400 ? 420 : 400))
        xdotool mousemove "$x" 300
        sleep 0.2
    done
    ended=$(now_ms)
    status=$(wait_for_exit 1)
    closed=$((${shown:-0} > moment ? ${shown:-0} : moment))
    what="full-screen run $run (input from $moment ms, window shown at ${shown:-never} ms)"
    echo "start-stop: $what ended $((ended - closed)) ms after its close with status $status"
    check "$what: ends with status 0, not hung 30 s after its close" 0 "$status"
    check "$what: the log ends with the teardown records" "$(normal_end_records)" "$(records_shape | tail -3)"
    [ "$status" == running ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    check "$what: no process left" none "$(leftover)"
done

for run in $(seq "$previews"); do
    moment=$((run % 2 ? RANDOM % 2001 : RANDOM % 5001))
    rm -f "$log"
    output=$(probe preview-close "Z:${work//\//\\}\\morrowmere.scr" "$moment")
    what="preview $run (parent destroyed at $moment ms, $(grep '^child=' <<<"$output"))"
    echo "start-stop: $what ended in $(grep '^took=' <<<"$output" | cut -d= -f2) ms"
    check "$what: status 0 within 5 s" "ended=1 exit=0" \
        "$(grep '^ended=' <<<"$output") $(grep '^exit=' <<<"$output")"
    check "$what: the log ends with the teardown records" "$(normal_end_records)" "$(records_shape | tail -3)"
    check "$what: no process left" none "$(leftover)"
done
finish
