# The frame-rate measures that bench/run and bench/render-scale share; sourced. They take
# $seconds (the length of a frame-rate run) and $work (a scratch folder), and $prefix (the Wine
# prefix) where a Wine program is measured.

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# fps NAME COMMAND...: the median frame rate of the command over the run.
fps() {
    local name=$1 dir="$work/hud-$1"
    shift
    mkdir -p "$dir"
    GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR="$dir" "$@" >/dev/null 2>&1 &
    local job=$!
    sleep "$seconds"
    kill "$job" 2>/dev/null || true
    [ -z "${prefix:-}" ] || WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    wait "$job" 2>/dev/null || true
    tail -n +5 "$dir/fps" 2>/dev/null | median
}

# paced NAME COMMAND...: "CPU-ms-per-frame fps percent-of-a-core" over 10 s after 3 s of start,
# the CPU time of the process and its threads from /proc, the frames from the fps counter.
paced() {
    local name=$1 dir="$work/paced-$1"
    shift
    mkdir -p "$dir"
    GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR="$dir" "$@" >/dev/null 2>&1 &
    local job=$! start end rate
    sleep 3
    start=$(awk '{ print $14 + $15 }' "/proc/$job/stat")
    sleep 10
    end=$(awk '{ print $14 + $15 }' "/proc/$job/stat")
    kill "$job" 2>/dev/null || true
    wait "$job" 2>/dev/null || true
    rate=$(tail -n +7 "$dir/fps" 2>/dev/null | head -n 20 | median)
    awk -v a="$start" -v b="$end" -v hz="$(getconf CLK_TCK)" -v fps="$rate" \
        'BEGIN { cpu = (b - a) / hz; printf "%.1f %.1f %.0f", (fps > 0 ? cpu * 1000 / (fps * 10) : 0), fps, cpu / 10 * 100 }'
}
