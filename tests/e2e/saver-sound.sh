#!/usr/bin/env bash
# The Windows saver's sound through DirectSound, captured by ALSA's file plugin as 16-bit stereo
# at 44100 Hz: the ambient loop and its walk, a wing sound on the right; and the failed start of
# the build whose fruit shader lacks a uniform. Wine's mixer does not run at the pace of a real
# device into the file, so only levels are compared, not times.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"
builds=$(dirname "$scr")

capture="$work/sound.wav"
alsa_file_device "$capture" wav >"$work/capture.conf"
export ALSA_CONFIG_PATH="$work/capture.conf"

run_build() {
    local build=$1
    cp "$builds/$build.scr" "$work/$build.scr"
    rm -f "$capture"
    log="$work/$build.log"
    SCR="$work/$build.scr" saver_start /s
}

clear_settings
# The creature's flaps would sound over the walk: a build whose wings keep still lets it be heard alone.
run_build morrowmere-still-wings
wait_for_running_saver
walk=$(wait_for_ambient_walk "$capture" 90)
xdotool click 1
check "a run with sound ends with exit code 0" 0 "$(wait_for_exit)"
check "the ambient loop sounds from the start and follows its walk" "ok ok" "$walk $(ambient_verdict "$capture")"

run_build morrowmere-flap-test
wait_for_running_saver
# Its first flap comes after 3 s of the run, however fast the mixer fills the file.
side=$(eventually 60 yes louder_on_the_right "$capture")
xdotool click 1
check "a run with a wing sound on the right ends with exit code 0" 0 "$(wait_for_exit)"
check "the wing sound on the right comes out louder on the right" yes "$side"

failed_start() {
    local build=$1 record=$2
    run_build "$build"
    check "$build: the box" "text=Error of initialization" "$(probe messagebox 30 | grep '^text=')"
    check "$build: a clean exit" 0 "$(wait_for_exit)"
    check "$build: the records" "$(failed_start_records "$record")" "$(records | tail -5)"
}
check_uniformless_start failed_start
finish
