#!/usr/bin/env bash
# The Linux port's sound, captured by OpenAL Soft's wave writer: the ambient loop and its walk, a
# wing sound on the right; and the failed start of the build whose fruit shader lacks a uniform.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"
builds=$(dirname "$hack")

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

run_for() {
    rm -f "$capture"
    hack_start -window
    wait_for_frames
    sleep "$1"
    kill -TERM "$hack_pid"
    wait_for_exit 10
}

# The creature's flaps would sound over the walk: a build whose wings keep still lets it be heard alone.
rm -f "$capture"
HACK="$builds/morrowmere-still-wings" hack_start -window
wait_for_frames
walk=$(wait_for_ambient_walk "$capture" 90)
kill -TERM "$hack_pid"
check "a run with sound: SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "the ambient loop sounds from the start and follows its walk" "ok ok" "$walk $(ambient_verdict "$capture")"

check "a run with a wing sound on the right: SIGTERM ends it" 143 "$(HACK="$builds/morrowmere-flap-test" run_for 5)"
left=$(channel_level "$capture" 1)
right=$(channel_level "$capture" 2)
check "the wing sound on the right comes out louder on the right" yes \
    "$(awk -v l="$left" -v r="$right" 'BEGIN { print (r > 2 * l) ? "yes" : "no: left " l ", right " r }')"

failed_start() {
    local build=$1 record=$2
    HACK="$builds/$build" hack_start -window
    check "$build ends with status 1" 1 "$(wait_for_exit 10)"
    check "$build: the message on stderr" "morrowmere: Error of initialization" "$(cat "$work/err")"
    check "$build: the records" "$(failed_start_records "$record")" "$(records | tail -5)"
}
check_uniformless_start failed_start
finish
