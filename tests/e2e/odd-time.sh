#!/usr/bin/env bash
# Odd time through the replay program: frames of 0 and 1 ms, and between 16 ms frames stalls of
# 1 s, 10 s and 10 minutes and a gap the 32-bit tick turns negative (-2^31 ms). Every run must end
# with status 0 (no value left finite-less), keep the glow within its 3001 sprites and each wing
# within the sparks that can still be alive (one a frame, fading below 0.01 in 575 draws), and
# keep the body's nodes 0.05 apart. After each stall the scene must be back to what 16 ms frames
# hold, and it prints how long the creature took to come back into view.
# Arguments: TRACE WORK [FRAMES_AFTER]  (tests/soak runs longer tails)
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
on_a_display "$@"
trace=$1
work=$2
after=${3:-2500}
fresh_work "$work"

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

# settled NAME STALL-FRAME: "ok" when the scene is back to what 16 ms frames hold, else the first
# frame that is not. At 16 ms a wing holds at most 77 sparks (one per 120 ms, each alive for at
# most 575 draws); a frame counts for at most 3000 ms, which owes the emitter 25 sparks, repaid one
# a frame and gone with their 575 draws. Within 5 s (313 frames) the head is within 20 units of
# the origin (the flight's targets lie within 14.5) and the glow holds at most 200 sprites (seeds
# 1 to 12 hold at most 142 over 6000 frames; a stall that stopped their ageing would add 0.7 a
# frame).
settled() {
    jq -rs --argjson stall "$2" '
        [.[] | select(.frame > $stall) | {frame, after: (.frame - $stall), sparks: ([.wings[].sparks] | max),
                                          distance: (.head | map(. * .) | add | sqrt), count: .planet.count}
         | select(.sparks > 77 + 25 or (.after > 575 + 29 and .sparks > 77)
                  or (.after > 313 and (.distance > 20 or .count > 200)))]
        | if length == 0 then "ok" else "frame \(.[0].frame): \(.[0])" end' "$work/$1.jsonl"
}

for stall in 1000 10000 600000 -2147483648; do
    name="stall-$stall"
    run "$name" "$(repeat 300 16),$stall,$(repeat "$after" 16)" $((301 + after))
    seen=$(jq -rs "[.[] | select(.frame > 250 and .frame <= 300) | select($in_view)] | length" "$work/$name.jsonl")
    echo "odd-time: stall of $stall ms: creature in view in $seen of the 50 frames before it;" \
        "back in view $(recovery "$name" 301) ms after it"
    check "$name: the creature comes back into view" yes \
        "$([ "$(recovery "$name" 301)" != never ] && echo yes || echo no)"
    check "$name: sparks, the head and the glow back to what 16 ms frames hold" ok "$(settled "$name" 301)"
done
finish
