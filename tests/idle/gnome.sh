#!/usr/bin/env bash
# The idle watcher under GNOME's compositor (mutter headless, one virtual monitor), whose idle
# monitor on the session bus is its idle source: with an idle time of 2 s it starts
# `morrowmere -fullscreen` once the session has had no input for that long; a key typed through
# mutter's remote desktop ends the run with status 0, and after 2 s more without input the saver
# starts again. While gnome-session holds an idle inhibitor, while GNOME's screen shield is up
# (stand-ins for both, tests/idle/gnome-stand-in.py) and while logind (python3-dbusmock's stand-in,
# on a system bus of the test's own) says the session is locked, it starts nothing; each let go
# while the user is still away, it starts the saver then. A second copy says so and ends; mutter
# gone (killed), the watcher ends with status 1 and says why.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK
set -uo pipefail
. "$(dirname "$0")/../e2e/desktop-session.sh"
fresh_work "$4"
desktop_session gnome-idle
mutter_start 1024x768
# The remote desktop that types the keys needs PipeWire.
session_pipewire
# The programs lie side by side, as installed.
cp "$1" "$2" "$3" "$work/"

# The headless seat has no keyboard: the remote desktop's first key brings one.
mutter_input Meta-0
check "a first key is typed" "typed 42" "$(send "key 42")"

check "the idle time is chosen" 0 "$("$work/morrowmere-idle" --after-seconds 2 >/dev/null; echo $?)"
check "and stored" "IdleSeconds=2" "$(cat "$XDG_CONFIG_HOME/Tovrelin/Morrowmere screen saver.conf")"
# A system bus of the test's own, where logind's stand-in comes later; this session's id.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$runtime/system-bus"
dbus-daemon --session --nofork --address="$DBUS_SYSTEM_BUS_ADDRESS" >"$work/system-bus.log" 2>&1 &
started $!
system_bus_up() { [ -S "$runtime/system-bus" ] && echo yes; }
check "a private system bus runs" yes "$(eventually 10 yes system_bus_up)"
export XDG_SESSION_ID=c7
watcher_start
started "$watcher"
# Whether the watcher's saver runs, and the watcher itself.
saver_runs() { [ -n "$(saver)" ] && echo yes; }
watcher_alive() { kill -0 "$watcher" 2>/dev/null && echo yes || echo no; }
press_key() { [ "$(send "key 30")" == "typed 30" ]; }

check "the saver starts when the session is idle" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "full screen, from beside the watcher" "$work/morrowmere -fullscreen" "$(ps -o args= -p "$(saver)")"
# The key's press may come before the saver's surface has the keyboard; its release ends the run.
check "a key ends the run" "ended after a key" "$(key_ends_run)"
check "normally" "   Notify : Common uninstall has finished properly" "$(records | grep -F 'Common uninstall')"
rm -f "$log"
check "after 2 s more without input, the saver starts again" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends that run too" "ended after a key" "$(key_ends_run)"
check "the watcher has said nothing (each run ended with status 0)" "" "$(cat "$work/watcher.out" "$work/watcher.err")"

check "a second copy is refused" 1 "$("$work/morrowmere-idle" >"$work/second.out" 2>"$work/second.err"; echo $?)"
check "saying so" "morrowmere-idle: another copy already watches this session" "$(cat "$work/second.err")"

# kept_off ASKED: after a key (the user's return), "no run" once the watcher has asked what holds it
# off twice more (ASKED prints how often it was asked: the first idle period, then the next ask
# while the user stays away) and started no saver; "a run" if it did, "not asked" if it never
# asked within 10 s.
kept_off() {
    local asked=$1 before
    rm -f "$log"
    send "key 30" >/dev/null
    before=$("$asked")
    asked_twice() { [ $(($("$asked") - before)) -ge 2 ] && echo yes; }
    local asked_enough
    asked_enough=$(eventually 10 yes asked_twice)
    if [ -e "$log" ] || [ -n "$(saver)" ]; then
        echo "a run"
    else
        [ "$asked_enough" == yes ] && echo "no run" || echo "not asked"
    fi
}
# stand_in ARGS...: GNOME's services, as tests/idle/gnome-stand-in.py ARGS stands in for them, until
# stand_in_gone; stand_in_ready says "ready" once they are on the bus.
stand_in() {
    rm -f "$work/stand-in.out"
    /usr/bin/python3 "$(dirname "$0")/gnome-stand-in.py" "$@" >"$work/stand-in.out" 2>>"$work/stand-in.log" &
    stand_in_pid=$!
    started "$stand_in_pid"
}
stand_in_ready() { head -1 "$work/stand-in.out" 2>/dev/null; }
stand_in_gone() { kill "$stand_in_pid"; wait "$stand_in_pid" 2>/dev/null; }
# How often the watcher asked the stand-in's gnome-session, its screen shield, and logind's stand-in.
inhibitor_asked() { grep -c '^IsInhibited$' "$work/stand-in.out"; }
shield_asked() { grep -c '^GetActive$' "$work/stand-in.out"; }
lock_asked() { grep -c 'Get .*LockedHint' "$work/logind.log"; }

# gnome-session's idle inhibitor, as a video player takes it; GNOME's screen shield.
stand_in 8
check "an idle inhibitor is held" ready "$(eventually 10 ready stand_in_ready)"
check "with it held, nothing starts" "no run" "$(kept_off inhibitor_asked)"
check "the watcher still watches" yes "$(watcher_alive)"
stand_in_gone
check "let go while the user stays away, the saver starts" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends it" "ended after a key" "$(key_ends_run)"
stand_in 0 shield-up
check "the screen shield is up" ready "$(eventually 10 ready stand_in_ready)"
check "with it up, nothing starts" "no run" "$(kept_off shield_asked)"
stand_in_gone
check "down again, the saver starts" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends it" "ended after a key" "$(key_ends_run)"
# logind: python3-dbusmock's stand-in on the private system bus, this session (XDG_SESSION_ID) locked.
/usr/bin/python3 -m dbusmock --system --template logind >"$work/logind.log" 2>&1 &
started $!
login1() { dbus-send --system --print-reply --dest=org.freedesktop.login1 "$@" >/dev/null 2>&1 && echo done; }
add_session() { login1 /org/freedesktop/login1 org.freedesktop.DBus.Mock.AddSession string:c7 string:seat0 uint32:0 \
    string:root boolean:true; }
check "logind (the stand-in) has this session" done "$(eventually 10 done add_session)"
check "which is locked" done \
    "$(login1 /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.SetLockedHint boolean:true)"
check "with the session locked, nothing starts" "no run" "$(kept_off lock_asked)"
check "the session unlocked" done \
    "$(login1 /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.SetLockedHint boolean:false)"
check "the saver starts" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends it" "ended after a key" "$(key_ends_run)"

# (A remote desktop session keeps mutter from ending on SIGTERM: it fails instead.)
kill -KILL "$mutter"
check "mutter gone, the watcher ends with status 1" 1 "$(wait_for_exit 10)"
check "saying why" \
    "morrowmere-idle: GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) has gone away; no more watching" \
    "$(cat "$work/watcher.err")"
finish
