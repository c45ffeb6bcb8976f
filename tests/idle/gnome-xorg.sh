#!/usr/bin/env bash
# The idle watcher under GNOME Shell on Xorg (an Xvfb of the test's own; logind and a display
# manager stood in for as in gnome.sh): the X11 saver that it starts grabs the keyboard, which keeps
# the shell from locking ("Unable to lock", in its log). A lock asked of logind ends the saver, and
# the watcher asks for it again once the saver is gone: the session ends up locked under the shield.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE WORK
set -uo pipefail
. "$(dirname "$0")/../e2e/desktop-session.sh"
on_a_display "$@"
display=$DISPLAY
fresh_work "$4"
desktop_session gnome-xorg
export DISPLAY=$display
system_bus_start
display_manager_start
"${own_run[@]}" gnome-shell --x11 --replace >"$work/mutter.log" 2>&1 &
shell=$!
started "$shell"
check "GNOME Shell has started on the X server" yes "$(soon 60 yes shell_started "$shell")"
check "its shield answers" "(false,)" "$(soon 30 "(false,)" shield GetActive)"
cp "$1" "$3" "$work/"
"$work/morrowmere-idle" --after-seconds 2 >/dev/null
watcher_start
started "$watcher"
check "the saver starts when the session is idle" yes "$(wait_for_record "Scene has been initialized successfully" &&
    echo yes)"
saver_window() { xdotool search --onlyvisible --name '^Morrowmere$' >/dev/null && echo yes; }
check "shown on the X server" yes "$(eventually 30 yes saver_window)"
check "the session is locked" done "$(login1 /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.Lock)"
check "which ends the saver" yes "$(eventually 10 yes saver_gone)"
check "and the shell locks once it is gone" "(true,)" "$(soon 30 "(true,)" shield GetActive)"
check "the watcher has said nothing" "" "$(cat "$work/watcher.out" "$work/watcher.err")"
finish
