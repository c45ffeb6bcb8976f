#!/usr/bin/env bash
# -fullscreen on a Wayland desktop, as an X client through XWayland: a headless sway with two
# outputs, 1024x768 and 800x600 side by side, started as a menu entry or an idle daemon would start
# it (swaymsg exec, without WAYLAND_DISPLAY). The window is full screen on the focused output, a
# cover shows the same picture on the other one and on an output added while it runs, and a typed
# key ends it with status 0.
# sway refuses to run as root: then the session belongs to a throwaway user (throwaway_user).
# Arguments: MORROWMERE WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
. "$(dirname "$0")/disc.sh"
hack=$1
DISCSIZE=$3
fresh_work "$2"
results=$work

home=$(mktemp -d /tmp/morrowmere-sway.XXXXXX)
chmod 755 "$home"
sway_cleanup() {
    [ -n "${keyboard:-}" ] && kill "$keyboard" 2>/dev/null
    [ -n "${sway:-}" ] && kill "$sway" 2>/dev/null && wait "$sway" 2>/dev/null
    pkill -KILL -f "$home/" 2>/dev/null
    throwaway_user_gone
    cp "$home"/*.png "$results/" 2>/dev/null
    rm -rf "$home"
}
trap sway_cleanup EXIT
cp "$hack" "$home/morrowmere"
printf '%s\n' "output HEADLESS-1 resolution 1024x768 position 0 0" \
    "output HEADLESS-2 resolution 800x600 position 1024 0" "xwayland enable" >"$home/config"
# What the session starts: the saver as an X client, its exit status written when it ends.
cat >"$home/start" <<SCRIPT
#!/bin/sh
unset WAYLAND_DISPLAY
"$home/morrowmere" -fullscreen >"$home/out" 2>"$home/err" &
echo \$! >"$home/pid"
wait \$!
echo \$? >"$home/exit.new" && mv "$home/exit.new" "$home/exit"
SCRIPT
chmod 755 "$home/start"
mkdir -m 700 "$home/runtime"
throwaway_user morrowmere-desktop-test "$home"
in_session() {
    "${as_user[@]}" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
        XDG_STATE_HOME="$home/state" XDG_CONFIG_HOME="$home/config.d" ALSOFT_DRIVERS=null \
        WAYLAND_DISPLAY="$(cd "$home/runtime" && ls wayland-? 2>/dev/null | head -1)" \
        SWAYSOCK="$(echo "$home"/runtime/sway-ipc.*.sock)" "$@"
}
in_session WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=2 \
    sway -c "$home/config" >"$results/sway.log" 2>&1 &
sway=$!
sway_answers() { in_session swaymsg -t get_version >/dev/null 2>&1 && echo yes; }
check "sway runs with two outputs" yes "$(eventually 20 yes sway_answers)"
# The session has no input devices of its own. A desktop has a keyboard: here a virtual one
# stays on the seat for the whole test (it would type F24 after ten minutes). Without one, the
# keyboard that wtype brings is the seat's first, and XWayland may lose the first key it types.
in_session wtype -s 600000 -k F24 &
keyboard=$!

work=$home
log="$home/state/morrowmere/morrowmere.log"
in_session swaymsg exec "$home/start" >/dev/null
check "the saver's scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
pid=$(cat "$home/pid")
where() {
    in_session swaymsg -t get_tree | jq -r --argjson pid "$pid" '.nodes[] | select(.type == "output") | .name as $output
        | .. | objects | select(.pid? == $pid) | "\($output) fullscreen=\(.fullscreen_mode) \(.shell)"'
}
check "its window is full screen on the focused output, an X client" "HEADLESS-1 fullscreen=1 xwayland" \
    "$(eventually 20 "HEADLESS-1 fullscreen=1 xwayland" where)"
# output_disc OUTPUT X Y WIDTH HEIGHT: the planet in that area of the output's picture.
output_disc() {
    in_session grim -o "$1" "$home/$1.png" 2>/dev/null || return
    disc_verdict "$home/$1.png" "$2" "$3" "$4" "$5"
}
check "the first output shows the scene with a round planet" ok "$(eventually 20 ok output_disc HEADLESS-1 0 0 1024 768)"
check "so does the second" ok "$(eventually 20 ok output_disc HEADLESS-2 0 0 800 600)"
in_session swaymsg create_output >/dev/null
# The new output is 1920x1080: the 4:3 picture fitted into it, with bars left and right.
check "an output added while it runs shows the scene" ok "$(eventually 20 ok output_disc HEADLESS-3 240 0 1440 1080)"
in_session wtype x
check "a typed key ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
finish
