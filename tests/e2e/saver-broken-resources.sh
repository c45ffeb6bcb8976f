#!/usr/bin/env bash
# Every resource broken, on copies of the real .scr whose resources the test edits with the system's
# resource update functions (resedit): missing, truncated, a picture of the wrong size or with a bad
# header, a shader that does not compile or lacks its terminating NUL, a sample of an odd size.
# Every id and every kind of damage at least once, in as few starts as that takes: within a type
# every kind ends at the same return (pinned kind by kind by BitmapPixelsTest,
# EmbeddedResourcesTest, SoundLogicTest and ShaderProgramTest), while each id stops the start at a
# place of its own. Each full-screen start must stop where that resource is first used, with exactly
# the records of a failed start, the box with the kept message, and a clean exit. The settings
# dialog and its two pictures are broken the same way.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"
resedit=$(dirname "$winprobe")/resedit.exe
# No saver of an earlier run may hold the one full-screen place.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
clear_settings
with_sound
windows_path() { echo "Z:${1//\//\\}"; }
copy="$work/broken.scr"
log="$work/broken.log"
# resedit TYPE ID ACTION [FILE] on the copy.
resedit() {
    "${wine_run[@]}" "$resedit" "$(windows_path "$copy")" "$1" "$2" "$3" ${4:+"$(windows_path "$4")"} 2>/dev/null |
        tr -d '\r'
}

# broken WHAT TYPE ID ACTION [FILE]: breaks a fresh copy, runs it full screen and expects $expected.
broken() {
    local what=$1 type=$2 id=$3 action=$4 file=${5:-}
    cp "$work/morrowmere.scr" "$copy"
    check "$what: the copy was edited" done "$(resedit "$type" "$id" "$action" "$file")"
    SCR="$copy" saver_start /s
    local box
    box=$(probe messagebox 30)
    check "$what: the box with the kept message" "text=Error of initialization" "$(grep '^text=' <<<"$box" || echo "the probe said: $box")"
    local status
    status=$(wait_for_exit)
    [ "$status" != running ] || WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    check "$what: a clean exit" 0 "$status"
    check "$what: the records" "$expected" "$(records)"
}

# The original bytes of a resource.
original() {
    cp "$work/morrowmere.scr" "$copy"
    resedit "$1" "$2" save "$work/$2.bin" >/dev/null
    echo "$work/$2.bin"
}
truncated() { head -c "$(($(stat -c %s "$1") / 2))" "$1" >"$1.half" && echo "$1.half"; }

# Pictures: missing, truncated, another size (the header says 16 x 16), a header that is no header.
small() { { head -c 4 "$1"; printf '\x10\x00\x00\x00\x10\x00\x00\x00'; tail -c +13 "$1"; } >"$1.small" && echo "$1.small"; }
no_header() { { printf 'not a bitmap header at all'; tail -c +27 "$1"; } >"$1.header" && echo "$1.header"; }
expected=$(broken_start_records "Start initialization for the horizon image" 1 "(!)Error : Horizon initialization is failed")
bytes=$(original BITMAP 123)
broken "bitmap 123 missing" BITMAP 123 delete
broken "bitmap 123 16 x 16" BITMAP 123 replace "$(small "$bytes")"
expected=$(broken_start_records "Start initialization for the formless planet" 1 \
    "(!)Error : FormlessPlanet initialization is failed")
bytes=$(original BITMAP 130)
broken "bitmap 130 truncated" BITMAP 130 replace "$(truncated "$bytes")"
broken "bitmap 130 with a bad header" BITMAP 130 replace "$(no_header "$bytes")"

# Samples: missing, and of an odd size (not whole 16-bit samples).
expected=$(broken_start_records "Start scene initialization" 1 "(!)Error : Can not create SceneSoundClass object")
broken "sample 132 missing" SoundSamples 132 delete
expected=$(broken_start_records "Start scene initialization" 1 "(!)Error : Can not create WingsSoundClass object")
bytes=$(original SoundSamples 133)
head -c 1001 "$bytes" >"$bytes.odd"
broken "sample 133 of an odd size" SoundSamples 133 replace "$bytes.odd"

# Shaders: missing, not compiling, without their terminating NUL; the three kinds in turn over the
# nine shaders, so that each kind meets vertex and fragment ones.
printf 'this is not a shader\0' >"$work/not-a-shader"
turn=0
for id in $broken_shader_ids; do
    expected=$(broken_shader_records "$id")
    case $((turn++ % 3)) in
    0) broken "shader $id missing" Shaders "$id" delete ;;
    1) broken "shader $id that does not compile" Shaders "$id" replace "$work/not-a-shader" ;;
    2)
        bytes=$(original Shaders "$id")
        head -c "$(($(stat -c %s "$bytes") - 1))" "$bytes" >"$bytes.open"
        broken "shader $id without its terminating NUL" Shaders "$id" replace "$bytes.open"
        ;;
    esac
done

# The settings dialog: without its template the configuration mode ends at once with -1; without
# a picture the dialog still opens, with an empty frame in its place.
cp "$work/morrowmere.scr" "$copy"
check "dialog 2003 missing: the copy was edited" done "$(resedit DIALOG 2003 delete)"
SCR="$copy" saver_start /c
check "dialog 2003 missing: configuration ends with -1" 255 "$(wait_for_exit)"
check "dialog 2003 missing: only the first record" "   Notify : Application has run" "$(records)"
for id in 116 120; do
    cp "$work/morrowmere.scr" "$copy"
    check "bitmap $id missing: the copy was edited" done "$(resedit BITMAP "$id" delete)"
    SCR="$copy" saver_start /c
    check "bitmap $id missing: the dialog opens with the settings" "$(printf 'fps=0\nvsync=1\nsound=1\nscale=100\nscale-text=100%%\nmonitors=0')" \
        "$(probe dialog state)"
    probe dialog close >/dev/null
    check "bitmap $id missing: the close box ends it with 1" 1 "$(wait_for_exit)"
done
finish
