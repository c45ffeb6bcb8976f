#!/usr/bin/env bash
# The Linux replay program: its command line, the same bytes from the same arguments, the golden
# trace of every scene object built so far, the printed frames, snapshots, and its failures.
# Arguments: TRACE TRACE-WITHOUT-PLANET WORK GOLDEN
# With GOLDEN_WRITE=1 it rewrites the golden trace instead (after a deliberate change of behaviour).
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
on_a_display "$@"
trace=$1
trace_no_planet=$2
work=$3
golden=$4
# The golden run: a swell of the ambient walk, sprites born, aged and removed, uneven frames, the
# flight through all five states (checked below frame by frame), sparks and flaps.
golden_args=(--seed 8 --frames 400 --every 25 --elapsed 16,33,7,250 --size 64x48)
if [ "${GOLDEN_WRITE:-}" = 1 ]; then
    "$trace" "${golden_args[@]}" >"$golden" && echo "wrote $golden"
    exit
fi
fresh_work "$work"

usage="usage: morrowmere-trace --seed N --frames K [--elapsed E1,E2,...] [--every M] [--snapshot F:FILE.png]... [--size WxH] [--scale S] [--drawing plain|saving] [--pixels FILE]"
for args in "--seed 1" "--seed 1 --frames 2 --size 10" "--seed 1 --frames 2 --snapshot 3:$work/x.png" \
            "--seed 1 --frames 2 --elapsed 16,x"; do
    # shellcheck disable=SC2086
    "$trace" $args >"$work/out" 2>"$work/err"
    check "refused ($args): exit 2" 2 "$?"
    check "refused ($args): the usage line on stderr, nothing on stdout" "$usage|" \
        "$(tail -1 "$work/err")|$(cat "$work/out")"
done

"$trace" --seed 7 --frames 30 --elapsed 16,40 >"$work/a"
check "a run ends with status 0" 0 "$?"
"$trace" --seed 7 --frames 30 --elapsed 16,40 >"$work/b"
check "the same arguments give the same bytes" same "$(cmp -s "$work/a" "$work/b" && echo same)"
check "one line per frame, frame 0 first" "31 0 30" \
    "$(wc -l <"$work/a") $(head -1 "$work/a" | jq .frame) $(tail -1 "$work/a" | jq .frame)"
"$trace" --seed 8 --frames 30 --elapsed 16,40 >"$work/c"
check "another seed gives another trace" different "$(cmp -s "$work/a" "$work/c" || echo different)"
"$trace" --seed 7 --frames 30 --elapsed 16,40 --every 7 >"$work/every"
check "--every 7 prints frames 0, 7, 14, 21, 28 and the last, as the full run has them" \
    "$(sed -n '1p;8p;15p;22p;29p;31p' "$work/a")" "$(cat "$work/every")"

# The golden trace, compared object by object so that a failure names what changed.
"$trace" "${golden_args[@]}" >"$work/golden"
for key in draws ambient planet flight head tail spacing flowers wings wingSound; do
    check "golden trace: $key" "$(jq -c "[.frame, .$key]" "$golden")" "$(jq -c "[.frame, .$key]" "$work/golden")"
done
check "golden trace: the flight passes through all five states" "[0,1,2,3,4]" \
    "$("$trace" "${golden_args[@]}" --every 1 | jq -sc '[.[].flight.state] | unique')"
check "golden trace: the ambient walk swelled" yes \
    "$(jq -s 'if any(.[]; .ambient.target != 0) then "yes" else "no" end' -r "$golden")"
check "golden trace: sprites were removed" yes \
    "$(jq -s 'if any(.[1:][]; .planet.count < 3) or ([.[].planet.count] | . != (sort)) then "yes" else "no" end' \
        -r "$golden")"

# Snapshots: the frame as drawn, right side up (the sky on top, the grey ground band below).
"$trace" --seed 3 --frames 4 --size 160x120 --snapshot "2:$work/s2.png" --snapshot "4:$work/s4.png" \
    --snapshot "4:$work/again.png" >/dev/null
check "snapshots: status 0" 0 "$?"
check "snapshots: the size asked for" "160x120 160x120" \
    "$(identify -format '%wx%h ' "$work/s2.png" "$work/s4.png" | sed 's/ $//')"
check "snapshots: one frame saved twice gives the same picture" 0 \
    "$(compare -metric AE "$work/s4.png" "$work/again.png" null: 2>&1)"
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }
read -r r g b <<<"$(pixel "$work/s4.png" 5 2)"
check "snapshots: the top is dark blue sky" yes "$( ((b > r && r + g + b < 240)) && echo yes || echo "no: $r $g $b")"
read -r r g b <<<"$(pixel "$work/s4.png" 5 117)"
check "snapshots: the bottom is the grey band" yes \
    "$( ((r == g && g == b && r > 100 && r < 160)) && echo yes || echo "no: $r $g $b")"
# The whole scene at frame 700 of seed 15, seen through the fixed camera (21 degrees, aspect
# 1.3333333, the eye at z = 4): the creature low over the grey band, the four flowers.
project() {
    awk -v x="$1" -v y="$2" -v z="$3" 'BEGIN {
        f = 1 / (sin(10.5 * 3.14159265358979 / 180) / cos(10.5 * 3.14159265358979 / 180)); d = 4 - z
        printf "%d %d\n", (1 + f / 1.3333333 * x / d) / 2 * 320, (1 - f * y / d) / 2 * 240 }'
}
# How many pixels of a square box (SIZE wide) around (X, Y) pass an awk test of r, g and b.
count_in() {
    convert "$1" -crop "$2x$2+$(($3 - $2 / 2))+$(($4 - $2 / 2))" +repage txt:- |
        awk -F'[(),]' "NR > 1 { r = \$3; g = \$4; b = \$5; if ($5) n++ } END { print n + 0 }"
}
"$trace" --seed 15 --frames 700 --every 700 --size 320x240 --snapshot "700:$work/scene.png" >"$work/scene"
read -r hx hy <<<"$(project $(tail -1 "$work/scene" | jq -r '.head | @tsv'))"
# Clearly coloured, not the band's grey (nor a spark's faint glow on it).
coloured='r > b + 8 || b > r + 8 || r > g + 8 || g > r + 8'
check "the creature's head is drawn where the trace puts it" yes \
    "$( (($(count_in "$work/scene.png" 11 "$hx" "$hy" "$coloured") > 60)) && echo yes || echo "no, at $hx $hy")"
check "the band below the creature shows none of it" 0 "$(count_in "$work/scene.png" 11 "$hx" 228 "$coloured")"
# Orange pixels away from the head (and its horns).
orange=$(convert "$work/scene.png" +repage txt:- |
    awk -F'[(),]' -v hx="$hx" -v hy="$hy" \
        'NR > 1 && $3 > $4 + 20 && $4 > $5 && ($1 - hx)^2 + ($2 - hy)^2 > 400 { n++ } END { print n + 0 }')
check "sparks glow orange" yes "$( ((orange > 5)) && echo yes || echo "no: $orange")"
# A unit above the ground the stalks stand nearly upright and clear of the fog that lies on it;
# the fourth, 44 units away, is nearly lost in the fog of the distance.
for root in "-5 -20" "5 -20" "3 -30"; do
    read -r rx rz <<<"$root"
    read -r sx sy <<<"$(project "$rx" -1 "$rz")"
    check "a green stalk rises from the root at x $rx, z $rz" yes \
        "$( (($(count_in "$work/scene.png" 9 "$sx" "$sy" 'g > r + 4 && g > b + 4') > 2)) && echo yes || echo "no, at $sx $sy")"
done
"$trace" --seed 3 --frames 2 --snapshot "1:$work/no-such-folder/x.png" >/dev/null 2>"$work/err"
check "a picture that cannot be written: status 1 and why" "1 morrowmere-trace: cannot write $work/no-such-folder/x.png" \
    "$? $(cat "$work/err")"

"$trace_no_planet" --seed 3 --frames 2 >"$work/out" 2>"$work/err"
check "a failed start: status 1, the kept message on stderr, no frame printed" \
    "1|morrowmere-trace: Error of initialization|" "$?|$(cat "$work/err")|$(cat "$work/out")"
finish
