#!/usr/bin/env bash
# The Linux port without a sound output (it runs silently), with sound turned off (by the command
# line or the stored setting, the command line winning), after a failed start, and its command
# line (a refused one leaves the previous run's log alone).
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

# An OpenAL that knows no backend finds no output device.
ALSOFT_DRIVERS=no-such-backend hack_start -window -fps
wait_for_frames
check "without a sound output it draws its frames" yes "$(overlay_shown)"
kill -TERM "$hack_pid"
check "without a sound output it runs, and SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "it says so on stderr in one line" "morrowmere: no sound output device could be opened; running without sound" \
    "$(cat "$work/err")"
check "the log says that sound is off and why" \
    "$(printf '   Notify : %s\n' "Start common initialization" "Sound is off: no sound output device could be opened" \
        "SoundManager has been created")" "$(records | sed -n '4,6p')"
check "the rest of the run is a normal run" "$(normal_start_records | sed '1,4d'; normal_end_records)" \
    "$(records_shape | sed '1,5d')"

hack_start -window -no-sound
wait_for_frames
kill -TERM "$hack_pid"
check "-no-sound runs, and SIGTERM ends it" 143 "$(wait_for_exit 10)"
check "-no-sound prints nothing" "" "$(cat "$work/err")"
check "-no-sound: the log says why sound is off" "   Notify : Sound is off: -no-sound was given" "$(records | sed -n 5p)"

# The stored setting turns sound off; the command line wins over it.
set_setting EnableSound 0
sound_record() {
    hack_start -window "$@"
    wait_for_frames
    kill -TERM "$hack_pid"
    wait_for_exit 10 >/dev/null
    records | sed -n 5p
}
check "EnableSound 0: the log says why sound is off" "   Notify : Sound is off: EnableSound is 0 in the settings" \
    "$(sound_record)"
check "EnableSound 0 and -sound: sound plays" "   Notify : SoundManager has been created" "$(sound_record -sound)"
set_setting EnableSound 1
check "EnableSound 1 and -no-sound: sound is off" "   Notify : Sound is off: -no-sound was given" \
    "$(sound_record -no-sound)"

start_records() {
    printf '   Notify : %s\n' "Application has run" "Run looping thread" "Morrowmere screen saver. v2.0" \
        "Start common initialization"
}
HACK=$test_hack hack_start -window
check "a failing scene object ends it with status 1" 1 "$(wait_for_exit 15)"
check "its user message is on stderr" "morrowmere: Error of initialization" "$(cat "$work/err")"
check "the records end with the failing object" \
    "$(printf '%s\n' "   Notify : Start initialization for the horizon image" \
        "(!)Error : Horizon initialization is failed" "   Notify : Error of common initialization" \
        "   Notify : Start common uninstall" "   Notify : Common uninstall has finished properly" \
        "   Notify : FPS = -1")" "$(records | tail -6)"
check "its window is gone" "" "$(windows_named Morrowmere)"

# A command line that starts no run leaves the last run's log as it was, and makes no folders.
previous=$(records)
rm -rf "$work/elsewhere"
KEEP_LOG=1 XDG_STATE_HOME="$work/elsewhere" hack_start -h
check "-h prints the usage and ends with status 0" "0 usage: morrowmere" \
    "$(wait_for_exit) $(head -1 "$work/out" | cut -d' ' -f1-2)"
check "-h makes no folder for a log" no "$([ -e "$work/elsewhere" ] && echo yes || echo no)"
for line in "-nope" "-window-id" "-window-id 0" "-window-id 12ab" "-window-id 0x100000000"; do
    # shellcheck disable=SC2086
    KEEP_LOG=1 hack_start $line
    check "'$line' is refused with status 2 and the usage" "2 usage: morrowmere" \
        "$(wait_for_exit) $(sed -n 2p "$work/err" | cut -d' ' -f1-2)"
done
check "a refused command line leaves the last run's log alone" "$previous" "$(records)"
XSCREENSAVER_WINDOW=nonsense hack_start -root
check "an XSCREENSAVER_WINDOW that is no window id is refused" 2 "$(wait_for_exit)"
finish
