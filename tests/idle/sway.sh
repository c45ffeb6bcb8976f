#!/usr/bin/env bash
# The idle watcher under sway 1.7, whose idle time-outs (KDE's org_kde_kwin_idle, from our own
# description of the protocol) are its idle source there: with an idle time of 2 s it starts
# `morrowmere -fullscreen` once the seat has had no input for that long; a key typed with wtype
# ends the run, and at the next idle period it starts again.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK
set -uo pipefail
. "$(dirname "$0")/../e2e/sway-session.sh"
fresh_work "$4"
results=$work
sway_session "$results" "output HEADLESS-1 mode 1024x768 position 0 0"
cp "$1" "$2" "$3" "$home/"

check "2 s chosen" 0 "$(in_session "$home/morrowmere-idle" --after-seconds 2 >/dev/null; echo $?)"
session_start env WAYLAND_DEBUG=client "$home/morrowmere-idle"
watcher=$(cat "$home/pid")
press_key() { in_session wtype x; }

check "the saver starts when the seat is idle" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "told so by the compositor's idle time-out" yes \
    "$(grep -q ' -> org_kde_kwin_idle@[0-9]*\.get_idle_timeout(' "$home/err" &&
       grep -q ' org_kde_kwin_idle_timeout@[0-9]*\.idle()' "$home/err" && echo yes)"
check "full screen, from beside the watcher" "$home/morrowmere -fullscreen" "$(ps -o args= -p "$(saver)")"
check "a key ends the run" "ended after a key" "$(key_ends_run)"
check "normally" "   Notify : Common uninstall has finished properly" "$(records | grep -F 'Common uninstall')"
rm -f "$log"
check "at the next idle period the saver starts again" yes \
    "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "a key ends that run too" "ended after a key" "$(key_ends_run)"
check "the watcher has said nothing" "" "$(cat "$home/out"; grep -v '^\[ *[0-9.]*\] ' "$home/err")"
finish
