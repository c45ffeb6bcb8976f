#!/usr/bin/env bash
# The native Wayland client, started by `morrowmere -fullscreen` on a headless sway with two
# outputs of different sizes, the second at scale 2: a full-screen toplevel of its own on each
# output, the scene round on each at the output's full pixel count, an output added while it runs
# covered, an output's scale changed while it runs, the other output still drawn while the first
# one's surface is hidden, an output added while every surface is hidden covered, a typed key that ends it with status 0 and the normal run log, and
# SIGTERM that ends it after the teardown. With
# -x11, or without the Wayland client beside it, `morrowmere -fullscreen` stays an X client.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
. "$(dirname "$0")/disc.sh"
DISCSIZE=$4
fresh_work "$3"
. "$(dirname "$0")/sway-session.sh"
sway_session "$work" "output HEADLESS-1 resolution 1024x768 position 0 0" \
    "output HEADLESS-2 resolution 1600x1200 position 1024 0 scale 2"
check "sway runs with two outputs, the second at scale 2" "1 2" \
    "$(in_session swaymsg -t get_outputs | jq -r '[.[].scale] | join(" ")')"
# The programs lie side by side, as installed.
cp "$1" "$home/morrowmere"
cp "$2" "$home/morrowmere-wayland"
log="$home/state/morrowmere/morrowmere.log"

session_start "$home/morrowmere" -fullscreen
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
surfaces() {
    in_session swaymsg -t get_tree | jq -r '.nodes[] | select(.type == "output") | .name as $output
        | .. | objects | select(.app_id? == "morrowmere") | "\($output) \(.shell) fullscreen=\(.fullscreen_mode)"'
}
expected=$'HEADLESS-1 xdg_shell fullscreen=1\nHEADLESS-2 xdg_shell fullscreen=1'
check "each output has a full-screen toplevel of the client's own" "$expected" "$(eventually 20 "$expected" surfaces)"
check "the first output shows the scene with a round planet" ok "$(eventually 20 ok output_disc HEADLESS-1 0 0 1024 768)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-1)"
check "so does the scale-2 output, at its full 1600 x 1200 pixels" ok \
    "$(eventually 20 ok output_disc HEADLESS-2 0 0 1600 1200)"
check "whose picture is that big" "1600x1200" "$(identify -format '%wx%h' "$home/HEADLESS-2.png")"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-2)"
in_session swaymsg create_output >/dev/null
# The new output is 1920x1080: the 4:3 picture fitted into it, with bars left and right.
check "an output added while it runs shows the scene" ok "$(eventually 20 ok output_disc HEADLESS-3 240 0 1440 1080)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-3)"

# The first output shows another workspace: its surface gets no frames, and the others go on.
in_session swaymsg "focus output HEADLESS-1; workspace away" >/dev/null
# A picture of the second output now, then later ones until one differs from it.
in_session grim -o HEADLESS-2 "$home/HEADLESS-2.png"
check "with the first output's surface hidden, the second is still drawn" yes \
    "$(eventually 10 yes output_live HEADLESS-2)"
in_session swaymsg "workspace 1" >/dev/null
# Every output shows another workspace: no surface gets frames, and the render thread sleeps. An
# output plugged in then still gets its cover and the scene.
for output in 1 2 3; do
    in_session swaymsg "focus output HEADLESS-$output; workspace away$output" >/dev/null
done
# (Seen from the compositor: no output shows a window of the client's.)
check "every surface hidden" "" "$(in_session swaymsg -t get_tree |
    jq -r '.. | objects | select(.app_id? == "morrowmere" and .visible) | .id')"
in_session swaymsg create_output >/dev/null
check "an output added while nothing is drawn shows the scene" ok \
    "$(eventually 20 ok output_disc HEADLESS-4 240 0 1440 1080)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-4)"
for output in 3 2 1; do
    in_session swaymsg "focus output HEADLESS-$output; workspace $output" >/dev/null
done

in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "nothing is printed" "" "$(cat "$home/out" "$home/err")"

# Again at half the resolution, scaled up on each output, with the client's protocol trace.
session_start env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen -scale 0.5
check "started again" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "at half the resolution" yes \
    "$(wait_for_record "   Notify : The scene is drawn at 0.5 of the window's resolution" && echo yes)"
check "the planet is round on the first output" ok "$(eventually 20 ok output_disc HEADLESS-1 0 0 1024 768)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-1)"
check "and on the scale-2 output" ok "$(eventually 20 ok output_disc HEADLESS-2 0 0 1600 1200)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-2)"
# The scale-2 output turns to scale 1 while it runs: its cover takes the new scale together with
# the new logical size, so that its buffers keep the output's 1600 x 1200 pixels throughout.
scales_before=$(grep -c 'set_buffer_scale(1)' "$home/err")
in_session swaymsg output HEADLESS-2 scale 1 >/dev/null
scale_taken() { [ "$(grep -c 'set_buffer_scale(1)' "$home/err")" -gt "$scales_before" ] && echo yes; }
check "the cover takes the output's new scale" yes "$(eventually 10 yes scale_taken)"
check "and still fills the output, round" ok "$(eventually 20 ok output_disc HEADLESS-2 0 0 1600 1200)"
check "drawn live" yes "$(eventually 10 yes output_live HEADLESS-2)"
check "never a buffer of the old logical size at the new scale" "" \
    "$(grep -o 'create_buffer([^)]*, 800, 600, [^)]*)' "$home/err" | head -1)"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it after the teardown, by that signal" 143 "$(wait_for_exit 10)"
check "with the teardown's records" "$(normal_end_records)" "$(records_shape | tail -3)"

# shells: the shells of the windows of app id or class morrowmere, one per line.
shells() {
    in_session swaymsg -t get_tree | jq -r '.. | objects | select(.app_id? == "morrowmere" or
        .window_properties?.class? == "Morrowmere") | .shell'
}
session_start "$home/morrowmere" -fullscreen -x11
check "-x11 keeps it an X client on a Wayland session" xwayland "$(eventually 20 xwayland shells)"
kill -TERM "$(cat "$home/pid")"
check "which SIGTERM ends" 143 "$(wait_for_exit 10)"
rm "$home/morrowmere-wayland"
session_start "$home/morrowmere" -fullscreen
check "without the Wayland client beside it, it runs through XWayland" xwayland "$(eventually 20 xwayland shells)"
check "and says so" "morrowmere: the Wayland client $home/morrowmere-wayland could not be started; running through XWayland" \
    "$(cat "$home/err")"
kill -TERM "$(cat "$home/pid")"
wait_for_exit 10 >/dev/null
finish
