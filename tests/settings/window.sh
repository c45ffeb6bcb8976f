#!/usr/bin/env bash
# "Morrowmere Settings" in a headless sway session, driven through its accessibility tree
# (window.py): a settings file of bad values opens as what the saver makes of them, each control
# changed is in the file at once and its other lines are kept, "Start when idle" starts the idle watcher and turning it off
# ends it, the preview shows the scene live and rests while the window is hidden, and "Preview
# full screen" runs the saver and brings the preview back after it.
# Arguments: MORROWMERE MORROWMERE-WAYLAND MORROWMERE-IDLE MORROWMERE-PREVIEW MORROWMERE-SETTINGS WORK
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/sway-session.sh"
fresh_work "$6"
sway_session "$work" "output HEADLESS-1 mode 1024x768 position 0 0"
cp "$1" "$2" "$3" "$4" "$5" "$here/window.py" "$home/"
settings="$home/config.d/Tovrelin/Morrowmere screen saver.conf"
mkdir -p "$(dirname "$settings")"
printf 'RenderScale=7\nEnableFPS=-3\nEnableSound=1\nIdleSeconds=abc\nKept=yes\n' >"$settings"
chown -R "$throwaway" "$home/config.d"
# The session's bus, where the window finds the accessibility bus.
bus="unix:path=$home/runtime/bus"
in_session dbus-daemon --session --address="$bus" --fork >/dev/null
session_start env DBUS_SESSION_BUS_ADDRESS="$bus" XDG_CURRENT_DESKTOP=sway "$home/morrowmere-settings"
drive() { in_session env DBUS_SESSION_BUS_ADDRESS="$bus" /usr/bin/python3 "$home/window.py" "$@" 2>&1 | tail -1; }
stored() { grep -x "$1=.*" "$settings" | tail -1; }

check "bad values show as what the saver makes of them" "100 off on off" \
    "$(eventually 30 100 drive show "Render scale") $(drive show "Show frame rate") $(drive show "Play sound")\
 $(drive show "Start when idle")"
for change in "toggle|Show frame rate|EnableFPS=1" "toggle|Play sound|EnableSound=0" \
              "toggle|Fewer frames on battery|BatteryFrameCap=0" "set|Render scale|RenderScale=50"; do
    IFS='|' read -r how name line <<<"$change"
    drive "$how" "$name" 50 >/dev/null
    check "$name: stored at once" "$line" "$(eventually 10 "$line" stored "${line%%=*}")"
done

check "a line the window does not know is kept" Kept=yes "$(stored Kept)"

watchers() { ps -u "$throwaway" -o stat=,comm= | grep -c '^[^Z]* morrowmere-idle$'; }
drive set "Start after" 1 >/dev/null
drive toggle "Start when idle" >/dev/null
check "Start when idle, after 1 minute: stored, and the watcher runs" "IdleSeconds=60 1" \
    "$(eventually 10 IdleSeconds=60 stored IdleSeconds) $(eventually 10 1 watchers)"
drive toggle "Start when idle" >/dev/null
check "turned off: stored, and the watcher has ended" "IdleSeconds=0 0" \
    "$(eventually 10 IdleSeconds=0 stored IdleSeconds) $(eventually 10 0 watchers)"

# Pictures and CPU time a second apart: spans to measure over, each in a bounded wait.
shot() { in_session grim "$home/$1.png"; }
live_preview() {
    shot a && sleep 1 && shot b && drive preview "$home/a.png" "$home/b.png" |
        awk -F'[= x]' '{ print ($2 > 4000 && $2 < 57600 && $4 >= 300 && $4 <= 340 && $7 > 20 && $9 == 0) ? "yes" : $0 }'
}
check "the preview shows the scene, live, and nothing else changes" yes "$(eventually 20 yes live_preview)"
preview_ticks() { awk '{ print $14 + $15 }' "/proc/$(pgrep -u "$throwaway" -x morrowmere-prev | head -1)/stat" 2>/dev/null; }
rests() { local before; before=$(preview_ticks); sleep 1; [ -n "$before" ] && [ "$(preview_ticks)" == "$before" ] && echo yes; }
draws() { local before; before=$(preview_ticks); sleep 1; [ "$(preview_ticks)" -gt "${before:-0}" ] && echo yes; }
in_session swaymsg workspace 2 >/dev/null
check "hidden, the preview rests" yes "$(eventually 10 yes rests)"
in_session swaymsg workspace 1 >/dev/null
check "shown, it draws again" yes "$(eventually 10 yes draws)"

drive press "Preview full screen" >/dev/null
check "Preview full screen runs the saver" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
saver_ends() { in_session wtype x; pgrep -u "$throwaway" -x morrowmere-wayl >/dev/null || echo yes; }
check "a key ends it" yes "$(eventually 15 yes saver_ends)"
check "and the preview draws again" yes "$(eventually 10 yes draws)"
check "the window has said nothing" "" "$(cat "$home/out")"
finish
