#!/usr/bin/env bash
# The Linux port in a window of its own: frames, the run log in order, the overlay from -fps and
# from the settings file, -no-fps, -display, the stored swap interval, and the three ways to close
# it.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

set_setting EnableFPS 0
hack_start -window -fps
wait_for_frames
window=$(own_window)
check "its window is on the screen" yes "$([ -n "$window" ] && echo yes)"
check "-fps shows white text on black in the top-left corner" yes "$(eventually 10 yes overlay_shown)"
# The creature and its sparks may pass over it: mostly grey, and a few pictures may be taken.
check "the lower half of the view is the grey ground" "#7E7E7E" \
    "$(eventually 10 "#7E7E7E" mostly_colour 200x100+500+500)"
check "the upper half shows the sky" yes \
    "$(only_colour 600x200+100+50 | grep -q '^mixed' && echo yes)"
xdotool windowfocus --sync "$window" key q
check "q closes it with status 0" 0 "$(wait_for_exit 5)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "frames were counted" yes "$(records | awk '/FPS = / { print ($4 > 0) ? "yes" : "no: " $0 }')"
check "its window is gone" "" "$(windows_named Morrowmere)"
check "nothing was printed" "" "$(cat "$work/out" "$work/err")"

set_setting EnableFPS 1
hack_start -window
wait_for_frames
window=$(own_window)
check "EnableFPS=1 in the settings file shows the overlay" yes "$(eventually 10 yes overlay_shown)"
xdotool windowfocus --sync "$window" key Escape
check "Escape closes it with status 0" 0 "$(wait_for_exit 5)"

# -display wins over DISPLAY, for both of the run's connections (the host's and the render
# thread's); -no-fps after -fps hides the overlay that the stored setting shows.
DISPLAY=nowhere:99 hack_start -window -display "$DISPLAY" -fps -no-fps
expect_frames "-display with DISPLAY elsewhere"
check "-no-fps after -fps hides the stored overlay" "no" "$(overlay_shown | cut -d: -f1)"
kill -TERM "$hack_pid"
wait_for_exit 10 >/dev/null

# Written by hand, with spaces: the overlay is on only for values above 0.
echo "EnableFPS = -5" >"$settings"
hack_start -window
wait_for_frames
window=$(own_window)
check "EnableFPS -5 shows no overlay" "no" "$(overlay_shown | cut -d: -f1)"
"$xwindow" close "$window"
check "the close button closes it with status 0" 0 "$(wait_for_exit 5)"
check "the rate of a run without overlay is -1" "   Notify : FPS = -1" "$(records | tail -1)"

builds=$(dirname "$hack")
for vsync in 0 1 7; do
    set_setting EnableVSync "$vsync"
    HACK="$builds/morrowmere-swap-probe" hack_start -window
    wait_for_record "VSYNC has been setted properly"
    kill -TERM "$hack_pid"
    wait_for_exit 10 >/dev/null
    check "EnableVSync $vsync reaches the context as the swap interval" "swap interval: $vsync" "$(cat "$work/err")"
done

# The render scale: the stored percentage at its bounds and beyond, and -scale, which wins over it.
# What the run says of the scale comes before its first frame.
while IFS='|' read -r stored option said; do
    set_setting RenderScale "$stored"
    hack_start -window $option
    wait_for_frames
    check "RenderScale $stored${option:+ with $option}" "$said" \
        "$(records | grep -E 'drawn at|RenderScale' | tr '\n' '/')"
    kill -TERM "$hack_pid"
    wait_for_exit 10 >/dev/null
done <<'ROWS'
25||   Notify : The scene is drawn at 0.25 of the window's resolution/
100||
24||(!)Error : RenderScale 24 is not from 25 to 100: the scene is drawn at full resolution/
101|-scale 0.5|   Notify : The scene is drawn at 0.5 of the window's resolution/
ROWS
rm -f "$settings"
finish
