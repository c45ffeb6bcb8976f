#!/usr/bin/env bash
# The command line: exit codes of bad and special options, a single full-screen instance, preview.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

clear_settings
saver_start /p 12345
check "/p with a number that is not a window exits with -1" 255 "$(wait_for_exit)"
saver_start /p 99999999999999999999
check "/p with 20 digits exits with -1" 255 "$(wait_for_exit)"
saver_start /x
check "an unknown letter exits with -1" 255 "$(wait_for_exit)"
saver_start /a 0
check "/a exits with -1 on the NT family" 255 "$(wait_for_exit)"
saver_start /c
check "/c shows the settings dialog" "closed=1" "$(probe dialog close)"
check "/c exits with 1" 1 "$(wait_for_exit)"

saver_start /s
wait_for_running_saver
first=$saver_job
sleep 1
saver_start -S
check "a second full-screen start exits with 0" 0 "$(wait_for_exit)"
check "the first one still runs" 1 "$(saver_window_count)"
kill -0 "$first" 2>/dev/null
check "the first process is alive" 0 $?
saver_job=$first
rm -f "$work/exit"
xdotool key space
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
check "a key closes the first one" 1 "$(kill -0 "$first" 2>/dev/null && echo 0 || echo 1)"

output=$(probe preview "Z:${work//\//\\}\\morrowmere.scr" 320 240)
check "the preview started" 1 "$(grep -c '^started=1$' <<<"$output")"
check "the preview fills its parent's client area" "child=320x240" "$(grep '^child=' <<<"$output")"
check "input over the preview closes nothing" "alive-after-input=1" "$(grep '^alive-after-input=' <<<"$output")"
check "a context-menu request goes to the parent" "help-forwarded=1" "$(grep '^help-forwarded=' <<<"$output")"
check "destroying the parent ends the preview" "ended=1" "$(grep '^ended=' <<<"$output")"
check "the preview exits with 0" "exit=0" "$(grep '^exit=' <<<"$output")"
check "the preview ran its whole life" "$(normal_start_records; normal_end_records)" "$(records_shape)"
finish
