# Shared by the Linux port's end-to-end tests. Each test has a folder of its own that holds its
# settings file, its run log and what the program printed, and runs on the display of the test
# run (a virtual one of its own when there is none). The script's arguments: MORROWMERE TEST-BUILD
# XWINDOW WORK DISCSIZE (the test build is morrowmere-slow-start: its scene starts 3 seconds late
# and fails; discsize measures the planet in a picture, disc.sh)
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
. "$(dirname "${BASH_SOURCE[0]}")/run-common.sh"
. "$(dirname "${BASH_SOURCE[0]}")/disc.sh"

on_a_display "$@"

hack=$1
test_hack=$2
xwindow=$3
work=$4
DISCSIZE=${5:-}
fresh_work "$work"
mkdir -p "$work/config" "$work/state"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
log="$work/state/morrowmere/morrowmere.log"
settings="$work/config/Tovrelin/Morrowmere screen saver.conf"
unset XSCREENSAVER_WINDOW

cleanup() {
    # A run that a failed check left behind (its exit status not yet written).
    [ -n "${hack_pid:-}" ] && [ ! -f "$work/exit" ] && kill -KILL "$hack_pid" 2>/dev/null
    [ -n "${hack_job:-}" ] && kill -KILL "$hack_job" 2>/dev/null
    [ -n "${helper_pid:-}" ] && kill "$helper_pid" 2>/dev/null
    sound_server_stop
    true
}
trap cleanup EXIT

# Starts the program (or the one in HACK=...) in the background; its output goes to "$work/out"
# and "$work/err", its exit status to "$work/exit". The previous run's log goes first (unless
# KEEP_LOG=1), so that waiting for a record waits for this run.
hack_start() {
    rm -f "$work/exit"
    [ -n "${KEEP_LOG:-}" ] || rm -f "$log"
    ("${HACK:-$hack}" "$@" >"$work/out" 2>"$work/err" &
     hack_pid=$!
     echo "$hack_pid" >"$work/pid"
     wait "$hack_pid"
     echo $? >"$work/exit.new" && mv "$work/exit.new" "$work/exit") &
    hack_job=$!
    for _ in $(seq 50); do
        [ -s "$work/pid" ] && break
        sleep 0.1
    done
    hack_pid=$(cat "$work/pid")
    rm -f "$work/pid"
}

set_setting() {
    mkdir -p "$(dirname "$settings")"
    grep -v "^$1=" "$settings" 2>/dev/null >"$work/settings.new"
    echo "$1=$2" >>"$work/settings.new"
    mv "$work/settings.new" "$settings"
}

# The program's own window, once it is on the screen.
own_window() {
    for _ in $(seq 100); do
        local window
        window=$(xdotool search --onlyvisible --name '^Morrowmere$' 2>/dev/null | head -1)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.1
    done
    return 1
}

# wait_for_frames [SECONDS]: waits until the run has started and its frames show the sky (in the
# top-left part of the screen, where the program's own window and the tests' windows lie), up to
# SECONDS (20) for each.
wait_for_frames() {
    local seconds=${1:-20}
    wait_for_record "Scene has been initialized successfully" "$seconds" &&
        [ "$(eventually "$seconds" yes picture_in 100x50+150+60)" == yes ]
}

# expect_frames WHAT [SECONDS]: waits for the run's frames, and ends the test at once, failed as
# WHAT, when they do not come (every later check would fail for this one reason under another name).
expect_frames() {
    wait_for_frames "${2:-20}" && return 0
    check "$1: the run starts and shows its frames" "frames shown" \
        "no frames; last record: $(records | tail -1); stderr: $(cat "$work/err" 2>/dev/null)"
    finish
    exit 1
}

# A window of the test's own (tests/e2e/XWindow.cpp), driven through a coprocess.
helper_start() {
    coproc HELPER { "$xwindow"; }
    helper_pid=$HELPER_PID
    read -r helper_window <&"${HELPER[0]}"
    check "the test's window was made" yes "$([ -n "$helper_window" ] && echo yes)"
}
helper() {
    echo "$*" >&"${HELPER[1]}"
    local answer
    read -r answer <&"${HELPER[0]}"
    echo "$answer"
}

# Whether any process of the program is still there.
hack_alive() { kill -0 "$hack_pid" 2>/dev/null && echo yes || echo no; }

# The blocks of a valgrind report left at exit that our code allocated: a record is ours when the
# first frame below the allocator is in one of our source files.
our_leaks() {
    awk '
        / (lost|still reachable) in loss record / { record = 1; allocator = 0; next }
        record && /^==[0-9]+== +at / { allocator = 1; next }
        record && allocator && /^==[0-9]+== +by / {
            if ($0 ~ /\([A-Za-z0-9]+\.(cpp|h):[0-9]+\)/) print
            record = 0
        }' "$1"
}

# The real XScreenSaver daemon refuses to run as root: it runs as a throwaway user in a home of the
# test's own. daemon_home makes that home (`home`) and sets the exit trap that ends the daemon and
# removes the user and the home; the caller puts its files there, then calls throwaway_user NAME
# "$home". in_home runs a command as that user in that home; daemon_start starts the daemon (its
# output in "$home/daemon.log"); daemon_command ARGS... prints "done" once the daemon took the
# command; daemon_said TEXT counts the lines of its output with TEXT.
daemon_home() {
    home=$(mktemp -d /tmp/morrowmere-daemon.XXXXXX)
    chmod 755 "$home"
    trap daemon_cleanup EXIT
}
daemon_cleanup() {
    [ -n "${daemon:-}" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
    pkill -KILL -f "$home/" 2>/dev/null
    throwaway_user_gone
    # What the daemon said stays with the test's results.
    cp "$home/daemon.log" "$work/" 2>/dev/null
    rm -rf "$home"
    cleanup
}
in_home() {
    "${as_user[@]}" env HOME="$home" XDG_STATE_HOME="$home/state" XDG_CONFIG_HOME="$home/config" "$@"
}
daemon_start() {
    in_home xscreensaver -no-splash -verbose >"$home/daemon.log" 2>&1 &
    daemon=$!
}
daemon_command() { in_home xscreensaver-command "$@" >/dev/null 2>&1 && echo done; }
daemon_said() { grep -c -- "$1" "$home/daemon.log"; }
