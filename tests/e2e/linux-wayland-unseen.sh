#!/usr/bin/env bash
# The native Wayland client while nothing shows the scene, on a sway nested in a headless one with
# two outputs, its sound captured by OpenAL Soft's wave writer: both outputs hidden (their windows
# on a workspace of the outer sway that is not shown: see nested_sway), no frame callback comes,
# and within 2 s the run log says so, the capture turns silent and its own threads rest;
# shown again, the sound and the frames come back at once, the planet where the camera puts it.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
. "$(dirname "$0")/disc.sh"
DISCSIZE=$4
fresh_work "$3"
. "$(dirname "$0")/sway-session.sh"
sway_session "$work" "output HEADLESS-1 resolution 1280x480 position 0 0"
shown=$(outer swaymsg -t get_workspaces | jq -r '.[] | select(.focused) | .name')
nested_sway 2
cp "$1" "$home/morrowmere"
cp "$2" "$home/morrowmere-wayland"
log="$home/state/morrowmere/morrowmere.log"
capture="$home/sound.wav"
printf '%s\n' '[general]' 'drivers = wave' 'channels = stereo' 'frequency = 44100' 'sample-type = int16' \
    '[wave]' "file = $capture" >"$home/alsoft.conf"
[ -n "${as_user[*]}" ] && chown "$throwaway" "$home/alsoft.conf"

session_start env ALSOFT_DRIVERS=wave ALSOFT_CONF="$home/alsoft.conf" "$home/morrowmere" -fullscreen
pid=$(cat "$home/pid")
check "the ambient loop sounds" ok "$(wait_for_sound "$capture" 30)"
# The loudest 100 ms of the capture's last half second: "silent" below the walk's floor, else
# "sounding" (the mix writes on in real time, silence while every sound is paused).
now_sounds() {
    window_levels "$capture" 1 | tail -5 | awk '$1 > top { top = $1 } END { print (top < 0.0004) ? "silent" : "sounding" }'
}

outer swaymsg workspace away >/dev/null
check "nothing shows it: said within 2 s" yes \
    "$(wait_for_record "Nothing shows the scene: sound and frames pause" 2 && echo yes)"
check "the sound pauses" silent "$(eventually 2 silent now_sounds)"
# Its own threads over the next 5 s: a span to measure, not a wait for a state (the record and
# the silence above show that the pause was handled).
check "its own threads rest: fewer than 10 wake-ups in 5 s" yes "$(quiet_for "$pid" 5)"
check "and the sound stays paused" silent "$(now_sounds)"
check "said once" 1 "$(records | grep -cF "Nothing shows the scene")"

outer swaymsg workspace "$shown" >/dev/null
check "shown again: said" yes "$(wait_for_record "The scene is seen again: sound and frames go on" 2 && echo yes)"
check "the sound is back within a second" sounding "$(eventually 1 sounding now_sounds)"
check "the planet is where the camera puts it" ok "$(eventually 10 ok output_disc WL-1 0 0 640 480)"
check "drawn live" yes "$(eventually 10 yes output_live WL-1)"
kill -TERM "$pid"
check "SIGTERM ends it after the teardown" 143 "$(wait_for_exit 10)"
check "the records: each change said once, between the run's own" \
    "$(normal_start_records; printf '   Notify : %s\n' "Nothing shows the scene: sound and frames pause" \
        "The scene is seen again: sound and frames go on"; normal_end_records)" "$(records_shape)"
finish
