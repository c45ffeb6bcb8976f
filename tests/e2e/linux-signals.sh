#!/usr/bin/env bash
# The Linux port ends on SIGTERM, SIGINT and SIGHUP with its whole teardown, and quickly, and then by that
# signal (status 128 + its number), as a parent that sent it expects; a signal during start-up
# shows no message. The test build's scene starts 3 seconds late and fails without its sky. The
# real XScreenSaver daemon runs it and switches to another hack.
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

for signal in TERM INT HUP; do
    number=$(kill -l "$signal")
    hack_start -window
    wait_for_frames
    start=$(date +%s%N)
    kill "-$signal" "$hack_pid"
    status=$(wait_for_exit 5)
    elapsed=$((($(date +%s%N) - start) / 1000000))
    check "SIG$signal ends it by that signal" $((128 + number)) "$status"
    check "SIG$signal ends it within a second" yes \
        "$([ "$elapsed" -lt 1000 ] && echo yes || echo "no: $elapsed ms")"
    check "SIG$signal: the records of a normal run, in order" "$(normal_start_records; normal_end_records)" \
        "$(records_shape)"
    check "SIG$signal: no process is left" no "$(hack_alive)"
    check "SIG$signal: its window is gone" "" "$(windows_named Morrowmere)"
done

HACK=$test_hack hack_start -window
wait_for_record "Start scene initialization"
kill -TERM "$hack_pid"
check "SIGTERM during start-up ends it by that signal" 143 "$(wait_for_exit 10)"
check "no message is printed" "" "$(cat "$work/err")"
check "the start-up ran to its end, then the teardown" \
    "$(printf '%s\n' "(!)Error : Horizon initialization is failed" \
        "   Notify : Error of common initialization"; normal_end_records | sed 's/<rate>/-1/')" \
    "$(records | tail -5)"

# The daemon refuses to run as root: then it runs as a throwaway user of the test's own, and the
# hack and the daemon's files lie where that user can reach them.
daemon_home
cp "$hack" "$home/morrowmere"
# A stand-in that ends with status 0 on SIGTERM, as the port did: what the daemon calls abnormal.
printf '#!/bin/sh\ntrap "exit 0" TERM\nwhile :; do sleep 0.1; done\n' >"$home/ends-with-0"
chmod 755 "$home/ends-with-0"
printf '%s\n' "timeout: 0:30:00" "lock: False" "fade: False" "unfade: False" "splash: False" "mode: one" \
    "selected: 0" "programs: \"Morrowmere\" $home/morrowmere -root \\n\\" \
    "  \"Ends with 0\" $home/ends-with-0 \\n" >"$home/.xscreensaver"
throwaway_user morrowmere-daemon-test "$home"
daemon_start
log="$home/state/morrowmere/morrowmere.log"
check "the daemon answers" done "$(eventually 20 done daemon_command -version)"
check "it starts the port" done "$(daemon_command -activate)"
check "the port's scene is up" yes "$(wait_for_record "Scene has been initialized successfully" && echo yes)"
check "the daemon switches to another hack" done "$(daemon_command -select 2)"
check "the daemon saw the port end by SIGTERM" 1 \
    "$(eventually 30 1 daemon_said "($home/morrowmere) exited normally with SIGTERM")"
check "the port's run ended with its whole teardown" "$(normal_end_records)" \
    "$(records_shape | tail -"$(normal_end_records | wc -l)")"
check "and back: the daemon calls the stand-in's status 0 abnormal" done "$(daemon_command -select 1)"
check "the daemon saw the stand-in end with status 0" 1 \
    "$(eventually 30 1 daemon_said "($home/ends-with-0) exited abnormally with status 0")"
check "the daemon called no end of the port abnormal" 0 "$(daemon_said "morrowmere) exited abnormally")"
daemon_command -exit >/dev/null
finish
