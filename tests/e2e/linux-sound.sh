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

# The creature's flaps would sound over the walk: a build whose wings keep still lets it be heard alone.
rm -f "$capture"
HACK="$builds/morrowmere-still-wings" hack_start -window
expect_frames "the ambient loop"
walk=$(wait_for_ambient_walk "$capture" 90)
kill -TERM "$hack_pid"
check "a run with sound: SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "the ambient loop sounds from the start and follows its walk" "ok ok" "$walk $(ambient_verdict "$capture")"

rm -f "$capture"
HACK="$builds/morrowmere-flap-test" hack_start -window
expect_frames "a wing sound on the right"
# Its first flap comes after 3 s of the run.
side=$(eventually 60 yes louder_on_the_right "$capture")
kill -TERM "$hack_pid"
check "a run with a wing sound on the right: SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "the wing sound on the right comes out louder on the right" yes "$side"

failed_start() {
    local build=$1 record=$2
    HACK="$builds/$build" hack_start -window
    check "$build ends with status 1" 1 "$(wait_for_exit 10)"
    check "$build: the message on stderr" "morrowmere: Error of initialization" "$(cat "$work/err")"
    check "$build: the records" "$(failed_start_records "$record")" "$(records | tail -5)"
}
check_uniformless_start failed_start
finish
