#!/usr/bin/env bash
# What closes the full-screen saver: mouse moves beyond 4 pixels, power events; and what does not.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

clear_settings
xdotool mousemove --sync 500 400
saver_start /s
wait_for_running_saver
xdotool mousemove --sync 503 401
# The move reaches the window from X as input, and the saver measures it from where the pointer
# is. The same message posted after it is handled in turn with the proof below, from the same
# place.
check "a move is posted" "posted=1" "$(probe post 0x200 0 0)" # WM_MOUSEMOVE
check "the window has handled the move" handled "$(posted_messages_handled)"
check "a move of 3 right and 1 down does not close" running "$(wait_for_exit 0)"
xdotool mousemove 503 402
check "3 right and 2 down from where it started closes" 0 "$(wait_for_exit)"

saver_start /s
wait_for_running_saver
check "resume after a failure is posted" "posted=1" "$(probe post 0x218 7 1)"
check "a key release is posted" "posted=1" "$(probe post 0x101 65 0)"
check "the window has handled both" handled "$(posted_messages_handled)"
check "neither closes it" running "$(wait_for_exit 0)"
check "a suspend is posted" "posted=1" "$(probe post 0x218 4 0)"
check "a suspend closes it" 0 "$(wait_for_exit)"

saver_start /s
wait_for_running_saver
probe post 0x112 0xF170 2 >/dev/null # WM_SYSCOMMAND, SC_MONITORPOWER
check "turning the monitor off closes it" 0 "$(wait_for_exit)"
finish
