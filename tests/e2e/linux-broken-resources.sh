#!/usr/bin/env bash
# Every embedded resource broken, on copies of the real program whose resource block the test
# patches in place (respatch): missing, truncated, a picture of the wrong size or with a bad header,
# a shader that does not compile or lacks its terminating NUL, a sample of an odd size. Every id and
# every kind of damage at least once, in as few starts as that takes: within a type every kind ends
# at the same return (pinned kind by kind by BitmapPixelsTest, EmbeddedResourcesTest, SoundLogicTest
# and ShaderProgramTest), while each id stops the start at a place of its own. Each start must stop
# where that resource is first used, with exactly the records of a failed start, the kept message on
# stderr, status 1 and no window left. With BROKEN_VALGRIND=all every case runs under valgrind
# (tests/soak); otherwise one case of each kind does, and none may leave a block of ours behind.
# Arguments: MORROWMERE TEST-BUILD XWINDOW WORK (see linux-lib.sh)
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"
respatch=$(dirname "$xwindow")/respatch
copy="$work/broken"

# broken WHAT KIND ID ACTION [ARGUMENTS...]: patches a fresh copy, runs it and expects $expected.
# The first case of each kind, or every case with BROKEN_VALGRIND=all, runs under valgrind.
declare -A checked_under_valgrind
broken() {
    local what=$1 kind=$2
    shift 2
    cp "$hack" "$copy"
    check "$what: the copy was patched" done "$("$respatch" "$copy" "$kind" "$@")"
    local report=""
    if [ "${BROKEN_VALGRIND:-}" = all ] || [ -z "${checked_under_valgrind[$kind]:-}" ]; then
        checked_under_valgrind[$kind]=1
        report="$work/memcheck-$kind-$1.txt"
        LP_NUM_THREADS=0 HACK=valgrind hack_start --leak-check=full --show-leak-kinds=all --num-callers=30 \
            --log-file="$report" "$copy" -window
    else
        HACK=$copy hack_start -window
    fi
    local status
    status=$(wait_for_exit 90)
    [ "$status" != running ] || kill -KILL "$hack_pid" 2>/dev/null
    check "$what: status 1" 1 "$status"
    check "$what: the kept message on stderr" "morrowmere: Error of initialization" "$(grep -v '^==' "$work/err")"
    check "$what: the records" "$expected" "$(records)"
    check "$what: no window left" "" "$(windows_named Morrowmere)"
    if [ -n "$report" ]; then
        check "$what: valgrind wrote its leak summary" 1 "$(grep -c 'LEAK SUMMARY\|All heap blocks were freed' "$report")"
        check "$what: no block of ours left (valgrind)" "" "$(our_leaks "$report")"
    fi
}
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

horizon=$(broken_start_records "Start initialization for the horizon image" 1 \
    "(!)Error : Horizon initialization is failed")
planet=$(broken_start_records "Start initialization for the formless planet" 1 \
    "(!)Error : FormlessPlanet initialization is failed")
expected=$horizon
broken "bitmap 123 missing" bitmap 123 delete
broken "bitmap 123 saying 16 x 16" bitmap 123 write 4 1000000010000000
expected=$planet
broken "bitmap 130 truncated to 1000 bytes" bitmap 130 size 1000
broken "bitmap 130 with a bad header" bitmap 130 write 0 "$(hex 'not a bitmap header at all')"

expected=$(broken_start_records "Start scene initialization" 1 "(!)Error : Can not create SceneSoundClass object")
broken "sample 132 missing" sample 132 delete
expected=$(broken_start_records "Start scene initialization" 1 "(!)Error : Can not create WingsSoundClass object")
broken "sample 133 of an odd size" sample 133 size 1001

# The three kinds in turn over the nine shaders, so that each kind meets vertex and fragment ones.
kinds=("missing|delete" "that does not compile|write 0 $(hex 'this is not a shader')00" \
       "without its terminating NUL|write -1 20")
turn=0
for id in $broken_shader_ids; do
    IFS='|' read -r kind action <<<"${kinds[turn++ % 3]}"
    expected=$(broken_shader_records "$id")
    # shellcheck disable=SC2086 # the action is its words
    broken "shader $id $kind" shader "$id" $action
done
finish
