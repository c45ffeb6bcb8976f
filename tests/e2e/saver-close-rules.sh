#!/usr/bin/env bash
# What closes the full-screen saver: mouse moves beyond 4 pixels, power events; and what does not.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

clear_settings
xdotool mousemove 500 400
sleep 0.5
saver_start /s
wait_for_running_saver
sleep 1
xdotool mousemove 503 401
sleep 1.5
check "a move of 3 right and 1 down does not close" running "$(wait_for_exit 0)"
xdotool mousemove 503 402
check "3 right and 2 down from where it started closes" 0 "$(wait_for_exit)"

saver_start /s
wait_for_running_saver
sleep 1
check "resume after a failure is posted" "posted=1" "$(probe post 0x218 7 1)"
check "a key release is posted" "posted=1" "$(probe post 0x101 65 0)"
sleep 1.5
check "neither closes it" running "$(wait_for_exit 0)"
check "a suspend is posted" "posted=1" "$(probe post 0x218 4 0)"
check "a suspend closes it" 0 "$(wait_for_exit)"

saver_start /s
wait_for_running_saver
sleep 1
probe post 0x112 0xF170 2 >/dev/null # WM_SYSCOMMAND, SC_MONITORPOWER
check "turning the monitor off closes it" 0 "$(wait_for_exit)"
finish
