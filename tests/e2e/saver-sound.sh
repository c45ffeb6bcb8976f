#!/usr/bin/env bash
# The Windows saver's sound through DirectSound, captured by ALSA's file plugin as 16-bit stereo
# at 44100 Hz: the ambient loop from the start, walking, with the wings' flaps over it. (What each
# sound is handed is tested over a recording mixer in the OpenGL tests, how the mixer places it in
# the mixer tests.) Wine's mixer does not run at the pace of a real device into the file, so only
# levels are compared, not times.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

capture="$work/sound.wav"
alsa_file_device "$capture" wav >"$work/capture.conf"
export ALSA_CONFIG_PATH="$work/capture.conf"

clear_settings
rm -f "$capture"
saver_start /s
wait_for_running_saver
heard=$(wait_for_sound "$capture" 90)
xdotool click 1
check "a run with sound ends with exit code 0" 0 "$(wait_for_exit)"
check "the ambient loop sounds from the start and walks, the flaps over it" "ok ok" "$heard $(sound_verdict "$capture")"
finish
