#!/usr/bin/env bash
# The Linux port's -fullscreen while nothing shows the scene, playing to PipeWire's PulseAudio
# server: another window over the whole screen, and within 5 s the run log says so, its stream
# pauses and the sink suspends, and its own threads rest; that window back in a corner, the sound
# and the frames come back at once, the planet where the camera puts it. The same under the compositing
# managers picom and xcompmgr. Its window unmapped and mapped again does the same. (The monitors' power is tried with the windows in the unit tests: none of the
# X servers the tests can start here, Xvfb, Xephyr or Xorg's dummy driver, has DPMS.)
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

sound_server_start "$work/sound"
export $(sound_env)
paused="Nothing shows the scene: sound and frames pause"
resumed="The scene is seen again: sound and frames go on"

# The pointer rests before the start: no motion reaches the window to end the run.
xdotool mousemove 500 400
hack_start -fullscreen
expect_frames "full screen"
window=$(own_window)
said() { records | grep -cF -- "$1"; }
check "it plays to the sound server" "running running" "$(eventually 30 "running running" sound_states)"
screen_disc() {
    import -display "$DISPLAY" -window root "$work/scene.png" 2>/dev/null && disc_verdict "$work/scene.png" 0 0 1024 768
}
screen_live() {
    import -display "$DISPLAY" -window root "$work/later.png" 2>/dev/null &&
        [ "$(compare -metric AE "$work/scene.png" "$work/later.png" null: 2>&1)" != 0 ] && echo yes
}

# cover_and_back WHAT COUNT: the test's window over the whole screen, then back in a corner, with
# WHAT drawing the screen; the pause and the return are said for the COUNT-th time.
cover_and_back() {
    check "$1: another window covers the whole screen" resized "$(helper size 1024 768)"
    check "$1: nothing shows it: said within 5 s" "$2" "$(eventually 5 "$2" said "$paused")"
    check "$1: its stream pauses, and the sink suspends" "idle suspended" \
        "$(eventually 15 "idle suspended" sound_states)"
    # Its own threads over the next 5 s: a span to measure, not a wait for a state (the record and
    # the paused stream above show that the pause was handled).
    check "$1: its own threads rest: fewer than 10 wake-ups in 5 s" yes "$(quiet_for "$hack_pid" 5)"
    check "$1: the window goes back to a corner" resized "$(helper size 100 100)"
    check "$1: shown again: said" "$2" "$(eventually 5 "$2" said "$resumed")"
    check "$1: the sound is back" "running running" "$(eventually 5 "running running" sound_states)"
}
helper_start
cover_and_back "with no compositing manager" 1
check "the planet is where the camera puts it" ok "$(eventually 10 ok screen_disc)"
check "drawn live" yes "$(eventually 10 yes screen_live)"
# A compositing manager draws every window off screen, and the server tells each that nothing
# covers it.
for compositor in "picom --backend xrender" xcompmgr; do
    $compositor >"$work/compositor.log" 2>&1 &
    compositor_pid=$!
    cover_and_back "under ${compositor%% *}" $(($(said "$paused") + 1))
    kill "$compositor_pid"
    wait "$compositor_pid" 2>/dev/null
done

xdotool windowunmap "$window"
check "unmapped: said within 5 s" 4 "$(eventually 5 4 said "$paused")"
check "its stream pauses, and the sink suspends" "idle suspended" "$(eventually 15 "idle suspended" sound_states)"
xdotool windowmap "$window"
check "mapped again: said" 4 "$(eventually 5 4 said "$resumed")"
check "the planet is back" ok "$(eventually 10 ok screen_disc)"
check "drawn live" yes "$(eventually 10 yes screen_live)"

kill -TERM "$hack_pid"
check "SIGTERM ends it after the teardown" 143 "$(wait_for_exit 10)"
check "the records: each change said, between the run's own" \
    "$(normal_start_records; for _ in 1 2 3 4; do printf '   Notify : %s\n' "$paused" "$resumed"; done; normal_end_records)" \
    "$(records_shape)"
sound_server_stop
finish
