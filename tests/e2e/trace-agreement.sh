#!/usr/bin/env bash
# The Windows replay program under Wine and the Linux one agree: the same seeds and elapsed times
# give the same traces over 600 frames (integers exactly, doubles to a relative 1e-9) and the
# same last picture (to a few pixels).
# Arguments: TRACE.EXE LINUX-TRACE WORK WINE-RUN PREFIX
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
on_a_display "$@"
trace_exe=$1
linux_trace=$2
work=$3
shift 3
wine_run=("$@")
compare_jq="$(dirname "$0")/trace-compare.jq"
fresh_work "$work"
if [ ! -x "$linux_trace" ]; then
    echo "FAIL: the Linux replay program $linux_trace is not built (tools/build linux first)"
    exit 1
fi
# A sound device for Wine's DirectSound.
alsa_file_device "$work/sound.raw" >"$work/alsa.conf"
export ALSA_CONFIG_PATH="$work/alsa.conf"

for seed in 1 20261207 4294967295; do
    args=(--seed "$seed" --frames 600 --elapsed 16,33,7,250 --size 256x192)
    "$linux_trace" "${args[@]}" --snapshot "600:$work/linux-$seed.png" >"$work/linux-$seed" 2>"$work/linux-err"
    check "seed $seed: the Linux run ends with status 0" 0 "$?"
    "${wine_run[@]}" "$trace_exe" "${args[@]}" --snapshot "600:$work/windows-$seed.png" >"$work/windows-$seed" \
        2>"$work/windows-err"
    check "seed $seed: the Windows run ends with status 0" 0 "$?"
    verdict=$(jq -n -r --slurpfile a "$work/linux-$seed" --slurpfile b "$work/windows-$seed" -f "$compare_jq")
    echo "seed $seed: $verdict"
    check "seed $seed: the traces agree" agree "${verdict%%,*}"
    # The same picture but for a few pixels where the body's surfaces meet: Wine gives the
    # context a 16-bit depth buffer, the Linux visual a deeper one.
    differing=$(compare -metric AE "$work/linux-$seed.png" "$work/windows-$seed.png" null: 2>&1)
    check "seed $seed: the last pictures differ in at most 50 of 49152 pixels" yes \
        "$( ((differing <= 50)) && echo yes || echo "no: $differing")"
done
finish
