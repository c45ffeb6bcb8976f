#!/usr/bin/env bash
# The native Wayland client under KDE's compositor: kwin_wayland's virtual backend with two outputs
# of 1536x1152 pixels side by side at scale 1.5 (1024x768 each in the layout). kwin offers the
# layer shell: `morrowmere -fullscreen` asks for a layer surface on each output's overlay layer
# and kwin gives each the output's layout size; the workspace's picture at its own pixel density
# shows the whole scene (no pixel left at the clear colour) with a round planet on each output,
# drawn live; at the fractional scale each
# surface's buffers have the output's exact pixel count (1536x1152, never the 2048x1536 of the
# next integer scale), shown at 1024x768 through its viewport (from the client's protocol trace);
# the keyboard's focus is on a layer surface of its own, and a key typed through kwin's fake input
# (tests/e2e/FakeInput.cpp) ends it with status 0 and the normal run log. The scale comes after
# the first buffers, at a moment that varies: three more runs, each picture whole.
# Arguments: MORROWMERE MORROWMERE-WAYLAND WORK DISCSIZE FAKE-INPUT
set -uo pipefail
. "$(dirname "$0")/desktop-session.sh"
DISCSIZE=$4
fresh_work "$3"
desktop_session kde
kwin_start --width 1024 --height 768 --scale 1.5 --output-count 2
# The programs lie side by side, as installed.
cp "$1" "$2" "$work/"

client_start WAYLAND_DEBUG=client
check "the scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
surfaces_asked() { surfaces "$work/err" | cut -d' ' -f1-4; }
expected=$'overlay-layer 1536x1152+0+0 configured 1024x768\noverlay-layer 1536x1152+1024+0 configured 1024x768'
check "a layer surface on each output's overlay, each given the output's layout size" "$expected" \
    "$(eventually 10 "$expected" surfaces_asked)"
# output_disc X: a new picture of the workspace, and the planet's verdict on the output whose
# pixels start at column X, with none left at the clear colour.
output_disc() {
    desktop kwin-picture "$work/workspace.ppm" 2>/dev/null || return
    disc_verdict "$work/workspace.ppm" "$1" 0 1536 1152 black
}
# output_live X: "yes" when that output's part of a new picture differs from the one kept.
output_live() {
    desktop kwin-picture "$work/later.ppm" 2>/dev/null || return
    convert "$work/workspace.ppm" -crop "1536x1152+$1+0" +repage "$work/output.png" &&
        convert "$work/later.ppm" -crop "1536x1152+$1+0" +repage "$work/output-later.png" &&
        differ "$work/output.png" "$work/output-later.png"
}
check "the first output shows the whole scene with a round planet" ok "$(soon 20 ok output_disc 0)"
check "drawn live" yes "$(soon 10 yes output_live 0)"
check "so does the second" ok "$(soon 20 ok output_disc 1536)"
check "drawn live" yes "$(soon 10 yes output_live 1536)"
check "at scale 1.5 each surface's buffers have the output's pixels, its viewport the layout size" \
    $'buffers 1536x1152 viewport 1024x768\nbuffers 1536x1152 viewport 1024x768' \
    "$(surfaces "$work/err" | cut -d' ' -f5-8)"

check "the keyboard's focus is on a layer surface of its own" overlay-layer \
    "$(eventually 10 overlay-layer keyboard_focus "$work/err")"
check "still running" running "$(wait_for_exit 0)"
check "a key is typed through kwin's fake input" typed "$("$5" key 30 && echo typed)"
check "which ends it with status 0" 0 "$(wait_for_exit 10)"
check "the records of a normal run, in order" "$(normal_start_records; normal_end_records)" "$(records_shape)"
check "nothing but the protocol trace is printed" "" "$(cat "$work/out"; grep -v '^\[ *[0-9.]*\] ' "$work/err")"

scaled_buffers() { surfaces "$work/err" | cut -d' ' -f5-6 | sort -u; }
both_discs() { echo "$(output_disc 0) $(output_disc 1536)"; }
for run in 2 3 4; do
    client_start WAYLAND_DEBUG=client
    check "run $run: both surfaces' buffers at the new scale" "buffers 1536x1152" \
        "$(eventually 20 "buffers 1536x1152" scaled_buffers)"
    check "run $run: both outputs show the whole scene" "ok ok" "$(soon 20 "ok ok" both_discs)"
    "$5" key 30 >/dev/null
    check "run $run: a key ends it with status 0" 0 "$(wait_for_exit 10)"
done
finish
