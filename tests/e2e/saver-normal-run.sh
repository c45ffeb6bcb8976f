#!/usr/bin/env bash
# A whole full-screen run: start, frames, a key closes it; the run log in order; the overlay.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

clear_settings
set_setting EnableFPS 1
saver_start /s
wait_for_running_saver
check "one full-screen saver window" 1 "$(saver_window_count)"
check "the overlay shows white text on black in the top-left corner" yes "$(eventually 10 yes overlay_shown)"
# The creature and its sparks may pass over it: mostly grey, and a few pictures may be taken.
check "the lower half of the screen is the grey ground" "#7E7E7E" \
    "$(eventually 10 "#7E7E7E" mostly_colour 200x100+400+550)"
check "the upper half shows the sky" yes "$(only_colour 600x200+200+100 | grep -q '^mixed' && echo yes)"
xdotool key a
check "a key closes it with exit code 0" 0 "$(wait_for_exit)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "frames were counted" yes "$(records | awk '/FPS = / { print ($4 > 0) ? "yes" : "no: " $0 }')"
check "no window is left" 0 "$(saver_window_count)"
# This test's own: other tests may run savers beside it.
check "no saver process is left" "" "$(processes_matching "$(basename "$work")[/\\\\]morrowmere\\.scr /s\$")"

# At half the screen's resolution, scaled up: the same sky and ground.
set_setting EnableFPS 0
set_setting RenderScale 50
saver_start /s
wait_for_running_saver
check "the sky is drawn" yes "$(eventually 10 yes picture_in 600x200+200+100)"
check "the ground is its grey at half the resolution" "#7E7E7E" \
    "$(eventually 10 "#7E7E7E" mostly_colour 200x100+400+550)"
check "without the setting there is no overlay" "no" "$(overlay_shown | cut -d: -f1)"
check "the run says it draws at half the resolution" "   Notify : The scene is drawn at 0.5 of the window's resolution" \
    "$(records | grep 'drawn at')"
xdotool click 1
check "a mouse button closes it" 0 "$(wait_for_exit)"
check "the rate of a run without overlay is -1" "   Notify : FPS = -1" "$(records | tail -1)"
set_setting RenderScale 100

cp "$(dirname "$scr")/morrowmere-swap-probe.scr" "$work/"
log="$work/morrowmere-swap-probe.log"
for vsync in 0 1; do
    set_setting EnableVSync "$vsync"
    SCR="$work/morrowmere-swap-probe.scr" saver_start /s
    wait_for_running_saver
    xdotool click 1
    wait_for_exit >/dev/null
    check "EnableVSync $vsync reaches the context as its swap interval" "swap interval: $vsync" \
        "$(tr -d '\r' <"$work/out" | grep '^swap interval')"
done
clear_settings
finish
