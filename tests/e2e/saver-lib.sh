# Shared by the Windows saver's end-to-end tests. Each test runs the .scr from a folder of its own,
# so its run log lands there, under the build's Wine prefix on the display of the test run.
# The script's arguments: SCR WINPROBE WORK WINE-RUN PREFIX
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"

if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "${BASH_SOURCE[0]}")/../../tools/with-xvfb" bash "$0" "$@"
fi

scr=$1
winprobe=$2
work=$3
shift 3
wine_run=("$@")
prefix=${wine_run[-1]}
log="$work/morrowmere.log"
key='HKLM\Software\Tovrelin\Morrowmere screen saver'

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd -P)
log="$work/morrowmere.log"
cp "$scr" "$work/morrowmere.scr"
# A sound device for Wine's DirectSound: ALSA's file plugin writes the mix to a file.
cat > "$work/alsa.conf" <<CONF
pcm.!default {
    type file
    slave.pcm { type null }
    file "$work/sound.raw"
    format "raw"
}
CONF
# No device at all.
: > "$work/no-sound.conf"
export ALSA_CONFIG_PATH="$work/alsa.conf"

cleanup() {
    if [ -n "${saver_job:-}" ] && kill -0 "$saver_job" 2>/dev/null; then
        WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    fi
}
trap cleanup EXIT

with_sound() { export ALSA_CONFIG_PATH="$work/alsa.conf"; }
without_sound() { export ALSA_CONFIG_PATH="$work/no-sound.conf"; }

# Starts the saver (or another .scr given with SCR=...) in the background with the given arguments.
saver_start() {
    rm -f "$work/exit"
    ("${wine_run[@]}" "${SCR:-$work/morrowmere.scr}" "$@" >"$work/out" 2>&1; echo $? >"$work/exit") &
    saver_job=$!
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
    for _ in $(seq $((seconds * 10))); do
        if [ -f "$work/exit" ]; then
            cat "$work/exit"
            return
        fi
        sleep 0.1
    done
    echo running
}

records() { tr -d '\r' <"$log" 2>/dev/null; }
# The records without the frame-rate value, which differs from run to run.
records_shape() { records | sed -E 's/^(   Notify : FPS = ).*/\1<rate>/'; }
probe() { "${wine_run[@]}" "$winprobe" "$@" 2>/dev/null | tr -d '\r'; }
reg() { "${wine_run[@]}" reg "$@" 2>&1 | tr -d '\r'; }
set_setting() { reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null; }
clear_settings() { reg delete 'HKLM\Software\Tovrelin' /f >/dev/null; }
stored_value() { reg query "$key" /v "$1" | awk -v name="$1" '$1 == name { print $3 }'; }
# Full-screen saver windows on the display ("Screen Saver" exactly: the search ignores case).
saver_window_count() {
    local count=0 window
    for window in $(xdotool search --name '^Screen Saver$' 2>/dev/null); do
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "Screen Saver" ] && count=$((count + 1))
    done
    echo "$count"
}

# Waits until the full-screen window is mapped on the display, so that input reaches it.
wait_for_visible_saver() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Screen Saver$' >/dev/null 2>&1 && { sleep 0.3; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits until the saver has started and its window is on the display.
wait_for_running_saver() {
    wait_for_record "Scene has been initialized successfully" && wait_for_visible_saver
}

# Counts the pure white and pure black pixels in the top-left tenth of a 1024 x 768 screen.
corner_colours() {
    import -display "$DISPLAY" -window root "$work/shot.png" 2>/dev/null
    local pixels
    pixels=$(convert "$work/shot.png" -crop 102x76+0+0 +repage txt:- 2>/dev/null)
    echo "white=$(grep -c '#FFFFFF' <<<"$pixels") black=$(grep -c '#000000' <<<"$pixels")"
}

normal_start_records() {
    printf '   Notify : %s\n' "Application has run" "Run looping thread" "Morrowmere screen saver. v2.0" \
        "Start common initialization" "SoundManager has been created" "Context for OpenGL has been created" \
        "GLEW initialized" "OpenGL 2.0 is found" "WGLEW_EXT_swap_control extension is found" \
        "VSYNC has been setted properly" "Video initialization has finished successfully" \
        "Start scene initialization" "Scene has been initialized successfully"
}
normal_end_records() {
    printf '   Notify : %s\n' "Start common uninstall" "Common uninstall has finished properly" "FPS = <rate>"
}
