#!/usr/bin/env bash
# The native Wayland client's ends on a headless sway with one output, the pointer a virtual one
# of the tests' own (virtual-pointer): no pointer over its layer surface, a 2-pixel move that it
# takes in and goes on, a 10-pixel move and a button that end it with status 0; and the compositor
# killed, which ends it at once with status 1 and one line that says why. (sway sends no close
# request to a layer surface: its `kill` closes windows alone.)
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK VIRTUAL-POINTER
set -uo pipefail
. "$(dirname "$0")/sway-session.sh"
fresh_work "$3"
sway_session "$work" "output HEADLESS-1 mode 640x480@60Hz position 0 0"
cp "$1" "$2" "$home/"
cp "$4" "$home/virtual-pointer"
# A desktop has a mouse: one stays on the seat, so that the client has its pointer from the start
# and each command's device comes and goes beside it.
in_session "$home/virtual-pointer" hold >/dev/null 2>&1 &
in_session "$home/virtual-pointer" move-to 320 240 640 480
check "the pointer is in the middle of the output" 0 $?

# What the client was told and asked, from its own protocol trace (WAYLAND_DEBUG=client, its
# stderr): requests are the lines with "->", events the others; some versions of the library name
# the event queue in braces after the time.
trace() { cat "$home/err"; }
# "X Y cursor" of the pointer's first entry into a surface: where it entered, and the cursor the
# client set with that entry's serial ("nil" for none, as wanted).
pointer_entry() {
    trace | awk '
        !entered && match($0, /wl_pointer@[0-9]+\.enter\([0-9]+, wl_surface@[0-9]+, [-0-9.]+, [-0-9.]+\)/) {
            split(substr($0, RSTART, RLENGTH), a, /[(), ]+/)
            serial = a[2]; x = a[4] + 0; y = a[5] + 0; entered = 1; next
        }
        entered && match($0, /-> wl_pointer@[0-9]+\.set_cursor\([0-9]+, [^,]+,/) {
            split(substr($0, RSTART, RLENGTH), a, /[(), ]+/)
            if (a[3] == serial) { print x, y, a[4]; exit }
        }'
}
# The surfaces' commits since the client was told that the pointer moved to (X, Y).
commits_since_motion_to() {
    trace | awk -v x="$1" -v y="$2" '
        match($0, /wl_pointer@[0-9]+\.motion\([0-9]+, [-0-9.]+, [-0-9.]+\)/) {
            split(substr($0, RSTART, RLENGTH), a, /[(), ]+/)
            if (a[3] + 0 == x && a[4] + 0 == y) seen = 1
        }
        seen && /-> wl_surface@[0-9]+\.commit\(\)/ { commits++ }
        END { print seen ? commits + 0 : "no such motion" }'
}
at_least() { [ "$("$2" "${@:3}")" -ge "$1" ] 2>/dev/null && echo yes; }

session_start env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen
check "the pointer enters its surface where it is, and the client hides it" "320 240 nil" \
    "$(eventually 20 "320 240 nil" pointer_entry)"
in_session "$home/virtual-pointer" move 2 0
# Proof that the move was taken in and did not end the run: the client was told of it, and the
# scene was shown twenty more times after that (an ending run shows it once more at most).
check "a move of 2 pixels reaches it" yes "$(eventually 10 yes at_least 20 commits_since_motion_to 322 240)"
check "and it goes on" running "$(wait_for_exit 0)"
in_session "$home/virtual-pointer" move 10 0
check "a move of 10 pixels more ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(run_records)"

session_start env WAYLAND_DEBUG=client "$home/morrowmere" -fullscreen
check "started again, the pointer in it" "332 240 nil" "$(eventually 20 "332 240 nil" pointer_entry)"
in_session "$home/virtual-pointer" click
check "a button ends it with status 0" 0 "$(wait_for_exit 10)"

# Last, as it ends the session: the compositor killed under the running client.
session_start "$home/morrowmere" -fullscreen
check "started again, with the scene" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
kill -KILL "$(pgrep -fx "sway -c $home/config")"
check "the compositor killed ends it with status 1" 1 "$(wait_for_exit 10)"
lost=$(sed -E 's/^(morrowmere: the connection to the Wayland compositor was lost: ).+$/\1<reason>/' "$home/err")
check "with one line that says why" "morrowmere: the connection to the Wayland compositor was lost: <reason>" "$lost"
finish
