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
# Valgrind runs the program many times slower, and slower still beside other tests.
expect_frames "under valgrind" 240
# The steady run, not only the start: the overlay shows once the frame-rate counter has a rate.
check "the overlay shows under valgrind" yes "$(eventually 180 yes overlay_shown)"
kill -TERM "$hack_pid"
check "SIGTERM ends it under valgrind" 143 "$(wait_for_exit 300)"
check "the run was complete" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "valgrind wrote its leak summary" 1 "$(grep -c 'LEAK SUMMARY\|All heap blocks were freed' "$report")"
check "valgrind listed the blocks left at exit" yes "$(grep -q 'still reachable in loss record' "$report" && echo yes)"
check "no block left at exit was allocated by our code" "" "$(our_leaks "$report")"
finish
