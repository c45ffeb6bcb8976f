# Reading a Wayland client's own protocol trace (WAYLAND_DEBUG=client, on its stderr), for the
# end-to-end tests of the native client on every compositor. Requests are the lines with "->",
# events the others, each after its time in milliseconds in brackets (some versions of the library
# name the event queue in braces after it). The trace may still be written while it is read.
#
# trace: the trace read, `trace_file` or else "$home/err" (a sway session's client).
trace() { cat "${trace_file:-$home/err}"; }

# A trace_summary of the trace, one of:
#   scene        the output of the scene's surface (the first configured with a size: a layer
#                surface, or else a toplevel): the rank of the output's global among the outputs'
#                globals (the headless and nested outputs are made, and named, in that order)
#   rate FROM TO [AFTER]  the scene surface's commits per second from FROM to TO ms after its
#                first buffer (its first commit past line AFTER of the trace, when given); "short"
#                while the trace does not reach that far
#   unpaced      the commits of a surface while the frame callback asked for with its last
#                commit has not been called back (each as "wl_surface@S at TIME")
#   buffers      the scene surface's buffers, "WIDTHxHEIGHT@SCALE" each kind once
#   formats      the wl_shm formats of all buffers, each once
#   removed      the outputs' globals removed, by rank as for scene, in the order they went
trace_summary() {
    trace | awk -v what="$1" -v from="${2:-0}" -v to="${3:-0}" -v after="${4:-0}" '
        function arguments(pattern, a) {
            if (!match($0, pattern)) return 0
            return split(substr($0, RSTART, RLENGTH), a, /[(), ]+/)
        }
        function rank(global, n, g) {
            n = 0
            for (g in outputGlobal) if (outputGlobal[g] <= global) n++
            return n
        }
        match($0, /^\[ *[0-9.]+\]/) {
            # Microseconds in 32 bits: the time starts again from 0 every 71.6 minutes.
            time = substr($0, 2, RLENGTH - 2) + wrapped
            if (time < before - 2000000) { wrapped += 4294967.296; time += 4294967.296 }
            before = time
            sub(/^\[[ 0-9.]+\] +/, "")
            sub(/^\{[^}]*\} +/, "")
        }
        { request = sub(/^-> +/, "") }
        request && arguments("^wl_registry@[0-9]+\\.bind\\([0-9]+, \"wl_output\", [0-9]+, new id \\[unknown\\]@[0-9]+\\)", a) {
            split(a[7], o, "@"); outputGlobal[o[2]] = a[2]
        }
        # The surface and the output of each role object, by the object ("xdg_surface@N" or
        # "zwlr_layer_surface_v1@N").
        request && arguments("\\.get_layer_surface\\(new id [^,]+, wl_surface@[0-9]+, wl_output@[0-9]+,", a) {
            split(a[5], w, "@"); split(a[6], o, "@"); surfaceOf[a[4]] = w[2]; outputOf[a[4]] = o[2]
        }
        request && arguments("^xdg_wm_base@[0-9]+\\.get_xdg_surface\\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+\\)", a) {
            split(a[5], w, "@"); surfaceOf[a[4]] = w[2]
        }
        request && arguments("^xdg_surface@[0-9]+\\.get_toplevel\\(new id xdg_toplevel@[0-9]+\\)", a) {
            split(a[1], s, "."); shellOf[a[4]] = s[1]
        }
        request && arguments("^xdg_toplevel@[0-9]+\\.set_fullscreen\\(wl_output@[0-9]+\\)", a) {
            split(a[1], t, "."); split(a[2], o, "@"); outputOf[shellOf[t[1]]] = o[2]
        }
        !request && scene == "" && (arguments("^xdg_surface@[0-9]+\\.configure\\(", a) ||
            arguments("^zwlr_layer_surface_v1@[0-9]+\\.configure\\([0-9]+, [1-9][0-9]*, [1-9][0-9]*\\)", a)) {
            split(a[1], s, ".")
            scene = surfaceOf[s[1]]; sceneOutput = rank(outputGlobal[outputOf[s[1]]])
        }
        !request && arguments("^wl_registry@[0-9]+\\.global_remove\\([0-9]+\\)", a) {
            for (n in outputGlobal) if (outputGlobal[n] == a[2]) removed = removed " " rank(a[2])
        }
        request && arguments("^wl_shm_pool@[0-9]+\\.create_buffer\\(new id wl_buffer@[0-9]+, [0-9]+, [0-9]+, [0-9]+, [0-9]+, [0-9]+\\)", a) {
            split(a[4], b, "@"); size[b[2]] = a[6] "x" a[7]; formats[a[9]] = 1
        }
        request && arguments("^wl_surface@[0-9]+\\.set_buffer_scale\\([0-9]+\\)", a) {
            split(a[1], s, "[@.]"); scale[s[2]] = a[2]
        }
        request && arguments("^wl_surface@[0-9]+\\.attach\\(wl_buffer@[0-9]+", a) {
            split(a[1], s, "[@.]"); split(a[2], b, "@")
            if (s[2] == scene) {
                kinds[size[b[2]] "@" (s[2] in scale ? scale[s[2]] : 1)] = 1
                if (!first && NR > after) first = time
            }
        }
        request && arguments("^wl_surface@[0-9]+\\.frame\\(new id wl_callback@[0-9]+\\)", a) {
            split(a[1], s, "[@.]"); split(a[4], c, "@"); owner[c[2]] = s[2]; asked[s[2]] = c[2]
        }
        request && !/^wl_surface@[0-9]+\.frame/ && arguments("new id wl_callback@[0-9]+", a) {
            split(a[3], c, "@"); delete owner[c[2]]
        }
        !request && arguments("^wl_callback@[0-9]+\\.done\\(", a) {
            split(a[1], c, "[@.]")
            if (c[2] in owner) {
                if (waiting[owner[c[2]]] == c[2]) delete waiting[owner[c[2]]]
                delete owner[c[2]]
            }
        }
        request && arguments("^wl_surface@[0-9]+\\.commit\\(\\)", a) {
            split(a[1], s, "[@.]")
            if (s[2] in waiting) unpaced = unpaced sprintf("wl_surface@%s at %.3f\n", s[2], time)
            if (s[2] in asked) { waiting[s[2]] = asked[s[2]]; delete asked[s[2]] }
            if (s[2] == scene && !first && NR > after) first = time
            if (s[2] == scene && first && time >= first + from && time < first + to) commits++
            last = time
        }
        request && arguments("^wl_surface@[0-9]+\\.destroy\\(\\)", a) {
            split(a[1], s, "[@.]"); delete waiting[s[2]]; delete asked[s[2]]
        }
        END {
            if (what == "scene") print sceneOutput
            if (what == "rate") print (first && last >= first + to) ? commits * 1000 / (to - from) : "short"
            if (what == "unpaced") printf "%s", unpaced
            if (what == "buffers") for (k in kinds) print k
            if (what == "formats") for (f in formats) print f
            if (what == "removed") print substr(removed, 2)
        }' | sort
}
# rate_between FROM TO LOW HIGH [AFTER]: "yes" when the scene surface's commits per second (as
# `trace_summary rate`) lie between LOW and HIGH, else the rate.
rate_between() {
    local rate
    rate=$(trace_summary rate "$1" "$2" "${5:-0}")
    [ "$rate" == short ] && echo short && return
    awk -v rate="$rate" -v low="$3" -v high="$4" 'BEGIN { print (rate >= low && rate <= high) ? "yes" : rate }'
}

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
