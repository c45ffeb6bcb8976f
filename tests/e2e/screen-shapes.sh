#!/usr/bin/env bash
# The replay program on wide, tall and very wide drawing areas: the planet stays round, in its
# place and at its size, and the horizon leaves no pixel at the clear colour.
# Arguments: TRACE DISCSIZE WORK
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
. "$(dirname "$0")/disc.sh"
on_a_display "$@"
trace=$1
DISCSIZE=$2
work=$3
fresh_work "$work"

# The first frame (the sky darkened), the second (in its own colours) and, on the common wide
# screen, a later one with the glow grown round the planet.
for size in 1280x720 2560x1080 1080x1920; do
    width=${size%x*}
    height=${size#*x}
    frames=2
    [ "$size" = 1280x720 ] && frames=300
    "$trace" --seed 15 --frames "$frames" --every "$frames" --size "$size" --snapshot "1:$work/$size-1.png" \
        --snapshot "2:$work/$size-2.png" --snapshot "$frames:$work/$size-last.png" >/dev/null
    check "$size: the replay program ends with status 0" 0 "$?"
    for frame in 1 2 last; do
        check "$size, frame $frame: the planet is round, in place and sized, and no pixel is left black" ok \
            "$(disc_verdict "$work/$size-$frame.png" 0 0 "$width" "$height" black)"
    done
done
finish
