# A desktop compositor's session for the end-to-end tests of the native Wayland client, sourced
# after check.sh and run-common.sh, once fresh_work has made `work`. GNOME's and KDE's compositors
# run as root here, each on a session bus and in a runtime folder of its own (a short folder in
# /tmp: a Unix socket's name holds 108 bytes), with HOME and the XDG folders in the test's folder.
#
# desktop_session NAME: that folder and bus; every process started through `started` ends with
#   the test, however it ends.
# started PID: a process of the session's, ended (and waited for) at the end, last first.
# desktop COMMAND...: desktop-bus.py on the session's bus.
# soon SECONDS EXPECTED PROBE...: as `eventually`, for a probe that may take seconds itself (a
#   compositor's picture): tried until it prints EXPECTED or SECONDS have passed.
# differ PICTURE PICTURE: "yes" when both can be read and some pixel differs.
# toplevels TRACE: from a client's protocol trace (WAYLAND_DEBUG=client), one line per toplevel,
#   sorted: "OUTPUT-MODE configured WIDTHxHEIGHT buffers SIZES viewport WIDTHxHEIGHT", the output
#   it asked to be full screen on (its mode in pixels, "none" when it named none), the size the
#   compositor gave it, the distinct sizes of the buffers attached to its surface, and its
#   viewport's destination ("none").

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

toplevels() {
    # Each line loses its time stamp (of varying width) and its arrow (a request), then is split
    # at its parentheses and commas; object ids are reused once freed, so each is looked up as it
    # stands at that line.
    awk '
        function id(text) { match(text, /@[0-9]+/); return substr(text, RSTART + 1, RLENGTH - 1) }
        {
            sub(/^\[ *[0-9.]+\] +/, ""); request = sub(/^-> /, "")
            split($0, a, /[(,)]/); self = id(a[1])
        }
        !request && /^wl_output@[0-9]+\.mode\(/ { if (a[2] % 2) mode[self] = (a[3] + 0) "x" (a[4] + 0) }
        request && /^xdg_wm_base@[0-9]+\.get_xdg_surface\(/ { surface_of[id(a[2])] = id(a[3]) }
        request && /^xdg_surface@[0-9]+\.get_toplevel\(/ {
            top = id(a[2]); surface_of_top[top] = surface_of[self]; output[top] = "none"
        }
        request && /^xdg_toplevel@[0-9]+\.set_fullscreen\(wl_output@/ { output[self] = mode[id(a[2])] }
        !request && /^xdg_toplevel@[0-9]+\.configure\(/ { if (a[2] + 0 > 0) size[self] = (a[2] + 0) "x" (a[3] + 0) }
        request && /^wl_shm_pool@[0-9]+\.create_buffer\(/ { buffer[id(a[2])] = (a[4] + 0) "x" (a[5] + 0) }
        request && /^wp_viewporter@[0-9]+\.get_viewport\(/ { viewport_of[id(a[2])] = id(a[3]) }
        request && /^wp_viewport@[0-9]+\.set_destination\(/ { destination[viewport_of[self]] = (a[2] + 0) "x" (a[3] + 0) }
        request && /^wl_surface@[0-9]+\.attach\(wl_buffer@/ {
            b = buffer[id(a[2])]
            if (!((self, b) in seen)) { seen[self, b] = 1; sizes[self] = sizes[self] (sizes[self] == "" ? "" : ",") b }
        }
        END {
            for (top in output) {
                s = surface_of_top[top]
                printf "%s configured %s buffers %s viewport %s\n", output[top], size[top],
                    sizes[s] == "" ? "none" : sizes[s], s in destination ? destination[s] : "none"
            }
        }' "$1" | sort
}
