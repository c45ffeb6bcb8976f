#!/usr/bin/env bash
# The native Wayland client while nothing shows the scene, on a sway nested in a headless one with
# two outputs, playing to PipeWire's PulseAudio server: both outputs hidden (their windows on a
# workspace of the outer sway that is not shown: see nested_sway), no frame callback comes, and
# within 5 s the run log says so, its stream pauses and the sink suspends, and its own threads
# rest; shown again, the sound and the frames come back at once, the planet where the camera puts
# it.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
DISCSIZE=$4
fresh_work "$3"
sway_session "$work" "output HEADLESS-1 resolution 1280x480 position 0 0"
shown=$(outer swaymsg -t get_workspaces | jq -r '.[] | select(.focused) | .name')
nested_sway 2
cp "$1" "$2" "$home/"
sound_server_start "$home/sound" in_session

session_start env $(sound_env) "$home/morrowmere" -fullscreen
pid=$(cat "$home/pid")
paused="Nothing shows the scene: sound and frames pause"
resumed="The scene is seen again: sound and frames go on"
said() { records | grep -cF -- "$1"; }
check "it plays to the sound server" "running running" "$(eventually 30 "running running" sound_states)"

# A compositor drawing in software on a busy machine may already have held its callbacks back for
# a second, and a pause been said (see run_records): what counts is said from here on.
pauses=$(($(said "$paused") + 1))
outer swaymsg workspace away >/dev/null
check "nothing shows it: said within 5 s" "$pauses" "$(eventually 5 "$pauses" said "$paused")"
check "its stream pauses, and the sink suspends" "idle suspended" "$(eventually 15 "idle suspended" sound_states)"
# Its own threads over the next 5 s: a span to measure, not a wait for a state (the record and
# the paused stream above show that the pause was handled).
check "its own threads rest: fewer than 10 wake-ups in 5 s" yes "$(quiet_for "$pid" 5)"
check "said once" "$pauses" "$(said "$paused")"

outer swaymsg workspace "$shown" >/dev/null
check "shown again: said" "$pauses" "$(eventually 5 "$pauses" said "$resumed")"
check "the sound is back" "running running" "$(eventually 5 "running running" sound_states)"
check "the planet is where the camera puts it" ok "$(eventually 10 ok output_disc WL-1 0 0 640 480)"
check "drawn live" yes "$(eventually 10 yes output_live WL-1)"
kill -TERM "$pid"
check "SIGTERM ends it after the teardown" 143 "$(wait_for_exit 10)"
check "the records: the run's own, each pause ended by its own" \
    "$(normal_start_records; normal_end_records) $pauses" "$(run_records) $(said "$resumed")"
finish
