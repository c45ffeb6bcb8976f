#!/usr/bin/env bash
# The idle watcher under GNOME Shell (headless, two virtual monitors; logind stood in for on a
# system bus of the test's own), whose idle monitor is its idle source. With an idle time of 2 s it
# starts `morrowmere -fullscreen` over the overview that the shell opens at login, and over a
# focused window: the scene on both monitors, and a key typed through mutter's remote desktop ends
# the run with status 0. The shell's own lock (asked of logind), sleep coming (logind's
# PrepareForSleep, which the watcher delays while the saver runs) and GNOME's blank (gnome-session's
# presence idle, tests/idle/gnome-stand-in.py) end the saver after its teardown; nothing starts
# while the session is locked, nor while gnome-session's idle inhibitor is held, until it is let
# go. A time not shorter than GNOME's Screen Blank is told so. A second copy says so and ends; the
# shell gone, the watcher says so and waits for it to come back.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK FAKE-INPUT DISCSIZE
set -uo pipefail
. "$(dirname "$0")/../e2e/desktop-session.sh"
DISCSIZE=$6
fresh_work "$4"
desktop_session gnome-idle
system_bus_start
shell_start 1024x768 800x600
# The remote desktop that types the keys and the screen casts need PipeWire.
session_pipewire
wireplumber_start
# The programs lie side by side, as installed.
cp "$1" "$2" "$3" "$work/"
# The watcher's questions to the shell and gnome-session, as the session bus carries them.
dbus-monitor --session "type='method_call',member='GetActive'" "type='method_call',member='IsInhibited'" \
    >"$work/asked.log" 2>&1 &
started $!

# The headless seat has no keyboard: the remote desktop's first key brings one.
mutter_input Meta-0
check "a first key is typed" "typed 42" "$(send "key 42")"
overview() { gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive; }
# A window of the user's, under the overview that the shell opens at login (opened again, as the
# user does, in case the window's start closed it).
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "4.0"); from gi.repository import Gtk
def show(app):
    window = Gtk.ApplicationWindow(application=app)
    window.connect("map", lambda _: print("mapped", flush=True))
    window.present()
app = Gtk.Application(); app.connect("activate", show); app.run()' >"$work/window.out" 2>&1 &
started $!
window_mapped() { head -1 "$work/window.out"; }
check "a window is shown" mapped "$(eventually 20 mapped window_mapped)"
gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.freedesktop.DBus.Properties.Set \
    org.gnome.Shell OverviewActive "<true>" >/dev/null
check "the overview is open" "(<true>,)" "$(overview)"

gsettings set org.gnome.desktop.session idle-delay 2
check "a time not shorter than GNOME's Screen Blank is told so" "But GNOME blanks the screen after 2 seconds, no \
later than the saver's time, so the saver would never be seen: choose a shorter time, or a longer Screen Blank \
(Settings, Power)." "$("$work/morrowmere-idle" --after-seconds 2 | tail -1)"
gsettings set org.gnome.desktop.session idle-delay 300
check "a shorter one is stored, with nothing more said" $'1\nIdleSeconds=2' \
    "$("$work/morrowmere-idle" --after-seconds 2 | wc -l; cat "$XDG_CONFIG_HOME/Tovrelin/Morrowmere screen saver.conf")"
watcher_start
started "$watcher"
press_key() { [ "$(send "key 30")" == "typed 30" ]; }
# Each run's end is proven from its log, which then goes, so that the next run's start is its own.
scene_starts() { wait_for_record "Scene has been initialized successfully" && echo yes; }
ended_normally() {
    [ "$(eventually 10 yes saver_gone)" == yes ] && records | grep -qF "Common uninstall has finished properly" &&
        echo "ended normally"
    rm -f "$log"
}
ends_by_key() { [ "$(key_ends_run)" == "ended after a key" ] && ended_normally; }

check "the saver starts when the session is idle" yes "$(scene_starts)"
check "over the overview, which has closed" "(<false>,)" "$(overview)"
check "the 1024x768 monitor shows the scene" ok "$(soon 20 ok monitor_disc Meta-0 1024 768)"
check "so does the 800x600 one" ok "$(soon 20 ok monitor_disc Meta-1 800 600)"
check "a key ends the run" "ended normally" "$(ends_by_key)"

check "over the window, focused once the overview has closed, the saver starts again" yes "$(scene_starts)"
check "a key ends that run too" "ended normally" "$(ends_by_key)"

# The lock: the shell's own, asked of logind. No run until the user is back, unlocks and is away.
asked() { grep -c "member=$1" "$work/asked.log"; }
# kept_off QUESTION: after a key (the user back, then away), "no run" once the watcher has asked
# QUESTION at the idle period and started nothing; "a run" if it did; "not asked" within 10 s.
kept_off() {
    local before
    before=$(asked "$1")
    rm -f "$log"
    send "key 30" >/dev/null
    asked_again() { [ "$(asked "$1")" -gt "$before" ] && echo yes; }
    local was_asked
    was_asked=$(eventually 10 yes asked_again "$1")
    if [ -e "$log" ] || [ -n "$(saver)" ]; then echo "a run"; else
        [ "$was_asked" == yes ] && echo "no run" || echo "not asked"; fi
}
check "the saver starts again" yes "$(scene_starts)"
check "the session is locked" done "$(login1 /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.Lock)"
check "which ends the saver" "ended normally" "$(ended_normally)"
check "under the shell's shield" "(true,)" "$(eventually 10 "(true,)" shield GetActive)"
check "while it is up, nothing starts" "no run" "$(kept_off GetActive)"
# The user unlocks: Escape leaves the password prompt that the key brought, and the shield goes down.
unlocked() {
    send "key 1" >/dev/null
    shield SetActive false >/dev/null
    [ "$(shield GetActive)" == "(false,)" ] && echo yes
}
check "the session is unlocked" yes "$(soon 20 yes unlocked)"
check "and the user away, the saver starts" yes "$(scene_starts)"

# Sleep, delayed while the saver runs.
delays() { gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
    --method org.freedesktop.login1.Manager.ListInhibitors | grep -o "'Morrowmere'"; }
sleep_comes() { gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
    --method org.freedesktop.DBus.Mock.EmitSignal org.freedesktop.login1.Manager PrepareForSleep b "[<$1>]"; }
check "the watcher delays sleep while the saver runs" "'Morrowmere'" "$(delays)"
sleep_comes true >/dev/null
check "sleep coming ends the saver" "ended normally" "$(ended_normally)"
check "and lets sleep come" "" "$(eventually 10 "" delays)"
check "the shell has locked the session before sleep" "(true,)" "$(eventually 10 "(true,)" shield GetActive)"
sleep_comes false >/dev/null
check "awake, the session is unlocked" yes "$(soon 20 yes unlocked)"
check "and the user away, the saver starts" yes "$(scene_starts)"
check "a key ends it" "ended normally" "$(ends_by_key)"

# gnome-session: its idle inhibitor (a video player's), and its presence going idle.
stand_in() {
    /usr/bin/python3 "$(dirname "$0")/gnome-stand-in.py" "$@" >"$work/stand-in.out" 2>>"$work/stand-in.log" &
    stand_in_pid=$!
    started "$stand_in_pid"
    stand_in_ready() { head -1 "$work/stand-in.out" 2>/dev/null; }
    check "gnome-session (the stand-in) is there" ready "$(eventually 10 ready stand_in_ready)"
}
stand_in_gone() { kill "$stand_in_pid"; wait "$stand_in_pid" 2>/dev/null; }
stand_in 8
check "with an idle inhibitor held, nothing starts" "no run" "$(kept_off IsInhibited)"
stand_in_gone
check "let go while the user stays away, the saver starts" yes "$(scene_starts)"
stand_in 0 3
check "GNOME's blank ends it" "ended normally" "$(ended_normally)"
check "the watcher has said nothing (each run ended normally)" "" "$(cat "$work/watcher.out" "$work/watcher.err")"

check "a second copy is refused" 1 "$("$work/morrowmere-idle" >"$work/second.out" 2>"$work/second.err"; echo $?)"
check "saying so" "morrowmere-idle: another copy already watches this session" "$(cat "$work/second.err")"
# (A remote desktop session keeps the shell from ending on SIGTERM: it fails instead.)
kill -KILL "$mutter"
gone="morrowmere-idle: GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) has gone away;"
gone+=" watching again once it is back"
said() { cat "$work/watcher.err"; }
check "the shell gone, the watcher says so and stays" "$gone running" "$(eventually 10 "$gone" said) $(wait_for_exit 0)"
finish
