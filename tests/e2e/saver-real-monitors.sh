#!/usr/bin/env bash
# The unchanged saver on monitors that Wine really sees: an Xephyr server with one screen per
# monitor, side by side left to right, joined by Xinerama and without RandR (then Wine reads the
# Xinerama heads, and the first screen is the primary). Each layout is shown with the full-screen
# window over all its monitors: the scene round and in place on the primary, the overlay in its
# corner only, and what the chosen MultiMonitor puts on the others. One run is at 150 % DPI.
# Each layout's screenshot is kept in the test's folder.
# Needs DISCSIZE (tests/e2e/DiscSize.cpp, from the Linux build).
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"
. "$(dirname "$0")/disc.sh"

host_display=$DISPLAY
xephyr_pid=
# Wine's desktop process keeps the display it started on: every layout starts a fresh server.
stop_wine() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null; WINEPREFIX="$prefix" wineserver -w 2>/dev/null; }
stop_xephyr() {
    [ -n "$xephyr_pid" ] || return 0
    kill "$xephyr_pid" 2>/dev/null
    wait "$xephyr_pid" 2>/dev/null
    xephyr_pid=
}
dpi() {
    reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
finish_here() {
    stop_wine
    stop_xephyr
    export DISPLAY=$host_display
    dpi 96
    clear_settings
    stop_wine
}
trap finish_here EXIT

# monitors SCREEN...: an Xephyr server with these screens (WIDTHxHEIGHT), made the test's display.
monitors() {
    stop_wine
    stop_xephyr
    local arguments=() screen number="$work/xephyr-display"
    for screen in "$@"; do arguments+=(-screen "$screen"); done
    : >"$number"
    DISPLAY=$host_display Xephyr -displayfd 3 "${arguments[@]}" +xinerama -extension RANDR -noreset \
        3>"$number" >/dev/null 2>&1 &
    xephyr_pid=$!
    for _ in $(seq 100); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -1 "$number")"
}

# run NAME: the saver full screen on the display until its scene shows; a screenshot in NAME.png.
run() {
    saver_start /s
    wait_for_running_saver
    shot="$work/$1.png"
}
take_shot() { import -display "$DISPLAY" -window root "$shot" 2>/dev/null; }
disc_in() { take_shot && disc_verdict "$shot" "$@"; }
end_run() {
    xdotool key a
    local status
    status=$(wait_for_exit)
    check "$1: a key ends it with 0" 0 "$status"
}

set_setting EnableFPS 1

# Two of different shapes: a 4:3 primary and a smaller 4:3 monitor.
monitors 1024x768 800x600
run two-monitors
check "two monitors: one window over both" 1 "$(saver_window_count)"
check "two monitors: the primary shows the planet round and in place" ok "$(eventually 10 ok disc_in 0 0 1024 768)"
check "two monitors: the other shows the same picture, filling it" ok "$(eventually 10 ok disc_in 1024 0 800 600 black)"
check "two monitors: the overlay in the primary's corner" yes "$(eventually 10 yes overlay_shown 102x76+0+0)"
check "two monitors: and not on the other" no "$(overlay_shown 80x60+1024+0 | cut -d: -f1)"
check "two monitors: the screenshot is the whole desktop" 1824x768 "$(identify -format '%wx%h' "$shot")"
end_run "two monitors"

# Three: a 16:9 monitor between two 4:3 ones; the picture sits between bars on the wide one.
monitors 1024x768 1280x720 800x600
run three-monitors
check "three monitors: the primary shows the planet" ok "$(eventually 10 ok disc_in 0 0 1024 768)"
check "three monitors: the 16:9 one between black bars" ok "$(eventually 10 ok disc_in 1184 0 960 720 black)"
check "three monitors: its bars are black" "#000000 #000000" \
    "$(only_colour 160x720+1024+0) $(only_colour 160x720+2144+0)"
check "three monitors: the third fills with it" ok "$(eventually 10 ok disc_in 2304 0 800 600 black)"
check "three monitors: the overlay on the primary only" "yes no no" \
    "$(overlay_shown 102x76+0+0) $(overlay_shown 96x72+1184+0 | cut -d: -f1) $(overlay_shown 80x60+2304+0 | cut -d: -f1)"
end_run "three monitors"

# A portrait monitor beside the landscape primary: the picture between bars above and below.
monitors 1024x768 600x800
run portrait
check "portrait: the primary shows the planet" ok "$(eventually 10 ok disc_in 0 0 1024 768)"
check "portrait: the portrait one between bars above and below" ok "$(eventually 10 ok disc_in 1024 175 600 450 black)"
check "portrait: its bars are black" "#000000 #000000" "$(only_colour 600x175+1024+0) $(only_colour 600x175+1024+625)"
end_run "portrait"

# The other choices, on the two monitors.
monitors 1024x768 800x600
set_setting MultiMonitor 1
run across-all
check "across all: one picture with the whole desktop's shape, round" ok "$(eventually 10 ok disc_in 0 0 1824 768)"
check "across all: the overlay stays in the primary's corner" yes "$(eventually 10 yes overlay_shown 102x76+0+0)"
end_run "across all"
set_setting MultiMonitor 2
run primary-only
check "primary only: the primary shows the planet" ok "$(eventually 10 ok disc_in 0 0 1024 768)"
check "primary only: the other monitor is black" "#000000" "$(only_colour 800x600+1024+0)"
end_run "primary only"
set_setting MultiMonitor 9
run refused-choice
check "a stored 9: said so, and the same picture on each" "(!)Error : MultiMonitor 9 is not 0, 1 or 2: each monitor shows the same picture" \
    "$(records | grep MultiMonitor)"
check "a stored 9: the other monitor shows the picture" ok "$(eventually 10 ok disc_in 1024 0 800 600 black)"
end_run "a stored 9"
set_setting MultiMonitor 0

# At 150 % DPI the window still covers each monitor pixel for pixel.
dpi 144
monitors 1024x768 800x600
run dpi-150
check "150 % DPI: the primary shows the planet round and in place" ok "$(eventually 10 ok disc_in 0 0 1024 768)"
check "150 % DPI: so does the other" ok "$(eventually 10 ok disc_in 1024 0 800 600 black)"
end_run "150 % DPI"
finish
