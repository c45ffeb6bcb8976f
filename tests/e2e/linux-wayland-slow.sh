#!/usr/bin/env bash
# The native Wayland client behind a slow compositor: a relay between it and a headless sway
# (slow-compositor.py) hands it every event 1.2 s late, frame callbacks and presentation feedback
# among them, as a compositor drawing in software on a busy machine may. The scene is shown all
# along: over its first eight frames the run log never says that nothing shows it, and SIGTERM
# ends it with the records of a normal run, none left out.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
fresh_work "$3"
sway_session "$work" "output HEADLESS-1 resolution 640x480 position 0 0"
cp "$1" "$2" "$(dirname "$0")/slow-compositor.py" "$home/"
upstream=$home/runtime/$(cd "$home/runtime" && ls wayland-? | head -1)
in_session /usr/bin/python3 "$home/slow-compositor.py" "$home/runtime/slow" "$upstream" 1.2 &
relay_listens() { [ -S "$home/runtime/slow" ] && echo yes; }
check "the relay listens" yes "$(eventually 10 yes relay_listens)"

session_start env WAYLAND_DISPLAY=slow WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" 60 && echo yes)"
frames() { grep -c ' -> wl_surface@[0-9]*\.commit()' "$home/err"; }
enough_frames() { [ "$(frames)" -ge 8 ] && echo yes; }
check "frames go on, one for each late callback" yes "$(eventually 60 yes enough_frames)"
check "none of them was taken for unseen" 0 "$(records | grep -cF 'Nothing shows the scene')"
kill -TERM "$(cat "$home/pid")"
check "SIGTERM ends it after the teardown" 143 "$(wait_for_exit 20)"
check "the records of a normal run, none left out" "$(normal_start_records; normal_end_records)" "$(records_shape)"
finish
