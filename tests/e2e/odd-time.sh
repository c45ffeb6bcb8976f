#!/usr/bin/env bash
# Odd time through the replay program: frames of 0 and 1 ms, stalls of 1 s, 10 s and 10 minutes
# between 16 ms frames, and the scene's 32-bit millisecond clocks carried past their wrap. Every
# run must end with status 0 (no value left finite-less), keep the glow within its 3001 sprites and
# each wing within the sparks that can still be alive (one a frame, fading below 0.01 in 575
# draws), and keep the body's nodes 0.05 apart. After each stall it prints how long the creature
# took to come back into view.
# Arguments: TRACE WORK [FRAMES_AFTER]  (tests/soak runs longer tails)
set -uo pipefail
. "$(dirname "$0")/check.sh"
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../../tools/with-xvfb" bash "$0" "$@"
fi
trace=$1
work=$2
after=${3:-2500}
rm -rf "$work"
mkdir -p "$work"
export ALSOFT_DRIVERS=null

# repeat COUNT VALUE: COUNT comma-separated copies.
repeat() { printf "$2%.0s," $(seq "$1") | sed 's/,$//'; }

# run NAME ELAPSED-LIST FRAMES
run() {
    "$trace" --seed 9 --frames "$3" --elapsed "$2" --size 32x24 >"$work/$1.jsonl" 2>"$work/$1.err"
    check "$1: the run ends with status 0" 0 "$?"
    check "$1: every frame traced" "$3" "$(jq -s 'length - 1' "$work/$1.jsonl")"
    check "$1: the glow within 3001 sprites, each wing within 575 sparks, the nodes 0.05 apart" ok \
        "$(jq -rs -f "$(dirname "$0")/trace-bounds.jq" "$work/$1.jsonl")"
}

# The creature is in view when its head projects inside the fixed camera's picture (21 degrees,
# aspect 1.3333333, the eye at z = 4) in front of the eye.
in_view='(.head[2] < 3.99) and ((.head[1] / (4 - .head[2])) | fabs) <= 0.18534
         and ((.head[0] / (4 - .head[2])) | fabs) <= 0.24712'

# recovery NAME STALL-FRAME: the milliseconds from the end of the stall until the head is in view.
recovery() {
    jq -rs --argjson from "$2" "[.[] | select(.frame > \$from) | select($in_view)] | first
        | if . == null then \"never\" else (.frame - \$from - 1) * 16 end" "$work/$1.jsonl"
}

run zero-ms 0 2000
check "zero-ms: no time, no spark" 0 "$(jq -s '[.[].wings[].sparks] | max' "$work/zero-ms.jsonl")"
run one-ms 1 3000

for stall in 1000 10000 600000; do
    name="stall-$stall"
    run "$name" "$(repeat 300 16),$stall,$(repeat "$after" 16)" $((301 + after))
    seen=$(jq -rs "[.[] | select(.frame > 250 and .frame <= 300) | select($in_view)] | length" "$work/$name.jsonl")
    echo "odd-time: stall of $stall ms: creature in view in $seen of the 50 frames before it;" \
        "back in view $(recovery "$name" 301) ms after it"
    check "$name: the creature comes back into view" yes \
        "$([ "$(recovery "$name" 301)" != never ] && echo yes || echo no)"
done

# The wing clocks and the flowers' sway clocks count milliseconds in 32 bits: two frames of 2^30 ms
# carry them past 2^31, and the scene goes on at 16 ms frames.
run wrap "$(repeat 100 16),1073741824,1073741824,$(repeat 600 16)" 702
check "wrap: the wing clock went past the 32-bit limit" yes \
    "$(jq -rs 'if (.[101].wings[0].clock > .[102].wings[0].clock) then "yes" else "no" end' "$work/wrap.jsonl")"
finish
