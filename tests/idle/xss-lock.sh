#!/usr/bin/env bash
# The idle watcher where `xss-lock -- i3lock` locks the session (an X server of the test's own;
# logind stood in for as in gnome.sh): the saver that it starts holds the keyboard, yet at logind's
# Lock it ends with its teardown and i3lock, started by xss-lock, takes the keyboard. Before sleep
# (PrepareForSleep) the same. While a locker holds the keyboard, nothing starts over it.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK XWINDOW
set -uo pipefail
. "$(dirname "$0")/../e2e/desktop-session.sh"
on_a_display "$@"
display=$DISPLAY
fresh_work "$4"
desktop_session xss-lock
export DISPLAY=$display
system_bus_start
cp "$1" "$3" "$work/"
"$work/morrowmere-idle" --after-seconds 2 >/dev/null
xss-lock --session c7 -- i3lock -n >"$work/xss-lock.log" 2>&1 &
started $!
coproc HELPER { "$5"; }
read -r _ <&"${HELPER[0]}"
# "grab=0" for the test's own grab, which it lets go at once: nobody else holds the keyboard.
grab() {
    echo grab >&"${HELPER[1]}"
    local answer
    read -r answer <&"${HELPER[0]}"
    echo ungrab >&"${HELPER[1]}"
    read -r _ <&"${HELPER[0]}"
    echo "$answer"
}
locker_holds() { pgrep -x i3lock >/dev/null && [ "$(grab)" == grab=1 ] && echo yes; }
unlock() { pkill -x i3lock && eventually 10 grab=0 grab >/dev/null; }
watcher_start
started "$watcher"

runs_then_ends() {
    rm -f "$log"
    check "$1: the saver starts when the session is idle" yes \
        "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
    check "$1: and holds the keyboard" grab=1 "$(eventually 10 grab=1 grab)"
    check "$1: asked" done "$($2)"
    check "$1: the saver ends with its teardown" "yes    Notify : Common uninstall has finished properly" \
        "$(eventually 10 yes saver_gone) $(records | grep -F 'Common uninstall')"
    check "$1: i3lock has the keyboard" yes "$(eventually 10 yes locker_holds)"
}
lock() { login1 /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.Lock; }
sleeping() {
    gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
        --method org.freedesktop.DBus.Mock.EmitSignal org.freedesktop.login1.Manager PrepareForSleep b "[<$1>]" \
        >/dev/null && echo done
}
sleep_now() { sleeping true; }
runs_then_ends "a lock" lock
# Unlocked, the user is back (a key), then away.
unlock
xdotool key a
runs_then_ends "sleep" sleep_now
sleeping false >/dev/null
unlock
# A locker that xss-lock did not start (as xautolock runs it), which tells logind nothing. The user
# comes back to it and goes away again: a span of idle periods (2.5 of them) that would have started
# the saver; the X11 source tells nothing from outside that the test could wait for instead.
i3lock -n &
started $!
check "a locker of its own has the keyboard" yes "$(eventually 10 yes locker_holds)"
rm -f "$log"
xdotool key a
sleep 5
check "under it, nothing starts" "no run" "$([ -e "$log" ] || [ -n "$(saver)" ] && echo "a run" || echo "no run")"
unlock
xdotool key a
check "unlocked, the saver starts at the next idle period" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "the watcher has said nothing" "" "$(cat "$work/watcher.out" "$work/watcher.err")"
finish
