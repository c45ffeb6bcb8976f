#!/usr/bin/env bash
# The Linux port's -fullscreen, for desktops without XScreenSaver: a window of its own that covers
# the screen and asks for the full-screen state, with the pointer hidden, ended with its whole
# teardown and status 0 by a key, a click or a mouse move of more than 4 pixels after the first
# motion; a move of 2 pixels leaves it running; grabs held by another program are said so.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"
xwindow_cursor() { "$xwindow" cursor; }

# The pointer rests over the middle before the start, so the window sees no motion until the test
# moves it. fullscreen_start WHAT [OPTION...]
fullscreen_start() {
    local what=$1
    shift
    xdotool mousemove 500 400
    hack_start -fullscreen "$@"
    expect_frames "$what"
    window=$(own_window)
}

fullscreen_start "full screen"
check "its window covers the screen" "0,0 1024x768" \
    "$(xdotool getwindowgeometry "$window" | awk '/Position:/ { p = $2 } /Geometry:/ { g = $2 } END { print p " " g }')"
check "it asks the window manager for full screen" "_NET_WM_STATE(ATOM) = _NET_WM_STATE_FULLSCREEN" \
    "$(xprop -id "$window" _NET_WM_STATE)"
check "the pointer is hidden over it" cursor=hidden "$(xwindow_cursor)"
xdotool mousemove_relative 1 0
xdotool mousemove_relative 2 0
# Proof that it has taken in both moves: the window made shorter after them, which it answers on
# the same connection by drawing for the new size. Only frames of that size put the planet where
# the camera's geometry puts it in the shorter window; frames of the old height do not, whether
# they are cut at the top or shown whole from the top.
xdotool windowsize "$window" 1024 600
short_disc() {
    import -display "$DISPLAY" -window root "$work/short.png" 2>/dev/null &&
        disc_verdict "$work/short.png" 0 0 1024 600
}
check "made shorter after the moves, it draws for its new size" ok "$(eventually 20 ok short_disc)"
check "a move of 2 pixels after the first motion leaves it running" running "$(wait_for_exit 0)"
xdotool mousemove_relative 10 0
check "a move of 10 pixels ends it with status 0" 0 "$(wait_for_exit 5)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "its window is gone" "" "$(windows_named Morrowmere)"
check "the pointer shows again" cursor=shown "$(xwindow_cursor)"

# Another program holds the keyboard and the pointer throughout the saver's tries: it says so once,
# naming both, and a key still reaches it where it has the focus.
helper_start
check "another program grabs the keyboard and the pointer" grab=0,0 "$(helper grab all)"
fullscreen_start "a key"
said() { cat "$work/err"; }
check "the saver names both grabs it could not have" \
    "morrowmere: another program holds the keyboard and the pointer; input reaches the saver only where it has the focus" \
    "$(eventually 10 "morrowmere: another program holds the keyboard and the pointer; input reaches the saver only where it has the focus" said)"
check "the other program lets them go" ungrabbed "$(helper ungrab)"
xdotool key a
check "a key ends it with status 0" 0 "$(wait_for_exit 5)"

fullscreen_start "a click"
xdotool click 1
check "a click ends it with status 0" 0 "$(wait_for_exit 5)"
check "with its teardown" "$(normal_end_records)" "$(records_shape | tail -3)"
finish
