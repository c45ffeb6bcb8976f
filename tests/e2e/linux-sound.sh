#!/usr/bin/env bash
# The Linux port's sound, captured by OpenAL Soft's wave writer: the ambient loop from the start,
# walking, with the wings' flaps over it. (What each sound is handed is tested over a recording
# mixer in the OpenGL tests, how the mixer places it in the mixer tests.)
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

capture="$work/sound.wav"
cat >"$work/alsoft.conf" <<CONF
[general]
drivers = wave
channels = stereo
frequency = 44100
sample-type = int16

[wave]
file = $capture
CONF
export ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave

rm -f "$capture"
hack_start -window
expect_frames "a run with sound"
heard=$(wait_for_sound "$capture" 90)
kill -TERM "$hack_pid"
check "a run with sound: SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "the ambient loop sounds from the start and walks, the flaps over it" "ok ok" "$heard $(sound_verdict "$capture")"
finish
