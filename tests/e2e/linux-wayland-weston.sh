#!/usr/bin/env bash
# The native Wayland client under a second compositor: weston's headless backend (with its GL
# renderer, whose pictures its screenshooter can read), one 1024x768 output. The client covers it
# with the scene, and SIGTERM ends it after the teardown. weston offers no virtual keyboard, so
# no key is typed here (the sway test types one).
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
. "$(dirname "$0")/disc.sh"
DISCSIZE=$4
fresh_work "$3"
# The socket's name must fit in 108 bytes wherever the build tree lies: a short folder of its own.
runtime=$(mktemp -d /tmp/morrowmere-weston.XXXXXX)
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=morrowmere-test
export XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
log="$work/state/morrowmere/morrowmere.log"
weston --backend=headless-backend.so --width=1024 --height=768 --use-gl --socket="$WAYLAND_DISPLAY" \
    --idle-time=0 --debug >"$work/weston.log" 2>&1 &
weston=$!
weston_cleanup() {
    [ -n "${client:-}" ] && kill -KILL "$client" 2>/dev/null
    kill "$weston" 2>/dev/null
    wait "$weston" 2>/dev/null
    rm -rf "$runtime"
}
trap weston_cleanup EXIT
weston_up() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && echo yes; }
check "weston runs" yes "$(eventually 20 yes weston_up)"
# The programs lie side by side, as installed.
cp "$1" "$work/morrowmere"
cp "$2" "$work/morrowmere-wayland"
client_start
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
# screenshot NAME: the output's picture as "$work/NAME.png".
screenshot() {
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && weston-screenshooter >/dev/null 2>&1)
    local picture
    picture=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -1)
    [ -n "$picture" ] && mv "$picture" "$work/$1.png"
}
screen_disc() { screenshot weston && disc_verdict "$work/weston.png" 0 0 1024 768; }
screen_live() {
    screenshot later && [ "$(compare -metric AE "$work/weston.png" "$work/later.png" null: 2>&1)" != 0 ] && echo yes
}
check "the output shows the scene with a round planet" ok "$(eventually 20 ok screen_disc)"
check "drawn live, not a picture left from the start" yes "$(eventually 10 yes screen_live)"
kill -TERM "$client"
check "SIGTERM ends it after the teardown, by that signal" 143 "$(wait_for_exit 10)"
check "the records of a run ended so, in order" "$(normal_start_records; normal_end_records)" "$(run_records)"
check "nothing is printed" "" "$(cat "$work/out" "$work/err")"
finish
