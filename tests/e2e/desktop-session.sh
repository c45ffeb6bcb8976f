# A desktop compositor's session for the end-to-end tests of the native Wayland client and the
# idle watcher; it brings the rest of the harness (the checks, the run log, pictures, the client's
# protocol trace), and desktop_session runs once fresh_work has made `work`. GNOME's and KDE's compositors
# run as root here, each on a session bus and in a runtime folder of its own (a short folder in
# /tmp: a Unix socket's name holds 108 bytes), with HOME and the XDG folders in the test's folder.
#
# desktop_session NAME: that folder and bus, and the run log's place (`log`); every process started
#   through `started` ends with the test, however it ends.
# started PID: a process of the session's, ended (and waited for) at the end, last first.
# desktop COMMAND...: desktop-bus.py on the session's bus.
# mutter_start SIZE...: GNOME's compositor, headless, with a virtual monitor of each size
#   (WIDTHxHEIGHT) side by side, as `mutter` (its pid); WAYLAND_DISPLAY names it.
# system_bus_start: a system bus of the session's own, with logind's stand-in (python3-dbusmock's)
#   knowing this session (XDG_SESSION_ID, c7); `login1 PATH METHOD ARGS...` calls it, "done" when
#   answered.
# shell_start SIZE...: as mutter_start, GNOME Shell itself (the top bar, the overview, the shield and
#   its lock). The shell locks only where it finds logind (system_bus_start first), a display
#   manager (a stand-in of the version alone: display_manager_start) and /run/systemd/seats (in a
#   /run of its own: "${own_run[@]}" COMMAND...). `shield METHOD [ARGUMENT]` calls its shield.
# wireplumber_start: PipeWire's session manager, for mutter's screen casts (after session_pipewire).
# monitor_disc MONITOR WIDTH HEIGHT: mutter's screen casts of every monitor, and the planet's verdict
#   on this one's ("$work/cast-MONITOR.png").
# kwin_start OPTION...: KDE's compositor's virtual backend with these options, as `kwin` (its
#   pid), its screenshots and fake input open to any client; WAYLAND_DISPLAY names it.
# session_pipewire: PipeWire in the session (mutter's remote desktop and screen casts need it).
# mutter_input CONNECTOR: mutter's remote desktop on that monitor, for `send COMMAND` (desktop-bus.py
#   mutter-input's "key CODE" or "touch X Y"), which prints its answer ("typed CODE", ...).
# soon SECONDS EXPECTED PROBE...: as `eventually`, for a probe that may take seconds itself (a
#   compositor's picture): tried until it prints EXPECTED or SECONDS have passed.
# differ PICTURE PICTURE: "yes" when both can be read and some pixel differs.

desktop_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$desktop_dir/check.sh"
. "$desktop_dir/run-common.sh"
. "$desktop_dir/disc.sh"
. "$desktop_dir/wayland-trace.sh"

desktop_session() {
    runtime=$(mktemp -d "/tmp/morrowmere-$1.XXXXXX")
    chmod 700 "$runtime"
    session_pids=()
    trap desktop_cleanup EXIT
    mkdir -p "$work/home"
    unset DISPLAY WAYLAND_DISPLAY
    export HOME="$work/home" XDG_RUNTIME_DIR="$runtime" XDG_STATE_HOME="$work/state"
    export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
    log="$work/state/morrowmere/morrowmere.log"
    dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 &
    started $!
    bus_up() { [ -S "$runtime/bus" ] && echo yes; }
    check "the session bus runs" yes "$(eventually 10 yes bus_up)"
}

started() { session_pids+=("$1"); }

desktop_cleanup() {
    [ -n "${client:-}" ] && kill -KILL "$client" 2>/dev/null
    local i pid
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
        pid=${session_pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for _ in $(seq 30); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$runtime"
}

desktop() { /usr/bin/python3 "$e2e_dir/desktop-bus.py" "$@"; }

mutter_start() { compositor_start "$@" -- mutter; }
shell_start() {
    display_manager_start
    compositor_start "$@" -- "${own_run[@]}" gnome-shell
    check "GNOME Shell has started" yes "$(soon 60 yes shell_started "$mutter")"
}
own_run=(unshare --mount sh -c 'mount -t tmpfs none /run && mkdir -p /run/systemd/seats && exec "$@"' sh)
# shell_unstuck PID: GNOME Shell starts the input method's daemon through a fork whose child runs
# script code before it starts the program; now and then that child waits for good on a lock that
# another of the shell's threads held at the fork, and the shell, waiting for the child, stops
# answering partway through its start (its log ends at "Failed to get PolKit permission"). A child
# found still the shell's own program by two probes in a row (the wait's tries, noted in a file)
# is that one: ended, it lets the shell go on (the daemon is not installed here anyway).
shell_unstuck() {
    local child exe seen="$work/shell-children" found=""
    exe=$(readlink "/proc/$1/exe") || return 0
    for child in $(pgrep -P "$1"); do
        [ "$(readlink "/proc/$child/exe")" == "$exe" ] || continue
        if grep -qx "$child" "$seen" 2>/dev/null; then
            kill -KILL "$child" 2>/dev/null && echo "a stuck child of the shell ended" >>"$work/mutter.log"
        else
            found+="$child"$'\n'
        fi
    done
    printf '%s' "$found" >"$seen"
}
# shell_started PID: "yes" once the shell's log says its start is done.
shell_started() {
    shell_unstuck "$1"
    grep -q "GNOME Shell started" "$work/mutter.log" && echo yes
}
display_manager_start() {
    /usr/bin/python3 -m dbusmock --system org.gnome.DisplayManager /org/gnome/DisplayManager/Manager \
        org.gnome.DisplayManager.Manager >"$work/gdm.log" 2>&1 &
    started $!
    gdm_version() {
        dbus-send --system --print-reply --dest=org.gnome.DisplayManager /org/gnome/DisplayManager/Manager \
            org.freedesktop.DBus.Mock.AddProperty string:org.gnome.DisplayManager.Manager string:Version \
            variant:string:43.0 >/dev/null 2>&1 && echo done
    }
    check "a display manager (the stand-in) tells its version" done "$(eventually 10 done gdm_version)"
}
shield() { gdbus call --session --dest org.gnome.Shell.ScreenShield --object-path /org/gnome/ScreenSaver \
    --method org.gnome.ScreenSaver."$1" ${2:+"$2"} 2>/dev/null; }
# compositor_start SIZE... -- COMMAND...: mutter's own options and a virtual monitor of each size.
compositor_start() {
    local monitors=() expected="" x=0 n=0
    while [ "$1" != -- ]; do
        monitors+=(--virtual-monitor "$1")
        expected+="${expected:+$'\n'}Meta-$n $1+$x+0"
        x=$((x + ${1%x*}))
        n=$((n + 1))
        shift
    done
    shift
    mutter_monitors() {
        shell_unstuck "$mutter"
        desktop mutter-monitors 2>/dev/null
    }
    "$@" --headless --wayland --no-x11 --wayland-display=morrowmere-test "${monitors[@]}" >"$work/mutter.log" 2>&1 &
    mutter=$!
    started "$mutter"
    check "mutter runs with its monitors side by side" "$expected" "$(soon 60 "$expected" mutter_monitors)"
    export WAYLAND_DISPLAY=morrowmere-test
}

system_bus_start() {
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$runtime/system-bus" XDG_SESSION_ID=c7
    dbus-daemon --session --nofork --address="$DBUS_SYSTEM_BUS_ADDRESS" >"$work/system-bus.log" 2>&1 &
    started $!
    /usr/bin/python3 -m dbusmock --system --template logind >"$work/logind.log" 2>&1 &
    started $!
    add_session() { login1 /org/freedesktop/login1 org.freedesktop.DBus.Mock.AddSession string:c7 string:seat0 \
        uint32:0 string:root boolean:true; }
    check "logind (the stand-in) has this session" done "$(eventually 10 done add_session)"
}
login1() { dbus-send --system --print-reply --dest=org.freedesktop.login1 "$@" >/dev/null 2>&1 && echo done; }

wireplumber_start() {
    # Its session manager, which links a screen cast's stream to its reader, gives up when PipeWire is
    # not there yet.
    wireplumber >"$work/wireplumber.log" 2>&1 &
    started $!
    linker_up() { [[ $(timeout 5 pw-cli ls Client 2>/dev/null) == *'"WirePlumber"'* ]] && echo yes; }
    check "with its session manager" yes "$(soon 10 yes linker_up)"
}
monitor_disc() {
    desktop mutter-pictures "$work/cast" >/dev/null
    disc_verdict "$work/cast-$1.png" 0 0 "$2" "$3"
}

kwin_start() {
    # The installed kwin_wayland carries file capabilities that a container refuses to grant: a
    # copy has none.
    cp /usr/bin/kwin_wayland "$work/kwin_wayland"
    QT_QPA_PLATFORM=offscreen KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
        "$work/kwin_wayland" --virtual --no-lockscreen --socket morrowmere-test "$@" >"$work/kwin.log" 2>&1 &
    kwin=$!
    started "$kwin"
    kwin_up() { [ -S "$XDG_RUNTIME_DIR/morrowmere-test" ] && echo yes; }
    check "kwin runs" yes "$(eventually 20 yes kwin_up)"
    export WAYLAND_DISPLAY=morrowmere-test
}

session_pipewire() {
    pipewire >"$work/pipewire.log" 2>&1 &
    started $!
    pipewire_up() { [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && echo yes; }
    check "PipeWire runs" yes "$(eventually 10 yes pipewire_up)"
}

mutter_input() {
    coproc input { exec /usr/bin/python3 "$e2e_dir/desktop-bus.py" mutter-input "$1" 2>"$work/input.log"; }
    started "$input_PID"
}
send() {
    echo "$1" >&"${input[1]}"
    local answer=""
    read -r -t 10 -u "${input[0]}" answer
    echo "$answer"
}

soon() {
    local deadline=$((SECONDS + $1)) expected=$2 output=""
    shift 2
    while true; do
        output=$("$@")
        if [ "$output" == "$expected" ] || [ "$SECONDS" -ge "$deadline" ]; then
            break
        fi
        sleep 0.2
    done
    echo "$output"
}

differ() {
    compare -metric AE "$1" "$2" null: 2>/dev/null
    [ $? -eq 1 ] && echo yes
}
