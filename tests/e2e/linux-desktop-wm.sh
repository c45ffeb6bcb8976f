#!/usr/bin/env bash
# -fullscreen under an EWMH window manager (openbox) on an X screen of two RandR monitors, 1024x768
# and 800x600 side by side: the window manager puts the window full screen on the first, a cover
# shows the same picture on the second (without the frame-rate overlay), the windows carry the
# names a desktop reads, and a key ends the run even while the keyboard focus is on another window
# (the saver's keyboard grab, which it tries again while another program holds the keyboard, and
# takes again after its window is mapped anew).
set -uo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../../tools/with-xvfb" --screen 1824x768x24 bash "$0" "$@"
fi
. "$(dirname "$0")/linux-lib.sh"

# The monitors: the first takes the screen's only output, the second none (Xvfb has one).
xrandr --setmonitor A 1024/271x768/203+0+0 screen >/dev/null
xrandr --setmonitor B 800/212x600/159+1024+0 none >/dev/null
check "the screen has two monitors" 2 "$(xrandr --listmonitors | sed -n 's/^Monitors: //p')"
# openbox as configured by Debian, but not giving new windows the focus on its own: the saver
# asks for it.
sed 's|<focusNew>yes</focusNew>|<focusNew>no</focusNew>|' /etc/xdg/openbox/rc.xml >"$work/rc.xml"
openbox --sm-disable --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
wm=$!
wm_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && echo yes; }
check "openbox runs" yes "$(eventually 20 yes wm_runs)"
wm_cleanup() {
    kill "$wm" 2>/dev/null
    cleanup
}
trap wm_cleanup EXIT

# Another program holds the keyboard when the saver starts, and lets it go once the saver's
# window is up: the saver's grab, tried again, gets it then.
helper_start
check "another program grabs the keyboard" grab=0 "$(eventually 20 grab=0 helper grab)"
xdotool mousemove 500 400
hack_start -fullscreen -fps
own_window >/dev/null
check "and lets it go" ungrabbed "$(helper ungrab)"
expect_frames "two monitors"
window=$(xdotool search --onlyvisible --pid "$hack_pid" 2>/dev/null | while read -r id; do
    xprop -id "$id" _NET_WM_STATE | grep -q FULLSCREEN && echo "$id"; done | head -1)
check "the window manager finds the window by the saver's process and made it full screen" yes \
    "$([ -n "$window" ] && echo yes)"
check "it is full screen on the first monitor" "0,0 1024x768" \
    "$(xdotool getwindowgeometry "$window" | awk '/Position:/ { p = $2 } /Geometry:/ { g = $2 } END { print p " " g }')"
check "its class" 'WM_CLASS(STRING) = "morrowmere", "Morrowmere"' "$(xprop -id "$window" WM_CLASS)"
check "its machine" "WM_CLIENT_MACHINE(STRING) = \"$(hostname)\"" "$(xprop -id "$window" WM_CLIENT_MACHINE)"
check "it asks a compositor to let its frames through" "_NET_WM_BYPASS_COMPOSITOR(CARDINAL) = 1" \
    "$(xprop -id "$window" _NET_WM_BYPASS_COMPOSITOR)"
check "it takes the keyboard focus" "$window" "$(xdotool getwindowfocus)"

both_discs() {
    import -display "$DISPLAY" -window root "$work/both.png" 2>/dev/null || return
    echo "$(disc_verdict "$work/both.png" 0 0 1024 768) / $(disc_verdict "$work/both.png" 1024 0 800 600)"
}
check "both monitors show the scene with a round planet" "ok / ok" "$(eventually 20 "ok / ok" both_discs)"
check "the frame-rate overlay shows on the first monitor" yes "$(eventually 20 yes overlay_shown)"
check "and not on the second" no "$(overlay_shown 102x76+1024+0 | cut -d: -f1)"

# Unmapped and mapped again (a window manager's workspace switch does it), the window has lost
# its grabs with its map and takes them again. The other program's try is let go at once, so it
# never holds the keyboard for longer than the saver's retries.
xdotool windowunmap --sync "$window"
xdotool windowmap --sync "$window"
grab_refused() {
    local answer
    answer=$(helper grab)
    [ "$answer" != grab=0 ] || helper ungrab >/dev/null
    echo "$answer"
}
check "after a new map the saver holds the keyboard again" grab=1 "$(eventually 20 grab=1 grab_refused)"

# Another window takes the focus; the grab keeps the key for the saver.
xdotool windowfocus "$helper_window"
check "the focus has gone to another window" "$((helper_window))" "$(xdotool getwindowfocus)"
xdotool key a
check "a key ends it with status 0" 0 "$(wait_for_exit 5)"
check "nothing was said about the grab" "" "$(cat "$work/err")"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "every window of it is gone" "" "$(windows_named Morrowmere)"
finish
