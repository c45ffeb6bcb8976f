#!/usr/bin/env bash
# What real monitors cannot show (saver-real-monitors.sh runs the saver on those): monitors that
# come and go while it runs, a driver that copies only by plain pixel copy, and a copy that fails.
# An Xephyr server's screens stay as they started, and its driver always offers the blit; so the
# test build morrowmere-monitors takes its monitor list from a file here, read again on
# WM_DISPLAYCHANGE, and the copy it is told to (builds/MonitorsStandIn.cpp). The display is one
# 1024 x 768 screen: the primary monitor is its lower 1024 x 448, the other its upper 1024 x 320,
# where the copy is 731 x 320 between black bars.
# Needs DISCSIZE (tests/e2e/DiscSize.cpp, from the Linux build).
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"
. "$(dirname "$0")/disc.sh"

cp "$(dirname "$scr")/morrowmere-monitors.scr" "$work/"
export MORROWMERE_TEST_MONITORS="Z:$work/monitors"
log="$work/morrowmere-monitors.log"
two_monitors() { echo "0,320,1024,448;0,0,1024,320" >"$work/monitors"; }
shot() { import -display "$DISPLAY" -window root "$work/shot.png" 2>/dev/null; }
# The creature may pass before the planet: a few pictures may be taken.
primary_disc() { shot && disc_verdict "$work/shot.png" 0 320 1024 448 "${1:-}"; }
copied_disc() { shot && disc_verdict "$work/shot.png" 146 0 731 320 black; }
whole_disc() { shot && disc_verdict "$work/shot.png" 0 0 1024 768; }
bars() { echo "$(only_colour 146x320+0+0) $(only_colour 147x320+877+0)"; }
stay_black_record="   Notify : The other monitors stay black: the picture cannot be copied to them"

scale_record="   Notify : The scene is drawn at 0.5 of the window's resolution"

clear_settings
for copy in blit pixels; do
    two_monitors
    # The blit's run with the frame-rate overlay, whose black box the pixel copy's run must not have,
    # and at half the resolution: the scene scaled up on the primary is what is copied.
    if [ "$copy" = blit ]; then
        unset MORROWMERE_TEST_COPY
        set_setting EnableFPS 1
        set_setting RenderScale 50
    else
        export MORROWMERE_TEST_COPY=pixels
        set_setting EnableFPS 0
        set_setting RenderScale 100
    fi
    SCR="$work/morrowmere-monitors.scr" saver_start /s
    wait_for_running_saver
    check "$copy: one full-screen window over both monitors" 1 "$(saver_window_count)"
    if [ "$copy" = blit ]; then
        check "$copy: the overlay is in the primary monitor's top-left corner" yes \
            "$(eventually 10 yes overlay_shown 102x44+0+320)"
        check "$copy: and not copied" no "$(overlay_shown 102x44+146+0 | cut -d: -f1)"
        check "$copy: the primary monitor shows the planet round, in place and sized" ok \
            "$(eventually 10 ok primary_disc)"
    else
        check "$copy: the primary monitor shows the planet round, in place and sized" ok \
            "$(eventually 10 ok primary_disc black)"
    fi
    check "$copy: the other monitor shows it round, in place and sized in the copy" ok "$(eventually 10 ok copied_disc)"
    check "$copy: black bars left and right of the copy" "#000000 #000000" \
        "$(only_colour 146x320+0+0) $(only_colour 147x320+877+0)"
    if [ "$copy" = blit ]; then
        # One monitor again: the whole window is one 4:3 area.
        echo "0,0,1024,768" >"$work/monitors"
        probe post 126 24 0 >/dev/null
        check "$copy: after the monitors change, one monitor shows the whole scene" ok "$(eventually 10 ok whole_disc)"
        # And two again: where the whole scene was, the bars beside the copy are black again, also
        # with the scene drawn offscreen at half the resolution.
        two_monitors
        probe post 126 24 0 >/dev/null
        check "$copy: two monitors again, the copy is back" ok "$(eventually 10 ok copied_disc)"
        check "$copy: and its bars are black again" "#000000 #000000" \
            "$(eventually 10 "#000000 #000000" bars)"
    fi
    xdotool key a
    check "$copy: a key closes it with exit code 0" 0 "$(wait_for_exit)"
    check "$copy: the records of a normal run, in order" "$(normal_start_records; normal_end_records)" \
        "$(records_shape | grep -v -F -x "$scale_record")"
    check "$copy: the scale said" "$([ "$copy" = pixels ] || echo "$scale_record")" "$(records | grep -F -x "$scale_record")"
done
set_setting RenderScale 100
set_setting EnableFPS 0

export MORROWMERE_TEST_COPY=broken
two_monitors
SCR="$work/morrowmere-monitors.scr" saver_start /s
wait_for_running_saver
check "no copy: the primary monitor shows the planet round" ok "$(eventually 10 ok primary_disc black)"
check "no copy: the other monitor stays black" "#000000" "$(only_colour 1024x320+0+0)"
xdotool key a
check "no copy: a key closes it with exit code 0" 0 "$(wait_for_exit)"
check "no copy: one record says so, after the scene's start" \
    "$(normal_start_records | tail -1; echo "$stay_black_record")" \
    "$(records | grep -F -x -A1 '   Notify : Scene has been initialized successfully')"
check "no copy: otherwise the records of a normal run" "$(normal_start_records; normal_end_records)" \
    "$(records_shape | grep -v -F -x "$stay_black_record")"
finish
