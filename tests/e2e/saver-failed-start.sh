#!/usr/bin/env bash
# Failed starts: the records, the message box captioned "Screen saver" with the kept message, a
# clean exit; and closing during start-up shows no box.
# Extra argument after the usual ones is not needed: the test build sits beside the saver.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"
test_build="$(dirname "$scr")/morrowmere-test.scr"
cp "$test_build" "$work/morrowmere-test.scr"

clear_settings
without_sound
saver_start /s
box=$(probe messagebox 20)
check "no sound device: the box says so" "text=Sorry, this application requires DirectX 8.0 or later" \
    "$(grep '^text=' <<<"$box")"
check "no sound device: a clean exit" 0 "$(wait_for_exit)"
check "no sound device: the records" "$(printf '%s\n' "   Notify : Application has run" \
    "   Notify : Run looping thread" "   Notify : Morrowmere screen saver. v2.0" \
    "   Notify : Start common initialization" "(!)Error : SoundManager initialization is failed" \
    "   Notify : Error of common initialization" "   Notify : Start common uninstall" \
    "   Notify : Common uninstall has finished properly" "   Notify : FPS = -1")" "$(records)"
with_sound

# The test build: a slow creature and flowers that fail.
log="$work/morrowmere-test.log"
SCR="$work/morrowmere-test.scr" saver_start /s
box=$(probe messagebox 30)
check "a failing scene object: the box" "text=Error of initialization" "$(grep '^text=' <<<"$box")"
check "a failing scene object: a clean exit" 0 "$(wait_for_exit)"
check "a failing scene object: the records" "$(normal_start_records | sed '$d'
    printf '%s\n' "(!)Error : FlowersHolder initialization is failed" "   Notify : Error of common initialization")
$(normal_end_records | sed 's/<rate>/-1/')" "$(records)"

SCR="$work/morrowmere-test.scr" saver_start /s
wait_for_record "Start scene initialization"
wait_for_visible_saver
# A click: it reaches the full-screen window under the pointer whichever window has the focus.
xdotool click 1
check "closed while starting: a clean exit" 0 "$(wait_for_exit 30)"
check "closed while starting: no box" "messagebox=none" "$(probe messagebox 1)"
check "closed while starting: the start ran to its end and the rate is -1" "$(normal_start_records | sed '$d'
    printf '%s\n' "(!)Error : FlowersHolder initialization is failed" "   Notify : Error of common initialization")
$(normal_end_records | sed 's/<rate>/-1/')" "$(records)"
finish
