# Shared by the Windows saver's end-to-end tests. Each test runs the .scr from a folder of its own,
# so its run log lands there, under the build's Wine prefix on the display of the test run.
# The script's arguments: SCR WINPROBE WORK WINE-RUN PREFIX
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
. "$(dirname "${BASH_SOURCE[0]}")/run-common.sh"

on_a_display "$@"

scr=$1
winprobe=$2
work=$3
shift 3
wine_run=("$@")
prefix=${wine_run[-1]}
key='HKLM\Software\Tovrelin\Morrowmere screen saver'

fresh_work "$work"
log="$work/morrowmere.log"
cp "$scr" "$work/morrowmere.scr"
# A sound device for Wine's DirectSound.
alsa_file_device "$work/sound.raw" >"$work/alsa.conf"
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
# The previous run's log (at $log) goes first, so that waiting for a record waits for this run.
saver_start() {
    rm -f "$work/exit" "$log"
    # Every start's arguments, status and what Wine said (its errors) stay in starts.out, so that a
    # start that ended oddly in a long test can be read after it.
    (WINEDEBUG=-all,err+all "${wine_run[@]}" "${SCR:-$work/morrowmere.scr}" "$@" >"$work/out" 2>&1
     status=$?
     { echo "== ${SCR:-morrowmere.scr} $* -> $status"; cat "$work/out"; } >>"$work/starts.out"
     echo $status >"$work/exit.new" && mv "$work/exit.new" "$work/exit") &
    saver_job=$!
}

# What Wine says of each probe goes to probes.err. A look for the message box that ends without a
# word (the probe prints "messagebox=none" when none came; Wine on a loaded machine once ended it
# before that) looks again: the box, if up, is still there, not yet answered.
probe() {
    local said
    said=$("${wine_run[@]}" "$winprobe" "$@" 2>>"$work/probes.err" | tr -d '\r')
    if [ -z "$said" ] && [ "$1" == messagebox ]; then
        echo "== probe $* said nothing: looked again" >>"$work/probes.err"
        said=$("${wine_run[@]}" "$winprobe" "$@" 2>>"$work/probes.err" | tr -d '\r')
    fi
    [ -z "$said" ] || echo "$said"
}
reg() { "${wine_run[@]}" reg "$@" 2>&1 | tr -d '\r'; }
set_setting() { reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null; }
clear_settings() { reg delete 'HKLM\Software\Tovrelin' /f >/dev/null; }
stored_value() { reg query "$key" /v "$1" | awk -v name="$1" '$1 == name { print $3 }'; }
# Full-screen saver windows on the display ("Screen Saver" exactly, not the box "Screen saver").
saver_window_count() {
    local windows
    windows=$(windows_named "Screen Saver")
    case "$windows" in
    "probe failed"*) echo "$windows" ;;
    "") echo 0 ;;
    *) wc -l <<<"$windows" ;;
    esac
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

# Proof that the full-screen window has handled every message posted to it so far: a WM_SETICON
# posted after them, which the saver leaves to the system and Wine answers by giving the X window a
# new icon pixmap (its WM_HINTS change). Two in turn, so that a message that one of the earlier
# ones posted in its turn (a WM_CLOSE) has been handled too. Prints "handled", or what failed.
posted_messages_handled() {
    local window hints round
    window=$(windows_named "Screen Saver" | head -1)
    [[ "$window" =~ ^[0-9]+$ ]] || { echo "no full-screen window: $window"; return; }
    for round in first second; do
        hints=$(xprop -id "$window" WM_HINTS 2>/dev/null)
        # WM_SETICON, ICON_BIG, no icon of its own.
        [ "$(probe post 0x80 1 0)" = posted=1 ] || { echo "the $round icon message could not be posted"; return; }
        [ "$(eventually 20 changed icon_changed "$window" "$hints")" = changed ] ||
            { echo "the $round icon message was not handled"; return; }
    done
    echo handled
}
# "changed" once the window's WM_HINTS name another icon pixmap than HINTS did.
icon_changed() {
    local now
    now=$(xprop -id "$1" WM_HINTS 2>/dev/null)
    grep -q 'bitmap id # to use for icon' <<<"$now" && [ "$now" != "$2" ] && echo changed || echo same
}


