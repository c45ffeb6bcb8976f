#!/usr/bin/env bash
# The idle watcher under KDE's compositor (kwin_wayland's virtual backend, one output), whose idle
# notifications (ext_idle_notifier_v1) are its idle source: with an idle time of 2 s it starts
# `morrowmere -fullscreen` once the seat has had no input for that long; a key typed through kwin's
# fake input (tests/e2e/FakeInput.cpp) ends the run, and at the next idle period it starts again.
# Not while PowerDevil holds an inhibition; once let go, at once.
# kwin killed, the watcher says so and waits; kwin started again, it starts the saver at the next
# idle period. SIGTERM ends the watcher after its saver's teardown.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK FAKE-INPUT
set -uo pipefail
. "$(dirname "$0")/../e2e/desktop-session.sh"
fresh_work "$4"
fake_input=$5
desktop_session kde-idle
kwin_start --width 1024 --height 768
cp "$1" "$2" "$3" "$work/"

check "2 s chosen" 0 "$("$work/morrowmere-idle" --after-seconds 2 >/dev/null; echo $?)"
watcher_start WAYLAND_DEBUG=client
started "$watcher"
press_key() { "$fake_input" key 30; }

check "the saver starts when the seat is idle" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "told so by the compositor's idle notification" yes \
    "$(grep -q ' -> ext_idle_notifier_v1@[0-9]*\.get_idle_notification(' "$work/watcher.err" &&
       grep -q ' ext_idle_notification_v1@[0-9]*\.idled()' "$work/watcher.err" && echo yes)"
check "full screen, from beside the watcher" "$work/morrowmere -fullscreen" "$(ps -o args= -p "$(saver)")"
check "a key ends the run" "ended after a key" "$(key_ends_run)"
check "normally" "   Notify : Common uninstall has finished properly" "$(records | grep -F 'Common uninstall')"
rm -f "$log"
check "at the next idle period the saver starts again" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends that run too" "ended after a key" "$(key_ends_run)"

# PowerDevil (a stand-in on the session bus) with an inhibition held, as a video player's.
/usr/bin/python3 -m dbusmock org.freedesktop.PowerManagement /org/freedesktop/PowerManagement/Inhibit \
    org.freedesktop.PowerManagement.Inhibit >"$work/power.log" 2>&1 &
started $!
power() {
    gdbus call --session --dest org.freedesktop.PowerManagement --object-path /org/freedesktop/PowerManagement/Inhibit \
        --method org.freedesktop.DBus.Mock."$1" org.freedesktop.PowerManagement.Inhibit "${@:2}" >/dev/null 2>&1 &&
        echo done
}
held() { power AddMethod HasInhibit '' b "ret = $1"; }
check "PowerDevil (the stand-in) holds an inhibition" done "$(eventually 10 done held True)"
rm -f "$log"
"$fake_input" key 30
asked() { grep -q ' HasInhibit$' "$work/power.log" && echo yes; }
check "at the next idle period the watcher asks it" yes "$(eventually 10 yes asked)"
check "and starts nothing" "no run" "$([ -e "$log" ] || [ -n "$(saver)" ] && echo "a run" || echo "no run")"
held False >/dev/null
check "the inhibition let go" done "$(power EmitSignal HasInhibitChanged b '[<false>]')"
check "the saver starts" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends it" "ended after a key" "$(key_ends_run)"

kill -KILL "$kwin"
wait "$kwin" 2>/dev/null
said() { grep -v '^\[ *[0-9.]*\] ' "$work/watcher.err"; }
gone="morrowmere-idle: the Wayland compositor has gone away; watching again once it is back"
check "kwin gone, the watcher says so and stays" "$gone running" "$(eventually 10 "$gone" said) $(wait_for_exit 0)"
rm -f "$log" "$XDG_RUNTIME_DIR/morrowmere-test"
kwin_start --width 1024 --height 768
check "kwin back, the saver starts at the next idle period" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
running_saver=$(saver)
kill -TERM "$watcher"
check "SIGTERM ends the watcher" 143 "$(wait_for_exit 10)"
check "and its saver first, with the saver's teardown" "gone    Notify : Common uninstall has finished properly" \
    "$(kill -0 "$running_saver" 2>/dev/null || echo gone) $(records | grep -F 'Common uninstall')"
finish
