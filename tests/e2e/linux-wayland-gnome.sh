#!/usr/bin/env bash
# The native Wayland client under GNOME's compositor: mutter headless with two virtual monitors,
# 1024x768 and 800x600 side by side, and PipeWire for its screen casts. mutter has no layer shell:
# `morrowmere -fullscreen` asks for a full-screen toplevel on each monitor and mutter gives each
# the monitor's size (from the client's protocol trace). Started with an activation token that
# mutter handed out (as a launcher asks one, tests/e2e/ActivationToken.cpp), it hands the token
# back with its first toplevel before that one's first picture; each monitor's screen cast shows
# the scene with a round planet, drawn live; a key typed through mutter's remote desktop ends it
# with status 0 and the normal run log. A finger put down through the remote desktop ends a
# second run so; SIGTERM ends a third after the teardown.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE ACTIVATION-TOKEN
set -uo pipefail
. "$(dirname "$0")/desktop-session.sh"
DISCSIZE=$4
fresh_work "$3"
desktop_session gnome
mutter_start 1024x768 800x600
session_pipewire
wireplumber_start
# The programs lie side by side, as installed.
cp "$1" "$2" "$work/"

# The headless seat has neither keyboard nor touch screen: the remote desktop's first key and
# first touch bring them, and the seat keeps them while its session lasts. Both are made before
# the client starts (no surface is there to get them), so that each key or touch after is the one
# that counts.
mutter_input Meta-0
check "a first key is typed" "typed 42" "$(send "key 42")"
check "a first touch is made" "touched 512 384" "$(send "touch 512 384")"

token=$("$5" morrowmere)
check "mutter hands out an activation token" yes "$([ -n "$token" ] && echo yes)"
client_start WAYLAND_DEBUG=client XDG_ACTIVATION_TOKEN="$token"
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
surfaces_asked() { surfaces "$work/err" | cut -d' ' -f1-4; }
expected=$'toplevel 1024x768+0+0 configured 1024x768\ntoplevel 800x600+1024+0 configured 800x600'
check "a full-screen toplevel asked for each monitor, each given the monitor's size" "$expected" \
    "$(eventually 10 "$expected" surfaces_asked)"
check "the token handed back with the first toplevel, before its first picture" \
    "$token toplevel 1 before its first buffer" "$(activations "$work/err")"
# monitor_live MONITOR: "yes" when a new picture of the monitor differs from the one kept.
monitor_live() {
    desktop mutter-pictures "$work/later" >/dev/null
    differ "$work/cast-$1.png" "$work/later-$1.png"
}
check "the 1024x768 monitor shows the scene with a round planet" ok "$(soon 20 ok monitor_disc Meta-0 1024 768)"
check "drawn live" yes "$(soon 10 yes monitor_live Meta-0)"
check "so does the 800x600 one" ok "$(soon 20 ok monitor_disc Meta-1 800 600)"
check "drawn live" yes "$(soon 10 yes monitor_live Meta-1)"
check "the keyboard's focus is on a toplevel of its own" toplevel "$(eventually 10 toplevel keyboard_focus "$work/err")"
check "a key is typed" "typed 30" "$(send "key 30")"
check "which ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "nothing but the protocol trace is printed" "" "$(cat "$work/out"; grep -v '^\[ *[0-9.]*\] ' "$work/err")"

client_start WAYLAND_DEBUG=client
check "started again" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "and drawn on the 1024x768 monitor" ok "$(soon 20 ok monitor_disc Meta-0 1024 768)"
check "with the seat's touch screen" yes "$(grep -q ' -> wl_seat@[0-9]*\.get_touch(' "$work/err" && echo yes)"
check "still running" running "$(wait_for_exit 0)"
check "a finger put down amid that monitor" "touched 512 384" "$(send "touch 512 384")"
check "ends it with status 0" 0 "$(wait_for_exit 5)"
check "the touch reached it" yes "$(grep -q ' wl_touch@[0-9]*\.down(' "$work/err" && echo yes)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"

client_start
check "started a third time" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "and drawn" ok "$(soon 20 ok monitor_disc Meta-1 800 600)"
kill -TERM "$client"
check "SIGTERM ends it after the teardown, by that signal" 143 "$(wait_for_exit 10)"
check "the records of a run ended so, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "nothing is printed" "" "$(cat "$work/out" "$work/err")"
finish
