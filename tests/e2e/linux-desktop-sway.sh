#!/usr/bin/env bash
# -fullscreen on a Wayland desktop, as an X client through XWayland: a headless sway with two
# outputs, 1024x768 and 800x600 side by side, started as a menu entry or an idle daemon would start
# it (swaymsg exec, without WAYLAND_DISPLAY). The window is full screen on the focused output, a
# cover shows the same picture on the other one and on an output added while it runs, and a typed
# key ends it with status 0.
# Arguments: MORROWMERE WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
hack=$1
DISCSIZE=$3
fresh_work "$2"

sway_session "$work" "output HEADLESS-1 resolution 1024x768 position 0 0" \
    "output HEADLESS-2 resolution 800x600 position 1024 0"
check "sway runs with two outputs" 2 "$(in_session swaymsg -t get_outputs | jq length)"
cp "$hack" "$home/morrowmere"
session_start --x11 "$home/morrowmere" -fullscreen
check "the saver's scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
pid=$(cat "$home/pid")
where() {
    in_session swaymsg -t get_tree | jq -r --argjson pid "$pid" '.nodes[] | select(.type == "output") | .name as $output
        | .. | objects | select(.pid? == $pid) | "\($output) fullscreen=\(.fullscreen_mode) \(.shell)"'
}
check "its window is full screen on the focused output, an X client" "HEADLESS-1 fullscreen=1 xwayland" \
    "$(eventually 20 "HEADLESS-1 fullscreen=1 xwayland" where)"
check "the first output shows the scene with a round planet" ok "$(eventually 20 ok output_disc HEADLESS-1 0 0 1024 768)"
check "so does the second" ok "$(eventually 20 ok output_disc HEADLESS-2 0 0 800 600)"
in_session swaymsg create_output >/dev/null
# The new output is 1920x1080: the 4:3 picture fitted into it, with bars left and right.
check "an output added while it runs shows the scene" ok "$(eventually 20 ok output_disc HEADLESS-3 240 0 1440 1080)"
in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
finish
