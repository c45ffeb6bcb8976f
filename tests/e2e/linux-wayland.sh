#!/usr/bin/env bash
# The native Wayland client, started by `morrowmere -fullscreen` on a headless sway with two
# outputs of different sizes, the second at scale 2: the scene round on each at the output's full
# pixel count, an output added while it runs covered, a typed key that ends it with status 0 and
# the normal run log; then a layer surface of its own on the overlay layer of each output, of the
# output's size, an output's scale changed while it runs, and SIGTERM that ends it after the
# teardown. With -x11, or without the Wayland client beside it, `morrowmere -fullscreen` stays an
# X client. Last, on a sway nested in this one, whose outputs can be hidden: either output still
# drawn while the other one's surface is hidden, and an output added while every surface is hidden
# covered.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
DISCSIZE=$4
fresh_work "$3"
sway_session "$work" "output HEADLESS-1 resolution 1024x768 position 0 0" \
    "output HEADLESS-2 resolution 1600x1200 position 1024 0 scale 2"
check "sway runs with two outputs, the second at scale 2" "1 2" \
    "$(in_session swaymsg -t get_outputs | jq -r '[.[].scale] | join(" ")')"
# The programs lie side by side, as installed.
cp "$1" "$2" "$home/"

session_start "$home/morrowmere" -fullscreen
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
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

in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(run_records)"
check "nothing is printed" "" "$(cat "$home/out" "$home/err")"

# Again at half the resolution, scaled up on each output, with the client's protocol trace.
session_start env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen -scale 0.5
check "started again" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
# The client's layer surfaces, from its trace (requests are the lines with "->"; some versions of
# the library name the event queue in braces after the time), one a line: the output named, as
# HEADLESS-N for the rank of its registry global among the outputs' (the outputs are made, and
# named, in that order), the layer (3 the overlay), and the size of the last configure answered.
layer_surfaces() {
    awk '
        function arguments(pattern, a) {
            if (!match($0, pattern)) return 0
            return split(substr($0, RSTART, RLENGTH), a, /[(), ]+/)
        }
        { sub(/^\[[ 0-9.]+\] +/, ""); sub(/^\{[^}]*\} +/, ""); request = sub(/^-> +/, "") }
        request && arguments("^wl_registry@[0-9]+\\.bind\\([0-9]+, \"wl_output\", [0-9]+, new id [^)]+\\)", a) {
            split(a[7], o, "@"); outputGlobal[o[2]] = a[2]
        }
        request && arguments("\\.get_layer_surface\\(new id [^,]+, [^,]+, wl_output@[0-9]+, [0-9]+,", a) {
            split(a[4], l, "@"); split(a[6], o, "@"); output[l[2]] = o[2]; layer[l[2]] = a[7]
        }
        !request && arguments("^zwlr_layer_surface_v1@[0-9]+\\.configure\\([0-9]+, [0-9]+, [0-9]+\\)", a) {
            split(a[1], l, "[@.]"); offered[l[2], a[2]] = a[3] "x" a[4]
        }
        request && arguments("^zwlr_layer_surface_v1@[0-9]+\\.ack_configure\\([0-9]+\\)", a) {
            split(a[1], l, "[@.]"); size[l[2]] = offered[l[2], a[2]]
        }
        END {
            for (id in output) {
                rank = 0
                for (g in outputGlobal) if (outputGlobal[g] <= outputGlobal[output[id]]) rank++
                print "HEADLESS-" rank, "layer " layer[id], size[id]
            }
        }' "$home/err" | sort
}
expected=$'HEADLESS-1 layer 3 1024x768\nHEADLESS-2 layer 3 800x600\nHEADLESS-3 layer 3 1920x1080'
check "each output has a layer surface of the client's own on its overlay, of the output's size" "$expected" \
    "$(eventually 20 "$expected" layer_surfaces)"
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
check "with the teardown's records" "$(normal_end_records)" "$(run_records | tail -3)"

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

# Hidden surfaces. A layer surface stays in sight whatever the workspace, so the client runs on a
# sway nested in this one, whose outputs are windows on HEADLESS-3 here: a window moved to a
# workspace that is not shown gets no frame callbacks, and the client's surface on its output gets
# none either (nested_sway).
cp "$2" "$home/morrowmere-wayland"
outer swaymsg focus output HEADLESS-3 >/dev/null
shown=$(outer swaymsg -t get_workspaces | jq -r '.[] | select(.focused) | .name')
nested_sway 2
session_start "$home/morrowmere" -fullscreen
check "on a nested sway, WL-1 shows the scene" ok "$(eventually 20 ok output_disc WL-1 0 0 640 480)"
check "and so does WL-2" ok "$(eventually 20 ok output_disc WL-2 0 0 640 480)"
# Each output's surface hidden in turn, the scene's among them: the other one goes on.
for hidden in 1 2; do
    drawn=$((3 - hidden))
    outer swaymsg "[title=\"WL-$hidden\$\"] move container to workspace away" >/dev/null
    # A picture of the other output now, then later ones until one differs from it.
    in_session grim -o WL-$drawn "$home/WL-$drawn.png"
    check "with WL-$hidden's surface hidden, WL-$drawn is still drawn" yes "$(eventually 10 yes output_live WL-$drawn)"
    outer swaymsg "[title=\"WL-$hidden\$\"] move container to workspace $shown" >/dev/null
done
# Both hidden: no surface gets frames, and the render thread sleeps. An output plugged in then,
# shown on the workspace that HEADLESS-3 turns to, still gets its cover and the scene.
outer swaymsg workspace away >/dev/null
check "every surface hidden: nothing is drawn, says the run log" yes \
    "$(wait_for_record "Nothing shows the scene: sound and frames pause" 5 && echo yes)"
in_session swaymsg create_output >/dev/null
eventually 20 "640x480 640x480 640x480" place_nested_outputs >/dev/null
check "an output added while nothing is drawn shows the scene" ok "$(eventually 20 ok output_disc WL-3 0 0 640 480)"
check "drawn live" yes "$(eventually 10 yes output_live WL-3)"
kill -TERM "$(cat "$home/pid")"
wait_for_exit 10 >/dev/null
finish
