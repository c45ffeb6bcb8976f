# Shared by the end-to-end tests of both saver programs and the replay program: the display and
# the test's folder, the run log, the screen and captured sound. The caller sets `log` (the run
# log's path) and, for wait_for_exit, writes the program's exit code into "$work/exit" when it ends.
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Called first with the script's arguments: without a display the script runs again, with the same
# arguments, on a virtual screen of its own.
on_a_display() {
    [ -n "${DISPLAY:-}" ] || exec "$e2e_dir/../../tools/with-xvfb" bash "$0" "$@"
}

# fresh_work FOLDER: the test's own folder, new and empty, as an absolute path in `work`. It is a
# short folder in /tmp, and FOLDER a link to it that the next run replaces with its own: from a
# deep build tree the names of what a test makes there would be too long (a Unix socket's name
# holds 108 bytes; the Windows saver writes its run log only beside a module path of less than
# 200 characters). The Linux programs get OpenAL Soft's silent device: the machines that run the
# tests have no sound hardware.
fresh_work() {
    local last
    last=$(readlink "$1")
    case "$last" in /tmp/morrowmere-*) rm -rf "$last" ;; esac
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    local short
    short=$(mktemp -d "/tmp/morrowmere-$(basename "$1").XXXXXX") || return 1
    chmod 755 "$short"
    ln -s "$short" "$1"
    work=$short
    export ALSOFT_DRIVERS=null
}

# Waits until the run log holds a record with this text; false after the time-out.
wait_for_record() {
    local text=$1 seconds=${2:-20}
    for _ in $(seq $((seconds * 10))); do
        records | grep -qF -- "$text" && return 0
        sleep 0.1
    done
    return 1
}

# Prints the exit code once the saver has ended, or "running" after the time-out.
wait_for_exit() {
    local seconds=${1:-20}
    # At least one look: with 0 seconds it says at once whether the saver has ended.
    for _ in $(seq $((seconds * 10 + 1))); do
        if [ -f "$work/exit" ]; then
            cat "$work/exit"
            return
        fi
        sleep 0.1
    done
    echo running
}

# Runs a probe (a command and its arguments) until it prints EXPECTED, for at most SECONDS; prints
# what it printed last, so a check on the result fails with what was seen.
eventually() {
    local seconds=$1 expected=$2 output=""
    shift 2
    for _ in $(seq $((seconds * 5))); do
        output=$("$@")
        [ "$output" == "$expected" ] && break
        sleep 0.2
    done
    echo "$output"
}

records() { tr -d '\r' 2>/dev/null <"$log"; }
# The records without the frame-rate value, which differs from run to run.
records_shape() { records | sed -E 's/^(   Notify : FPS = ).*/\1<rate>/'; }
# The same without the records of a pause while nothing shows the scene, for a run on sway that
# was shown all along: as run here, it does not say which frames were presented, so the client
# goes by frame callbacks alone, which sway drawing several outputs in software on a busy machine
# may hold back for seconds (the unseen tests try the pause on purpose). mutter and weston say
# so, and kwin's two outputs, like a compositor whose every answer comes 1.2 s late
# (linux-wayland-slow.sh), stay under the client's 2 s: their tests need no filter.
run_records() {
    records_shape | grep -v -e '^   Notify : Nothing shows the scene: sound and frames pause$' \
        -e '^   Notify : The scene is seen again: sound and frames go on$'
}

# own_wakeups PID: how often the program's own threads have woken since they began (voluntary
# context switches): its main thread, and the one named "render" once its start-up is done; "no
# render thread" without one. Unlike CPU time, a busy machine does not add to it. The threads of
# the sound device (which mixes on, silence, while every sound is paused) and of the renderer are
# left out.
own_wakeups() {
    local task total=0 render=no
    for task in /proc/"$1"/task/*; do
        if [ "$(cat "$task/comm" 2>/dev/null)" == render ]; then
            render=yes
        elif [ "${task##*/}" != "$1" ]; then
            continue
        fi
        total=$((total + $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null)))
    done
    [ "$render" == yes ] && echo "$total" || echo "no render thread"
}
# quiet_for PID SECONDS: "yes" when the program's own threads woke fewer than 10 times over that
# span (while it draws, they wake for every frame), else how often they did.
quiet_for() {
    local before after
    before=$(own_wakeups "$1")
    sleep "$2"
    after=$(own_wakeups "$1")
    [[ "$before$after" =~ ^[0-9]+$ ]] || { echo "$after"; return; }
    awk -v woke=$((after - before)) 'BEGIN { print (woke < 10) ? "yes" : "woke " woke " times" }'
}

# The pixels of a part of the screen (WIDTHxHEIGHT+X+Y) as ImageMagick's text listing; false when
# the screen could not be read. In a sway session, with `shot_output` set, of that output.
screen_pixels() {
    rm -f "$work/shot.png"
    if [ -n "${shot_output:-}" ]; then
        in_session grim -o "$shot_output" "$work/shot.png" 2>/dev/null
    else
        import -display "$DISPLAY" -window root "$work/shot.png" 2>/dev/null
    fi && convert "$work/shot.png" -crop "$1" +repage txt:- 2>/dev/null
}
probe_failed="probe failed: the screen could not be read"

# Counts the pure white and pure black pixels in a part of the screen: by default the top-left
# tenth of a 1024 x 768 screen, else the given WIDTHxHEIGHT+X+Y.
corner_colours() {
    local pixels
    pixels=$(screen_pixels "${1:-102x76+0+0}") || { echo "$probe_failed"; return; }
    echo "white=$(grep -c '#FFFFFF' <<<"$pixels") black=$(grep -c '#000000' <<<"$pixels")"
}

normal_start_records() {
    printf '   Notify : %s\n' "Application has run" "Run looping thread" "Morrowmere screen saver. v2.0" \
        "Start common initialization" "SoundManager has been created" "Context for OpenGL has been created" \
        "GLEW initialized" "OpenGL 2.0 is found" "WGLEW_EXT_swap_control extension is found" \
        "VSYNC has been setted properly" "Video initialization has finished successfully" \
        "Start scene initialization"
    program_records 4
    printf '   Notify : %s\n' "Start initialization for the horizon image" "Bitmap is loaded" \
        "Horizon image is initialized properly" "Creating OGL program for stalk"
    program_records 1
    printf '   Notify : %s\n' "Creating OGL program for fruit"
    program_records 1
    printf '   Notify : %s\n' "Start initialization for the formless planet" "Bitmap is loaded" \
        "The formless planet is initialized properly" "Scene has been initialized successfully"
}
# The records of COUNT programs built one after the other.
program_records() {
    for _ in $(seq "$1"); do
        printf '   Notify : %s\n' "Start CreateOGLProgram()" "Vertex shader is built" "Fragment shader is built" \
            "OGL program is created and built"
    done
}
normal_end_records() {
    printf '   Notify : %s\n' "Start common uninstall" "Common uninstall has finished properly" "FPS = <rate>"
}

# The colour of at least 90 % of a part of the screen (WIDTHxHEIGHT+X+Y) as #RRGGBB, else
# "mixed: N % #RRGGBB" for the commonest. For the ground, where sparks sink and twinkle (on a slow
# machine a wing holds hundreds of them) and the creature may pass.
mostly_colour() {
    local pixels
    pixels=$(screen_pixels "$1") || { echo "$probe_failed"; return; }
    grep -o '#[0-9A-F]\{6\}' <<<"$pixels" | sort | uniq -c | sort -rn |
        awk '{ total += $1; if (NR == 1) { top = $1; colour = $2 } }
             END { if (top * 10 >= total * 9) print colour; else printf "mixed: %d %% %s\n", top * 100 / total, colour }'
}

# The one colour of a part of the screen (WIDTHxHEIGHT+X+Y) as #RRGGBB, or "mixed: N colours".
only_colour() {
    local pixels colours
    pixels=$(screen_pixels "$1") || { echo "$probe_failed"; return; }
    colours=$(grep -o '#[0-9A-F]\{6\}' <<<"$pixels" | sort -u)
    if [ "$(wc -l <<<"$colours")" -eq 1 ]; then echo "$colours"; else echo "mixed: $(wc -l <<<"$colours") colours"; fi
}

# "yes" once a part of the screen shows a picture (more than one colour), as the sky does.
picture_in() { only_colour "$1" | grep -q '^mixed' && echo yes || echo no; }

# Whether the frame-rate overlay's white text on black is in a part of the screen (by default the
# top-left tenth of a 1024 x 768 screen); "no: <counts>" otherwise. The sky has a few white stars
# at most and little pure black.
overlay_shown() {
    local counts
    counts=$(corner_colours "${1:-102x76+0+0}")
    [ "$counts" == "$probe_failed" ] && { echo "$counts"; return; }
    awk -F'[= ]' '{ print ($2 > 40 && $4 > 200) ? "yes" : "no: " $0 }' <<<"$counts"
}

# The processes whose command line matches PATTERN, one a line; a line that says the probe failed
# when pgrep itself fails (it exits with 1 when nothing matches, above that on an error).
processes_matching() {
    local found status
    found=$(pgrep -fa "$1")
    status=$?
    [ "$status" -le 1 ] || { echo "probe failed: pgrep exited with $status"; return; }
    [ -z "$found" ] || echo "$found"
}

# The X windows named exactly NAME (xdotool's search ignores case), one id a line; a line that
# says the probe failed when the display cannot be reached.
windows_named() {
    xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "probe failed: no display"; return; }
    local window
    for window in $(xdotool search --name "^$1\$" 2>/dev/null); do
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" == "$1" ] && echo "$window"
    done
}

# The 16-bit stereo samples of a WAV capture at 44100 Hz, also while it is still being written
# (its header's sizes are filled in only at the end): everything after the "data" tag.
capture_samples() {
    local at
    at=$(head -c 4096 "$1" 2>/dev/null | grep -obUa data | head -1 | cut -d: -f1)
    [ -n "$at" ] && tail -c +$((at + 9)) "$1"
}

# The RMS level (0..1) of one channel (1 left, 2 right) of a capture, in windows of 100 ms, one
# per line.
window_levels() {
    capture_samples "$1" | sox -t raw -r 44100 -e signed -b 16 -c 2 - -t dat - remix "$2" 2>/dev/null | awk '
        /^;/ { if ($2 == "Sample" && $3 == "Rate") size = int($4 / 10); next }
        { sum += $2 * $2; n++; if (n == size) { printf "%.6f\n", sqrt(sum / n); sum = 0; n = 0 } }'
}

# sound_server_start FOLDER [RUNNER...]: PipeWire with its PulseAudio server and its session
# manager, as a desktop runs them, on a bus and in a runtime folder of their own (FOLDER, short: it
# holds their sockets), started through RUNNER (a test's own user), with a null sink that a stream
# is linked to. `sound_env` prints what OpenAL Soft needs to play to it; `sound_states` prints the
# saver's stream's state and the sink's, as PipeWire says: "running running" while it plays; once
# its stream is paused, "idle", and the sink "suspended" after 5 s without a running stream.
sound_server_start() {
    sound_dir=$1
    shift
    sound_runner=("$@")
    mkdir -p -m 700 "$sound_dir"
    [ $# -gt 0 ] && [ -n "${throwaway:-}" ] && chown "$throwaway" "$sound_dir"
    in_sound dbus-daemon --session --nofork --address="unix:path=$sound_dir/bus" >"$sound_dir/bus.log" 2>&1 &
    in_sound pipewire >"$sound_dir/pipewire.log" 2>&1 &
    in_sound pipewire-pulse >"$sound_dir/pulse.log" 2>&1 &
    # The session manager gives up when PipeWire is not there yet.
    pipewire_answers() { in_sound pw-cli info 0 >/dev/null 2>&1 && echo yes; }
    check "PipeWire runs" yes "$(eventually 10 yes pipewire_answers)"
    in_sound wireplumber >"$sound_dir/wireplumber.log" 2>&1 &
    in_sound pw-cli create-node adapter '{ factory.name=support.null-audio-sink node.name=test-sink
        media.class=Audio/Sink object.linger=true audio.position=[FL FR] }' >/dev/null 2>&1
    check "with a sink" suspended "$(eventually 10 suspended sound_states | cut -d' ' -f2)"
}
in_sound() {
    "${sound_runner[@]}" env XDG_RUNTIME_DIR="$sound_dir" DBUS_SESSION_BUS_ADDRESS="unix:path=$sound_dir/bus" "$@"
}
sound_env() { echo "ALSOFT_DRIVERS=pulse PULSE_SERVER=unix:$sound_dir/pulse/native"; }
sound_states() {
    in_sound pw-dump 2>/dev/null | jq -r '[.[] | select(.type == "PipeWire:Interface:Node") | .info] |
        "\(map(select(.props."media.class" == "Stream/Output/Audio"))[0].state // "none") \(
            map(select(.props."node.name" == "test-sink"))[0].state // "none")"'
}
# Every process of the sound server's runtime folder ends: a background function's pid is its
# subshell's, not the server's.
sound_server_stop() {
    [ -n "${sound_dir:-}" ] || return 0
    local environ
    for environ in /proc/[0-9]*/environ; do
        tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "XDG_RUNTIME_DIR=$sound_dir" &&
            kill "$(basename "$(dirname "$environ")")" 2>/dev/null
    done
    return 0
}

# An ALSA configuration (for ALSA_CONFIG_PATH) whose default device writes what is played into
# FILE: the sound device that Wine's DirectSound needs. As "raw" the bytes as played; as "wav"
# converted first to 16-bit stereo at 44100 Hz, the form that the level checks read.
alsa_file_device() {
    local file=$1 format=${2:-raw}
    if [ "$format" = wav ]; then
        printf '%s\n' 'pcm.!default {' '    type plug' '    slave {' '        pcm "capture"' '        format S16_LE' \
            '        rate 44100' '        channels 2' '    }' '}' 'pcm.capture {'
    else
        echo 'pcm.!default {'
    fi
    printf '%s\n' '    type file' '    slave.pcm { type null }' "    file \"$file\"" "    format \"$format\"" '}'
}

# Checks the capture of a run: the ambient loop sounds within 10 s of the capture's start (the
# sound device opens before the scene's start-up, which a busy machine slows: more than a second
# seen under Wine) and never stops,
# so no 100 ms of it falls below the walk's floor (-40 dB of the sample, whose own level varies by
# less than 1.8 times over a second); most of the time it is the loop alone, within the walk's
# range (up to -23.8 dB), since a flap (1.2 s) plays at most once in 3 s; and the level moves, with
# the walk or a flap. Prints "ok" or what is wrong.
sound_verdict() {
    local levels median
    levels=$(window_levels "$1" 1)
    # The middle of the levels after the first sound (mawk has no sort of its own).
    # Sounding: above 0.0001, under the floor and over the dither that a 16-bit mix adds to its
    # silence (one step, 0.00003).
    median=$(awk '$1 > 0.0001 { on = 1 } on' <<<"$levels" | sed '1d;$d' | sort -g |
        awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }')
    awk -v median="${median:-0}" '
        { level[NR] = $1; if ($1 > 0.0001) { if (!first) first = NR; last = NR } }
        END {
            if (!first) { print "silent"; exit }
            if (first > 100) { print "silent for " (first - 1) / 10 " s"; exit }
            if (last - first < 20) { print "less than 2 s captured"; exit }
            low = 1; high = 0
            for (i = first + 1; i < last; i++) {
                if (level[i] < low) low = level[i]
                if (level[i] > high) high = level[i]
            }
            if (low < 0.0004) { print "below the floor: " low; exit }
            if (median > 0.0136) { print "mostly above the highest swell: " median; exit }
            if (high < 3 * low) { print "does not move: " low " to " high; exit }
            print "ok"
        }' <<<"$levels"
}

# Waits while a run plays until its capture so far passes sound_verdict, for at most SECONDS.
# Prints the last verdict.
wait_for_sound() {
    local verdict="" deadline=$((SECONDS + $2))
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 2
        verdict=$(sound_verdict "$1")
        case "$verdict" in ok | "below the floor"* | "mostly above"*) break ;; esac
    done
    echo "$verdict"
}

# The records of a start that stops right after the COUNT-th normal record containing TEXT, with
# the error records that follow as further arguments, then the failed start's teardown.
broken_start_records() {
    local text=$1 count=$2
    shift 2
    normal_start_records | awk -v text="$text" -v count="$count" '{ print } index($0, text) && ++seen == count { exit }'
    [ "$#" -eq 0 ] || printf '%s\n' "$@"
    printf '   Notify : %s\n' "Error of common initialization" "Start common uninstall" \
        "Common uninstall has finished properly" "FPS = -1"
}

# The saver's shaders in the order a start reads them. The creature's four programs share vertex
# shader 114; the stalk's and the fruit's programs come fifth and sixth.
broken_shader_ids="114 111 110 112 113 125 124 129 128"

# The records of a start that fails on shader ID: a vertex shader stops its program before
# "Vertex shader is built", a fragment shader after it. The creature's programs stop it without a
# record of their own; the flowers' write theirs.
broken_shader_records() {
    local id step count flower text
    read -r id step count flower <<<"$(printf '%s\n' "114 Start 1" "111 Vertex 1" "110 Vertex 2" "112 Vertex 3" \
        "113 Vertex 4" "125 Start 5 Stalk" "124 Vertex 5 Stalk" "129 Start 6 Fruit" "128 Vertex 6 Fruit" |
        grep "^$1 ")"
    [ "$step" = Start ] && text="Start CreateOGLProgram()" || text="Vertex shader is built"
    if [ -n "$flower" ]; then
        broken_start_records "$text" "$count" "(!)Error : Can not create an OpenGL application for $flower" \
            "(!)Error : FlowersHolder initialization is failed"
    else
        broken_start_records "$text" "$count"
    fi
}

# Programs that refuse to run as root (the XScreenSaver daemon, sway) run as a throwaway user of
# the test's own. throwaway_user NAME HOME: as root, makes the system user NAME with HOME (unless
# it is there) and gives it HOME; `as_user` then runs a command as that user. Otherwise `as_user`
# is empty and everything runs as the caller. throwaway_user_gone ends the user's processes and
# removes a user made here.
throwaway_user() {
    throwaway=$1
    as_user=()
    made_user=no
    [ "$(id -u)" == 0 ] || return 0
    if ! id "$throwaway" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir "$2" --shell /usr/sbin/nologin "$throwaway" && made_user=yes
    fi
    chown -R "$throwaway" "$2"
    as_user=(runuser -u "$throwaway" --)
}
throwaway_user_gone() {
    [ "${made_user:-no}" == yes ] || return 0
    pkill -KILL -u "$throwaway" 2>/dev/null
    userdel "$throwaway" 2>/dev/null
}

# pid_written FILE: "yes" once a started program's pid is in FILE (for `eventually`).
pid_written() { [ -s "$1" ] && echo yes; }

# client_start [VARIABLE=VALUE...]: `morrowmere -fullscreen` from $work (beside its Wayland client
# on a Wayland session), with these variables, once the one started before has ended; its pid
# goes to `client`, its output to "$work/out" and "$work/err", its exit status to "$work/exit"
# (for wait_for_exit).
client_start() {
    # A run that should have ended and did not goes first, so that its output stays its own.
    [ -n "${client:-}" ] && kill -KILL "$client" 2>/dev/null && wait_for_exit 5 >/dev/null
    # Its run log goes too, so that a wait for a record waits for this run.
    rm -f "$work/pid" "$work/exit" "$log"
    (env "$@" "$work/morrowmere" -fullscreen >"$work/out" 2>"$work/err" &
     echo $! >"$work/pid"
     wait $!
     echo $? >"$work/exit.new" && mv "$work/exit.new" "$work/exit") &
    eventually 5 yes pid_written "$work/pid" >/dev/null
    client=$(cat "$work/pid")
}

# watcher_start [VARIABLE=VALUE...]: the idle watcher beside the saver in $work, in the background
# with these variables; its output in "$work/watcher.out" and "$work/watcher.err", its exit status
# in "$work/exit" (for wait_for_exit), its pid in `watcher`.
watcher_start() {
    rm -f "$work/pid" "$work/exit"
    (env "$@" "$work/morrowmere-idle" >"$work/watcher.out" 2>"$work/watcher.err" &
     echo $! >"$work/pid"
     wait $!
     echo $? >"$work/exit.new" && mv "$work/exit.new" "$work/exit") &
    eventually 5 yes pid_written "$work/pid" >/dev/null
    watcher=$(cat "$work/pid")
}

# The idle watcher's tests: the saver that the watcher (pid $watcher) runs, once it runs; "yes" once
# it has gone.
saver() { pgrep -P "$watcher"; }
saver_gone() { [ -z "$(saver)" ] && echo yes; }
# key_ends_run: with a saver running, keys a second apart (press_key, each test's own way of typing
# one: the saver's surface may not have the keyboard yet) until it has gone: "ended after a key",
# else "still running: PID", or "no run" when none ran. A press_key that fails stops the tries.
key_ends_run() {
    [ -n "$(saver)" ] || { echo "no run"; return; }
    for _ in $(seq 10); do
        press_key || break
        [ "$(eventually 1 yes saver_gone)" == yes ] && { echo "ended after a key"; return; }
    done
    echo "still running: $(saver)"
}
