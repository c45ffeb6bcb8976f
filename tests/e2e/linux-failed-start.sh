#!/usr/bin/env bash
# Failed starts of the Linux port (no sound device, a scene object that fails) and its command line.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

start_records() {
    printf '   Notify : %s\n' "Application has run" "Run looping thread" "Morrowmere screen saver. v2.0" \
        "Start common initialization"
}
end_records() {
    printf '   Notify : %s\n' "Error of common initialization" "Start common uninstall" \
        "Common uninstall has finished properly" "FPS = -1"
}

# An OpenAL that knows no backend finds no device.
ALSOFT_DRIVERS=no-such-backend hack_start -window -fps
check "without a sound device it ends with status 1" 1 "$(wait_for_exit 10)"
check "the user message is on stderr" "morrowmere: Sorry, this application requires DirectX 8.0 or later" \
    "$(cat "$work/err")"
check "the records of a start without sound" \
    "$(start_records; echo "(!)Error : SoundManager initialization is failed"; end_records)" "$(records)"
check "its window is gone" "" "$(xdotool search --name '^Morrowmere$' 2>/dev/null)"

HACK=$test_hack hack_start -window
check "a failing scene object ends it with status 1" 1 "$(wait_for_exit 15)"
check "its user message is on stderr" "morrowmere: Error of initialization" "$(cat "$work/err")"
check "the records end with the failing object" \
    "$(printf '%s\n' "   Notify : Horizon image is initialized properly" "(!)Error : FlowersHolder initialization is failed"; \
       end_records)" "$(records | tail -6)"

hack_start -h
check "-h prints the usage and ends with status 0" "0 usage: morrowmere" \
    "$(wait_for_exit) $(head -1 "$work/out" | cut -d' ' -f1-2)"
for line in "-nope" "-window-id" "-window-id 0" "-window-id 12ab" "-window-id 0x100000000"; do
    # shellcheck disable=SC2086
    hack_start $line
    check "'$line' is refused with status 2 and the usage" "2 usage: morrowmere" \
        "$(wait_for_exit) $(sed -n 2p "$work/err" | cut -d' ' -f1-2)"
done
XSCREENSAVER_WINDOW=nonsense hack_start -root
check "an XSCREENSAVER_WINDOW that is no window id is refused" 2 "$(wait_for_exit)"
finish
