#!/usr/bin/env bash
# The Linux port when what it runs on goes away: the X server ends under it (ten times, since the
# end races with the drawing thread), and the sound output's reader goes away while it plays. It
# ends at once with status 1 and one line on stderr, or keeps running silently; never a crash or
# a hang. (The window destroyed under it is in linux-window-id.sh.)
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

# server_start: an X server of its own, `server` its pid and `display` its number. The number comes
# on a descriptor of its own (as tools/with-xvfb has it), apart from anything the server prints; it
# is complete with its line end, and a loaded machine may take seconds. A server that gives none
# is started again (once, on a busy machine, the saver was given no number: "cannot open the
# display :").
server_start() {
    local tries
    for tries in 1 2 3; do
        : >"$work/display"
        Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
        server=$!
        for _ in $(seq 200); do
            display=$(grep -m1 -x '[0-9]\+' "$work/display") && return
            kill -0 "$server" 2>/dev/null || break
            sleep 0.1
        done
        kill "$server" 2>/dev/null
        wait "$server" 2>/dev/null
    done
}

for run in $(seq 10); do
    server_start
    DISPLAY=":$display" hack_start -window
    wait_for_record "Scene has been initialized successfully" >/dev/null
    sleep 0.$((RANDOM % 10))
    kill -KILL "$server"
    wait "$server" 2>/dev/null
    # It ends at once (_exit): the 20 s tell a hang from a process that a busy machine is slow to
    # take down (5 s were once too few).
    status=$(wait_for_exit 20)
    [ "$status" != running ] || kill -KILL "$hack_pid" 2>/dev/null
    check "display gone ($run): status 1, one line on stderr" \
        "1 morrowmere: the connection to the display was lost" "$status $(cat "$work/err")"
done

# OpenAL Soft's wave writer into a pipe whose reader the test ends once the frames show. The next
# write fails (with SIGPIPE, which would end a program that does not ignore it); OpenAL Soft says
# so on stderr and goes on without the device.
mkfifo "$work/sound"
printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$work/sound" >"$work/alsoft.conf"
cat "$work/sound" >/dev/null &
reader=$!
trap 'kill "$reader" 2>/dev/null; cleanup' EXIT
ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave hack_start -window
expect_frames "sound output gone"
kill "$reader"
wait "$reader" 2>/dev/null
write_failed() { grep -q 'Error writing to file' "$work/err" && echo yes || echo no; }
check "sound output gone: a write to the pipe fails" yes "$(eventually 20 yes write_failed)"
check "sound output gone: it keeps running" running "$(wait_for_exit 0)"
kill -TERM "$hack_pid"
check "sound output gone: SIGTERM ends it" 143 "$(wait_for_exit 5)"
check "sound output gone: the records of a normal run" "$(normal_start_records; normal_end_records)" \
    "$(records_shape)"
finish
