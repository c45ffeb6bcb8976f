#!/usr/bin/env bash
# A long simulated run through the replay program: FRAMES frames of 16 ms for each seed. Every
# traced value stays finite (status 0), the glow within 3001 sprites, each wing within the 575
# sparks that can be alive at once, the body's nodes 0.05 apart; prints the counts at the end.
# Arguments: TRACE WORK FRAMES SEED...
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
on_a_display "$@"
trace=$1
work=$2
frames=$3
shift 3
fresh_work "$work"
for seed in "$@"; do
    "$trace" --seed "$seed" --frames "$frames" --every 500 --size 64x48 >"$work/$seed.jsonl"
    check "seed $seed: $frames frames end with status 0 (every value finite)" 0 "$?"
    check "seed $seed: the glow within 3001 sprites, each wing within 575 sparks, the nodes 0.05 apart" ok \
        "$(jq -rs -f "$(dirname "$0")/trace-bounds.jq" "$work/$seed.jsonl")"
    echo "long-run: seed $seed: $(jq -rs '"sprites at most \([.[].planet.count] | max), sparks per wing at most \([.[].wings[].sparks] | max), at the end \(.[-1].planet.count) sprites and \(.[-1].wings | map(.sparks) | join(" + ")) sparks"' "$work/$seed.jsonl")"
done
finish
