# A desktop compositor's session for the end-to-end tests of the native Wayland client, sourced
# after check.sh and run-common.sh, once fresh_work has made `work`. GNOME's and KDE's compositors
# run as root here, each on a session bus and in a runtime folder of its own (a short folder in
# /tmp: a Unix socket's name holds 108 bytes), with HOME and the XDG folders in the test's folder.
#
# desktop_session NAME: that folder and bus; every process started through `started` ends with
#   the test, however it ends.
# started PID: a process of the session's, ended (and waited for) at the end, last first.
# desktop COMMAND...: desktop-bus.py on the session's bus.
# session_pipewire: PipeWire in the session (mutter's remote desktop and screen casts need it).
# mutter_input CONNECTOR: mutter's remote desktop on that monitor, for `send COMMAND` (desktop-bus.py
#   mutter-input's "key CODE" or "touch X Y"), which prints its answer ("typed CODE", ...).
# soon SECONDS EXPECTED PROBE...: as `eventually`, for a probe that may take seconds itself (a
#   compositor's picture): tried until it prints EXPECTED or SECONDS have passed.
# differ PICTURE PICTURE: "yes" when both can be read and some pixel differs.
# From a client's protocol trace (WAYLAND_DEBUG=client), as it stands (it may still be written):
# surfaces TRACE: one line per surface it gave a role, sorted: "ROLE OUTPUT configured
#   WIDTHxHEIGHT buffers SIZES viewport WIDTHxHEIGHT". ROLE is "toplevel" or the layer of a layer
#   surface ("overlay-layer", ...); OUTPUT the output it named, as its mode in pixels and its
#   place in the layout (WIDTHxHEIGHT+X+Y; "none" when it named none); then the size the
#   compositor gave it, the distinct sizes of the buffers attached to its surface that were made
#   after the compositor last told it a new scale (one made before may still be shown once, and
#   the frames in flight when the news came, still at the size before it, are left out too), and
#   its viewport's destination ("none").
# activations TRACE: one line per activation asked for: "TOKEN ROLE N before|after its first
#   buffer", naming the N-th surface given that role, and whether the request came before any
#   buffer was attached to it.
# keyboard_focus TRACE: the ROLE of the surface that has the keyboard's focus, if any.

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

surfaces() { surface_report surfaces "$1"; }
activations() { surface_report activations "$1"; }
keyboard_focus() { surface_report focus "$1"; }

surface_report() {
    # Each line loses its time stamp (of varying width) and its arrow (a request), then is split
    # at its parentheses and commas; object ids are reused once freed, so each is looked up as it
    # stands at that line.
    awk -v report="$1" '
        function id(text) { match(text, /@[0-9]+/); return substr(text, RSTART + 1, RLENGTH - 1) }
        function give(surface, name, on) {
            role[surface] = name; output[surface] = on; rank[surface] = ++given[name]; order[++roles] = surface
        }
        BEGIN { split("background bottom top overlay", layer_names, " ") }
        {
            sub(/^\[ *[0-9.]+\] +/, ""); request = sub(/^-> /, "")
            split($0, a, /[(,)]/); self = id(a[1])
        }
        !request && /^wl_output@[0-9]+\.mode\(/ { if (a[2] % 2) mode[self] = (a[3] + 0) "x" (a[4] + 0) }
        !request && /^wl_output@[0-9]+\.geometry\(/ { place[self] = "+" (a[2] + 0) "+" (a[3] + 0) }
        request && /^xdg_wm_base@[0-9]+\.get_xdg_surface\(/ { surface_of[id(a[2])] = id(a[3]) }
        request && /^xdg_surface@[0-9]+\.get_toplevel\(/ {
            top = id(a[2]); surface_of_top[top] = surface_of[self]; give(surface_of[self], "toplevel", "none")
        }
        request && /^xdg_toplevel@[0-9]+\.set_fullscreen\(wl_output@/ {
            o = id(a[2]); output[surface_of_top[self]] = mode[o] place[o]
        }
        !request && /^xdg_toplevel@[0-9]+\.configure\(/ {
            if (a[2] + 0 > 0) size[surface_of_top[self]] = (a[2] + 0) "x" (a[3] + 0)
        }
        request && /^zwlr_layer_shell_v1@[0-9]+\.get_layer_surface\(/ {
            s = id(a[3]); o = id(a[4]); surface_of_layer[id(a[2])] = s
            name = (((a[5] + 1) in layer_names) ? layer_names[a[5] + 1] : a[5] + 0) "-layer"
            give(s, name, o == "" ? "none" : mode[o] place[o])
        }
        !request && /^zwlr_layer_surface_v1@[0-9]+\.configure\(/ {
            size[surface_of_layer[self]] = (a[3] + 0) "x" (a[4] + 0)
        }
        request && /^wp_fractional_scale_manager_v1@[0-9]+\.get_fractional_scale\(/ {
            surface_of_scale[id(a[2])] = id(a[3])
        }
        !request && /^wp_fractional_scale_v1@[0-9]+\.preferred_scale\(/ {
            s = surface_of_scale[self]
            if (scale[s] != a[2] + 0) { scale[s] = a[2] + 0; told[s] = NR }
        }
        request && /^wl_shm_pool@[0-9]+\.create_buffer\(/ {
            b = id(a[2]); buffer[b] = (a[4] + 0) "x" (a[5] + 0); made[b] = NR
        }
        request && /^wp_viewporter@[0-9]+\.get_viewport\(/ { viewport_of[id(a[2])] = id(a[3]) }
        request && /^wp_viewport@[0-9]+\.set_destination\(/ {
            destination[viewport_of[self]] = (a[2] + 0) "x" (a[3] + 0)
        }
        request && /^wl_surface@[0-9]+\.attach\(wl_buffer@/ {
            b = id(a[2])
            if (!(self in first_attach)) first_attach[self] = NR
            attached[++attaches] = self; attached_size[attaches] = buffer[b]; attached_made[attaches] = made[b]
        }
        request && /^xdg_activation_v1@[0-9]+\.activate\(/ {
            s = id(a[3]); token = a[2]; gsub(/"/, "", token)
            activation[++activations] = token " " ((s in role) ? role[s] " " rank[s] : "unknown 0") " " \
                ((s in first_attach) ? "after" : "before") " its first buffer"
        }
        !request && /^wl_keyboard@[0-9]+\.enter\(/ { focus = id(a[3]) }
        !request && /^wl_keyboard@[0-9]+\.leave\(/ { if (id(a[3]) == focus) focus = "" }
        END {
            if (report == "surfaces") {
                for (i = 1; i <= attaches; i++) {
                    s = attached[i]
                    if (attached_made[i] <= told[s]) { before_told[s] = attached_size[i]; continue }
                    # A frame already in flight when the news came, still at the size before it.
                    if (!(s in since_told) && attached_size[i] == before_told[s]) continue
                    since_told[s] = 1
                    if (!((s, attached_size[i]) in seen)) {
                        seen[s, attached_size[i]] = 1; sizes[s] = sizes[s] (sizes[s] == "" ? "" : ",") attached_size[i]
                    }
                }
                for (i = 1; i <= roles; i++) {
                    s = order[i]
                    printf "%s %s configured %s buffers %s viewport %s\n", role[s], output[s], size[s],
                        sizes[s] == "" ? "none" : sizes[s], (s in destination) ? destination[s] : "none"
                }
            } else if (report == "activations") {
                for (i = 1; i <= activations; i++) print activation[i]
            } else if (focus != "") {
                print (focus in role) ? role[focus] : "another surface"
            }
        }' "$2" | sort
}
