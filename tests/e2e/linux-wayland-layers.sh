#!/usr/bin/env bash
# The native Wayland client over everything, on a headless sway with two outputs (sway offers the
# layer shell), whose configuration holds a rule that many carry: every full-screen window holds
# idle off. Another client's full-screen window under it is still full screen once it has ended,
# with a layer surface on each output's overlay and the scene on both meanwhile; swayidle's
# second timeout fires while it runs; and started as a lock screen starts its background (a
# connection of its own in WAYLAND_SOCKET, no WAYLAND_DISPLAY or DISPLAY, tests/e2e/lock-screen-
# start.py), it draws the scene on both outputs, SIGTERM ends it after its teardown, and the
# connection closed ends it after its teardown with 0; a descriptor that is no socket ends it with 1.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
DISCSIZE=$4
fresh_work "$3"
# (The rule goes with an output's line: each argument of sway_session is an output.)
sway_session "$work" "output HEADLESS-1 resolution 640x480 position 0 0" \
    "output HEADLESS-2 resolution 640x480 position 640 0"$'\nfor_window [app_id=".*"] inhibit_idle fullscreen'
cp "$1" "$2" "$home/"
cp "$(dirname "$0")/lock-screen-start.py" "$home/"
start_saver() {
    rm -f "$log"
    session_start "$@"
    wait_for_record "Scene has been initialized successfully"
}
both_outputs() {
    local output
    for output in 1 2; do
        check "$1: HEADLESS-$output shows the scene" ok "$(eventually 20 ok output_disc HEADLESS-$output 0 0 640 480)"
        check "$1: drawn live" yes "$(eventually 10 yes output_live HEADLESS-$output)"
    done
}
# The layer surfaces the client asked for, from its protocol trace: "LAYER on OUTPUT" for each,
# OUTPUT the rank of the output's registry name among the outputs' (sway makes and names its
# headless outputs in that order).
layers() {
    awk '
        match($0, /wl_registry@[0-9]+\.bind\([0-9]+, "wl_output", [0-9]+, new id \[unknown\]@[0-9]+\)/) {
            split(substr($0, RSTART, RLENGTH), a, /[(), @]+/); global[a[9]] = a[3]
        }
        match($0, /get_layer_surface\(new id zwlr_layer_surface_v1@[0-9]+, wl_surface@[0-9]+, wl_output@[0-9]+, [0-9]+, /) {
            split(substr($0, RSTART, RLENGTH), a, /[(), @]+/); layer[++count] = a[10]; output[count] = a[9]
        }
        END {
            for (i = 1; i <= count; i++) {
                rank = 0
                for (o in global) if (global[o] <= global[output[i]]) rank++
                print layer[i], "on", rank
            }
        }' "$home/err" | sort
}

# Another client's full-screen window on the first output.
in_session swaymsg "focus output HEADLESS-1; exec weston-terminal --fullscreen >$home/terminal.log 2>&1" >/dev/null
terminal_fullscreen() {
    in_session swaymsg -t get_tree | jq -r '.. | objects | select(.app_id? == "org.freedesktop.weston.wayland-terminal") | .fullscreen_mode'
}
check "another client's window is full screen" 1 "$(eventually 20 1 terminal_fullscreen)"
start_saver env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen
check "a layer surface on each output's overlay" $'3 on 1\n3 on 2' "$(eventually 10 $'3 on 1\n3 on 2' layers)"
both_outputs "over that window"
in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the other client's window is still full screen" 1 "$(terminal_fullscreen)"
in_session swaymsg '[app_id="org.freedesktop.weston.wayland-terminal"] kill' >/dev/null

# swayidle, started while the saver runs: the saver is no full-screen window that the rule could
# make hold idle off, so both timeouts come.
start_saver "$home/morrowmere" -fullscreen
in_session swayidle -w timeout 1 "touch $home/idle-1" timeout 2 "touch $home/idle-2" >"$work/swayidle.log" 2>&1 &
idle_fired() { [ -f "$home/idle-2" ] && echo yes; }
check "swayidle's second timeout fires while it runs" yes "$(eventually 15 yes idle_fired)"
check "still running then" running "$(wait_for_exit 0)"
pkill -u "${throwaway:-$(id -un)}" -x swayidle
in_session wtype x
check "a typed key ends it" 0 "$(wait_for_exit 10)"

# A lock screen's background: the connection handed over.
start_saver "$home/lock-screen-start.py" direct "$home/morrowmere" -fullscreen
both_outputs "with the connection handed over"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it after the teardown" 143 "$(wait_for_exit 10)"
check "with the teardown's records" "$(normal_end_records)" "$(run_records | tail -3)"
check "nothing printed" "" "$(cat "$home/err")"

# Through a lock screen that forwards its surfaces, and then closes the connection.
start_saver "$home/lock-screen-start.py" relay "$home/close" "$home/morrowmere" -fullscreen
both_outputs "through the lock screen"
touch "$home/close"
[ -n "${as_user[*]}" ] && chown "$throwaway" "$home/close"
check "the connection closed ends it with 0" 0 "$(wait_for_exit 10)"
check "after its teardown" \
    "$(printf '   Notify : %s\n' "The connection given to the saver was closed: the run ends"; normal_end_records)" \
    "$(run_records | tail -4)"

# A descriptor that is no connection at all is a failure, not a lock screen that closed it.
check "WAYLAND_SOCKET naming a regular file: why, and status 1" \
    "morrowmere: the Wayland connection given in WAYLAND_SOCKET failed: Socket operation on non-socket 1" \
    "$(env -u WAYLAND_DISPLAY -u DISPLAY WAYLAND_SOCKET=3 "$home/morrowmere" -fullscreen 3<"$home/lock-screen-start.py" \
        2>&1 >/dev/null) $?"
finish
