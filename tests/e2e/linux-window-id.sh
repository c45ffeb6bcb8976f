#!/usr/bin/env bash
# The Linux port on a window it did not create (-window-id, and XSCREENSAVER_WINDOW with -root):
# it draws into it, follows its size and shape, ends cleanly when it is destroyed, and never destroys it.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

# The helper's window is white, 640 x 480 in the top-left corner of the screen; the saver draws the
# grey ground in the lower half of whatever it draws into (the creature and its sparks may pass
# over it: mostly grey, and a few pictures may be taken).
ground() { mostly_colour 100x50+270+300; }

helper_start
check "the test's window is white" "#FFFFFF" "$(ground)"
hack_start -window-id "$helper_window" -fps
expect_frames "-window-id"
check "the program draws into it" "#7E7E7E" "$(eventually 10 "#7E7E7E" ground)"
check "the overlay is in its top-left corner" yes \
    "$(eventually 10 yes overlay_shown 64x10+0+0)"
check "the window was made smaller" resized "$(helper size 320 240)"
# Only frames drawn for the new size put the planet where the camera's geometry puts it in the
# smaller window (the creature may pass before it, so a few pictures may be taken).
in_window_disc() {
    import -display "$DISPLAY" -window root "$work/window.png" 2>/dev/null &&
        disc_verdict "$work/window.png" 0 0 "$1" "$2"
}
check "in the smaller window the planet is round, in place and sized" ok \
    "$(eventually 10 ok in_window_disc 320 240)"
check "the overlay stays in its top-left corner" yes "$(overlay_shown 64x10+0+0)"
check "the frame fills the smaller window" "#7E7E7E" \
    "$(eventually 10 "#7E7E7E" mostly_colour 20x20+290+210)"
# As wide as the screen: the camera takes the window's shape (the creature may pass before the
# planet, so a few pictures may be taken).
check "the window was made wide" resized "$(helper size 1024 448)"
check "in the wide window the planet is round, in place and sized" ok \
    "$(eventually 10 ok in_window_disc 1024 448)"
check "the test destroys its window" destroyed "$(helper destroy)"
check "the program ends with status 0" 0 "$(wait_for_exit 5)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "no process is left" no "$(hack_alive)"
check "nothing was printed" "" "$(cat "$work/out" "$work/err")"
# The first helper ends with its input; a second one can only start once it has.
exec {HELPER[1]}>&-
wait "$helper_pid" 2>/dev/null

helper_start
XSCREENSAVER_WINDOW=$helper_window hack_start -root
expect_frames "XSCREENSAVER_WINDOW"
check "with XSCREENSAVER_WINDOW, -root draws into that window" "#7E7E7E" "$(eventually 10 "#7E7E7E" ground)"
kill -TERM "$hack_pid"
check "SIGTERM ends it" 143 "$(wait_for_exit 5)"
check "the window is still there" "exists=1" "$(helper exists)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"

hack_start -window-id 0x7ffffff
check "a window id that names no window ends with status 1" 1 "$(wait_for_exit 5)"
check "and says so" "morrowmere: no window to draw on: 0x7ffffff" "$(cat "$work/err")"
finish
