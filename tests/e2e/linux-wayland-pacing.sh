#!/usr/bin/env bash
# The native Wayland client's frames on a headless sway, read from its own protocol trace
# (WAYLAND_DEBUG=client, its stderr): the scene shown once per refresh of a 60 Hz output and no
# surface committed again before the compositor has called back for its last frame; -delay
# capping the rate; every buffer opaque (wl_shm format 1, XRGB8888) and, on a scale-2 output, at
# the output's full pixel count with buffer scale 2. Then outputs unplugged while it runs, on a
# sway nested in the first (each output a window there, unplugged by closing its window): a
# cover's output and then the scene's own go, and the outputs left are still drawn, the planet
# round, until a key ends the run with status 0.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
DISCSIZE=$4
fresh_work "$3"
results=$work
sway_session "$work" "output HEADLESS-1 mode 640x480@60Hz position 0 0"
cp "$1" "$2" "$home/"

# Every run's trace is kept in "$home/traces" for the formats.
traced_start() {
    [ -f "$home/err" ] && cat "$home/err" >>"$home/traces"
    session_start env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen "$@"
}
traced_start
# sway's headless output counts its refresh in whole milliseconds: "60 Hz" is a frame every 16 ms,
# 62.5 a second. A frame that misses a refresh waits for the next one, so a client that rests
# after each frame, or draws every other time, falls to half that (31): the bounds keep clear of it
# and of the refresh rate, which no client can pass, and leave room for a busy machine (the test
# runs with no other test beside it, but not always on a quiet machine: 54 a second seen with
# builds beside it, 44 with a core kept busy). Frames 1 to 4 seconds after the first, past the start.
check "the scene is shown at the 60 Hz output's refresh rate" yes "$(eventually 20 yes rate_between 1000 4000 38 63)"
check "never twice before the compositor's call back" "" "$(trace_summary unpaced)"
check "its buffers have the output's size" "640x480@1" "$(trace_summary buffers)"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it" 143 "$(wait_for_exit 10)"

traced_start -delay 50000
check "-delay 50000 starts a frame at most every 50 ms" yes "$(eventually 20 yes rate_between 1000 4000 10 20.4)"
kill -TERM "$(cat "$home/pid")"
wait_for_exit 10 >/dev/null

in_session swaymsg output HEADLESS-1 mode 1600x1200 scale 2 >/dev/null
traced_start
first_buffers() { [ "$(trace_summary rate 0 300)" != short ] && trace_summary buffers; }
check "on a scale-2 output its buffers have the output's 1600 x 1200 pixels, at buffer scale 2" "1600x1200@2" \
    "$(eventually 20 "1600x1200@2" first_buffers)"
kill -TERM "$(cat "$home/pid")"
wait_for_exit 10 >/dev/null

# The nested sway: its outputs WL-1 to WL-3 are 640 x 480 windows of this one, floating side by
# side, which stay put when one goes.
in_session swaymsg output HEADLESS-1 mode 1920x480 scale 1 >/dev/null
nested_sway 3
outputs() { in_session swaymsg -t get_outputs 2>/dev/null | jq -r '[.[].name] | join(" ")'; }
check "a nested sway with three outputs" "WL-1 WL-2 WL-3" "$(outputs)"
# The frame-rate overlay shows where the scene is drawn, and not on the covers.
traced_start -fps
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
for output in 1 2 3; do
    check "WL-$output shows the scene with a round planet" ok "$(eventually 20 ok output_disc WL-$output 0 0 640 480)"
done
scene=$(trace_summary scene)
check "the scene is drawn on one output's surface" yes "$([[ "$scene" =~ ^[123]$ ]] && echo yes || echo "$scene")"
cover=$((scene % 3 + 1))
left=$((cover % 3 + 1))
on_left() { shot_output=WL-$left overlay_shown; }
check "WL-$left is a cover, without the frame-rate overlay" no "$(on_left | cut -d: -f1)"

outer swaymsg "[title=\"WL-$cover\$\"] kill" >/dev/null
check "WL-$cover, a cover's output, is unplugged: the client is told" "$cover" "$(eventually 10 "$cover" trace_summary removed)"
check "it goes on" running "$(wait_for_exit 0)"
check "the scene's own output still shows a round planet" ok "$(eventually 20 ok output_disc WL-$scene 0 0 640 480)"
check "drawn live" yes "$(eventually 10 yes output_live WL-$scene)"

outer swaymsg "[title=\"WL-$scene\$\"] kill" >/dev/null
check "WL-$scene, the scene's own output, is unplugged: the client is told" "$cover $scene" \
    "$(eventually 10 "$cover $scene" trace_summary removed)"
check "it goes on" running "$(wait_for_exit 0)"
# The scene moves to the output left, its cover until then.
check "the output left, WL-$left, still shows a round planet" ok "$(eventually 20 ok output_disc WL-$left 0 0 640 480)"
check "drawn live" yes "$(eventually 10 yes output_live WL-$left)"
check "the scene is drawn there now: its frame-rate overlay shows" yes "$(eventually 20 yes on_left)"
in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(run_records)"
check "no surface committed twice before the compositor's call back" "" "$(trace_summary unpaced)"
cat "$home/err" >>"$home/traces"
cp "$home/traces" "$results/traces"
check "every buffer of every run opaque: wl_shm format 1 (XRGB8888)" 1 "$(trace_file=$home/traces trace_summary formats)"
finish
