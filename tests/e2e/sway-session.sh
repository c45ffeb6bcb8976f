# A headless sway session for the end-to-end tests.
# sway refuses to run as root: the session belongs to a throwaway user of its own (throwaway_user),
# in a home of its own ($home), where the programs under test are copied.
#
# sway_session RESULTS OUTPUT-LINE...: starts sway with these lines of configuration and XWayland,
#   and a virtual keyboard on the seat; ends the test when sway does not answer. Pictures left in
#   $home go to RESULTS at the end.
# in_session COMMAND...: runs a command in the session; with `session_runtime` set to another
#   runtime folder, in the compositor whose socket is there (a sway nested in the session).
# session_start [--x11] COMMAND...: starts a program in the session as a launcher or an idle
#   daemon does (swaymsg exec), with --x11 without WAYLAND_DISPLAY; its pid goes to "$home/pid",
#   its output to "$home/out" and "$home/err", its exit status to "$home/exit". `work` is $home
#   from then on, for wait_for_exit. The last run's log goes first, so that a wait for a record
#   waits for this run (a busy machine once let a test take the last run's record for this one's).
# nested_sway COUNT: starts a sway nested in the session's, with COUNT outputs WL-1, WL-2, ...
#   that are 640 x 480 windows of the session's sway (place_nested_outputs), and a virtual
#   keyboard on its seat; `in_session` and session_start run there from then on, `outer` in the
#   session's sway. Its outputs can be hidden: a window on a workspace of the session's sway that
#   is not shown gets no frame callbacks, so its output of the nested sway is not drawn and the
#   surfaces on it get none either. (A surface on the overlay layer stays in sight whatever the
#   workspace, and a headless output turned off with `dpms off` still calls back.)
# place_nested_outputs: floats the nested sway's output windows at 640 x 480, side by side from
#   the top left corner of their workspace (the one focused when each came); prints the nested
#   outputs' sizes, for `eventually` (again until each has its window and size).

# It brings the rest of the harness: the checks, the run log (`log`, in $home), pictures and the
# client's protocol trace.
sway_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$sway_dir/check.sh"
. "$sway_dir/run-common.sh"
. "$sway_dir/disc.sh"
. "$sway_dir/wayland-trace.sh"

home=$(mktemp -d /tmp/morrowmere-sway.XXXXXX)
log="$home/state/morrowmere/morrowmere.log"
chmod 755 "$home"
mkdir -m 700 "$home/runtime"
session_cleanup() {
    [ -n "${keyboard:-}" ] && kill "$keyboard" 2>/dev/null
    [ -n "${sway:-}" ] && kill "$sway" 2>/dev/null && wait "$sway" 2>/dev/null
    pkill -KILL -f "$home/" 2>/dev/null
    # Everything the session started (the virtual keyboard, XWayland) goes with it.
    [ -n "${as_user[*]}" ] && pkill -KILL -u "$throwaway" 2>/dev/null
    throwaway_user_gone
    [ -n "${session_results:-}" ] && cp "$home"/*.png "$session_results/" 2>/dev/null
    rm -rf "$home"
}
trap session_cleanup EXIT

in_session() {
    local runtime=${session_runtime:-$home/runtime}
    "${as_user[@]}" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" \
        XDG_STATE_HOME="$home/state" XDG_CONFIG_HOME="$home/config.d" ALSOFT_DRIVERS=null \
        WAYLAND_DISPLAY="$(cd "$runtime" && ls wayland-? 2>/dev/null | head -1)" \
        SWAYSOCK="$(echo "$runtime"/sway-ipc.*.sock)" "$@"
}

sway_session() {
    session_results=$1
    shift
    printf '%s\n' "$@" "xwayland enable" >"$home/config"
    # A user of this session's own: sessions of tests that run side by side end their users'
    # processes without touching each other's.
    throwaway_user "mm-sway-$(tr 'A-Z' 'a-z' <<<"${home##*.}")" "$home"
    in_session WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$# \
        sway -c "$home/config" >"$session_results/sway.log" 2>&1 </dev/null &
    sway=$!
    sway_answers() { in_session swaymsg -t get_version >/dev/null 2>&1 && echo yes; }
    [ "$(eventually 20 yes sway_answers)" == yes ] || {
        check "sway runs" yes "no; $(tail -3 "$session_results/sway.log")"
        finish
        exit 1
    }
    # The session has no input devices of its own. A desktop has a keyboard: here a virtual one
    # stays on the seat for the whole test (it would type F24 after ten minutes). Without one, the
    # keyboard that wtype brings is the seat's first, and XWayland may lose the first key it types.
    in_session wtype -s 600000 -k F24 >/dev/null 2>&1 &
    keyboard=$!
}

session_start() {
    local unset=""
    if [ "$1" == --x11 ]; then
        unset="unset WAYLAND_DISPLAY"
        shift
    fi
    rm -f "$home/exit" "$home/pid" "$log"
    {
        printf '#!/bin/sh\n%s\n' "$unset"
        printf '%q ' "$@"
        printf '>"%s/out" 2>"%s/err" &\n' "$home" "$home"
        printf 'echo $! >"%s/pid"\nwait $!\n' "$home"
        printf 'echo $? >"%s/exit.new" && mv "%s/exit.new" "%s/exit"\n' "$home" "$home" "$home"
    } >"$home/start"
    chmod 755 "$home/start"
    [ -n "${as_user[*]}" ] && chown "$throwaway" "$home/start"
    work=$home
    in_session swaymsg exec "$home/start" >/dev/null
    eventually 5 yes pid_written "$home/pid" >/dev/null
}

outer() { session_runtime="" in_session "$@"; }

nested_sway() {
    local count=$1 sizes display
    mkdir -m 700 "$home/nested"
    [ -n "${as_user[*]}" ] && chown "$throwaway" "$home/nested"
    echo "xwayland disable" >"$home/nested.conf"
    display=$(cd "$home/runtime" && ls wayland-? | head -1)
    in_session XDG_RUNTIME_DIR="$home/nested" WAYLAND_DISPLAY="$home/runtime/$display" WLR_BACKENDS=wayland \
        WLR_RENDERER=pixman WLR_WL_OUTPUTS="$count" sway -c "$home/nested.conf" \
        >"$session_results/nested-sway.log" 2>&1 </dev/null &
    session_runtime=$home/nested
    sizes=$(printf '640x480 %.0s' $(seq "$count"))
    [ "$(eventually 20 "${sizes% }" place_nested_outputs)" == "${sizes% }" ] || {
        check "a nested sway runs with $count outputs of 640 x 480" "${sizes% }" "$(place_nested_outputs)"
        finish
        exit 1
    }
    in_session wtype -s 600000 -k F24 >/dev/null 2>&1 &
}

place_nested_outputs() {
    local output
    for output in $(in_session swaymsg -t get_outputs 2>/dev/null | jq -r '.[].name | ltrimstr("WL-")'); do
        outer swaymsg "[title=\"WL-$output\$\"] floating enable, border none, resize set 640 480, move position" \
            "$((output * 640 - 640)) 0" >/dev/null 2>&1
    done
    in_session swaymsg -t get_outputs 2>/dev/null | jq -r '[.[] | "\(.rect.width)x\(.rect.height)"] | join(" ")'
}

# output_disc OUTPUT X Y WIDTH HEIGHT: the planet in that area of the output's picture (kept as
# "$home/OUTPUT.png").
output_disc() {
    in_session grim -o "$1" "$home/$1.png" 2>/dev/null || return
    disc_verdict "$home/$1.png" "$2" "$3" "$4" "$5"
}
# output_live OUTPUT: "yes" when a new picture of the output differs from the one kept, so the
# surface is drawn anew rather than showing a buffer left from before (for `eventually`).
output_live() {
    in_session grim -o "$1" "$home/$1-later.png" 2>/dev/null &&
        [ "$(compare -metric AE "$home/$1.png" "$home/$1-later.png" null: 2>&1)" != 0 ] && echo yes
}
