#!/usr/bin/env bash
# Lighter on battery: the power source comes from UPower on the system bus, here a mock of it
# (python3-dbusmock's template) on a private bus of the test's own, which the saver finds through
# DBUS_SYSTEM_BUS_ADDRESS. On a headless sway at 62.5 frames a second, the native Wayland client's
# frames are counted in its own protocol trace (WAYLAND_DEBUG=client, its stderr): on battery at
# most 30 a second, said in the run log; on mains the output's full rate, and back on battery
# capped again, each change taken while it runs. Without UPower: no cap and not a word. The X11
# hack on battery (through XWayland, with -delay 0) averages at most 30 as well. A system bus that
# never answers holds up neither the run nor its end.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
fresh_work "$3"
results=$work
sway_session "$work" "output HEADLESS-1 mode 640x480@60Hz position 0 0"
cp "$1" "$2" "$home/"

# The private bus, and the user's processes on it: the bus lets in its own user only.
in_session dbus-daemon --config-file=/usr/share/dbus-1/session.conf --nofork --print-address=1 \
    >"$home/bus-address" 2>"$results/bus.log" </dev/null &
check "a private system bus" yes "$(eventually 10 yes pid_written "$home/bus-address")"
bus=$(head -1 "$home/bus-address")
on_bus() { in_session env DBUS_SYSTEM_BUS_ADDRESS="$bus" "$@"; }

mock_upower() {
    # The interpreter that python3-dbusmock is installed for, whatever python3 comes first on PATH.
    on_bus /usr/bin/python3 -m dbusmock --system --template upower -p "{\"OnBattery\": $1}" \
        >"$results/upower.log" 2>&1 </dev/null &
    mock=$!
    upower_answers() {
        on_bus dbus-send --system --print-reply --dest=org.freedesktop.UPower /org/freedesktop/UPower \
            org.freedesktop.DBus.Properties.Get string:org.freedesktop.UPower string:OnBattery 2>/dev/null |
            grep -q boolean && echo yes
    }
    check "UPower (the mock) answers" yes "$(eventually 20 yes upower_answers)"
}
on_battery() {
    on_bus dbus-send --system --print-reply --dest=org.freedesktop.UPower /org/freedesktop/UPower \
        org.freedesktop.DBus.Properties.Set string:org.freedesktop.UPower string:OnBattery "variant:boolean:$1" \
        >/dev/null
}

traced_start() {
    [ -f "$home/err" ] && cat "$home/err" >>"$home/traces"
    rm -f "$log"
    session_start env DBUS_SYSTEM_BUS_ADDRESS="$bus" WAYLAND_DEBUG=client "$@"
}
trace_lines() { wc -l <"$home/err"; }
power_records() { records | grep -E "On battery|On mains power"; }

# No UPower on the bus: the frames are not capped, and nothing is said.
traced_start "$home/morrowmere" -fullscreen
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
# sway's "60 Hz" headless output refreshes every 16 ms: 62.5 frames a second.
# The output's full rate is 62.5 a second and the cap's 30. A capped run never averages above 30,
# so 35 tells the two apart; an uncapped one on a busy machine was seen at 39.5, and nothing
# between 35 and 62.5 is asked of it.
check "without UPower: the output's full rate" yes "$(eventually 20 yes rate_between 1000 3000 35 63)"
check "without UPower: nothing said in the run log" "" "$(power_records)"
check "nor on stderr" "" "$(grep -v '^\[' "$home/err")"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it" 143 "$(wait_for_exit 10)"

mock_upower true
traced_start "$home/morrowmere" -fullscreen
check "on battery: said as it starts" yes \
    "$(wait_for_record "On battery: at most 30 frames a second" 20 && echo yes)"
check "on battery: at most 30 frames a second" yes "$(eventually 20 yes rate_between 1000 3000 20 31)"
mark=$(trace_lines)
on_battery false
check "on mains: said" yes "$(wait_for_record "On mains power: the frame rate is not capped" 2 && echo yes)"
check "on mains: the output's full rate" yes "$(eventually 20 yes rate_between 500 2500 35 63 "$mark")"
mark=$(trace_lines)
on_battery true
check "on battery again: capped within 2 s" yes "$(eventually 20 yes rate_between 2000 4000 20 31 "$mark")"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "each change said once, in order" \
    "$(printf '   Notify : %s\n' "On battery: at most 30 frames a second" \
        "On mains power: the frame rate is not capped" "On battery: at most 30 frames a second")" \
    "$(power_records)"

# The X11 hack on battery, resting not at all after its frames: the cap alone paces it. A little
# window drawn at a quarter of its resolution, so that the machine could draw many more.
rm -f "$log"
session_start --x11 env DBUS_SYSTEM_BUS_ADDRESS="$bus" "$home/morrowmere" -window -delay 0 -scale 0.25 -fps
check "X11: on battery, said" yes "$(wait_for_record "On battery: at most 30 frames a second" 20 && echo yes)"
check "X11: the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" 20 && echo yes)"
# Frames counted over three seconds of the run: a span to measure, not a wait for a state.
sleep 3
kill -TERM "$(cat "$home/pid")"
check "X11: SIGTERM ends it" 143 "$(wait_for_exit 10)"
fps=$(records | sed -n 's/^   Notify : FPS = //p')
check "X11: its frames averaged at most 30 a second, and it drew" yes \
    "$(awk -v fps="$fps" 'BEGIN { print (fps > 10 && fps <= 31) ? "yes" : fps }')"
kill "$mock" 2>/dev/null

# A system bus that takes the connection and never answers, not even its greeting: a key ends the
# run at once (the power watch's calls once held the end up for 89 s).
in_session /usr/bin/python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(8); held = []
while True: held.append(s.accept())' "$home/stalled-bus" &
listening() { [ -S "$home/stalled-bus" ] && echo yes; }
check "a bus that never answers" yes "$(eventually 10 yes listening)"
session_start env DBUS_SYSTEM_BUS_ADDRESS="unix:path=$home/stalled-bus" WAYLAND_DEBUG=client "$home/morrowmere" \
    -fullscreen
check "with it, the saver has the keyboard" overlay-layer "$(eventually 20 overlay-layer keyboard_focus "$home/err")"
in_session wtype x
check "a key ends the run with 0" 0 "$(wait_for_exit 10)"
finish
