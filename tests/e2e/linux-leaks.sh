#!/usr/bin/env bash
# A short session of the Linux port under valgrind's memcheck: at exit no block that our code
# allocated is left, lost or still reachable (the process returns from main, so every object of
# ours has been freed by then). Blocks left inside the libraries (Mesa, LLVM, Xlib, OpenAL) are
# theirs, not ours.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

report="$work/memcheck.txt"
# One llvmpipe thread keeps the run short under valgrind.
LP_NUM_THREADS=0 HACK=valgrind hack_start --leak-check=full --show-leak-kinds=all \
    --num-callers=30 --log-file="$report" "$hack" -window -fps
wait_for_frames
sleep 3
kill -TERM "$hack_pid"
check "it ends with status 0 under valgrind" 0 "$(wait_for_exit 60)"
check "the run was complete" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "valgrind wrote its leak summary" 1 "$(grep -c 'LEAK SUMMARY\|All heap blocks were freed' "$report")"
# A record is ours when the first frame below the allocator is in one of our source files.
ours=$(awk '
    / (lost|still reachable) in loss record / { record = 1; allocator = 0; next }
    record && /^==[0-9]+== +at / { allocator = 1; next }
    record && allocator && /^==[0-9]+== +by / {
        if ($0 ~ /\([A-Za-z0-9]+\.(cpp|h):[0-9]+\)/) print
        record = 0
    }' "$report")
check "valgrind listed the blocks left at exit" yes "$(grep -q 'still reachable in loss record' "$report" && echo yes)"
check "no block left at exit was allocated by our code" "" "$ours"
finish
