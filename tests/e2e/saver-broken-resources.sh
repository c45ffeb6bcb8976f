#!/usr/bin/env bash
# Every resource broken in turn, on copies of the real .scr whose resources the test edits with the
# system's resource update functions (resedit): missing, truncated, a picture of the wrong size or
# with a bad header, a shader that does not compile or lacks its terminating NUL, a sample of an
# odd size. Each full-screen start must stop where that resource is first used, with exactly the
# records of a failed start, the box with the kept message, and a clean exit. The settings dialog
# and its two pictures are broken the same way.
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
    check "$what: the box with the kept message" "text=Error of initialization" "$(grep '^text=' <<<"$box")"
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
for picture in "123|horizon image|Horizon" "130|formless planet|FormlessPlanet"; do
    IFS='|' read -r id start object <<<"$picture"
    expected=$(broken_start_records "Start initialization for the $start" 1 "(!)Error : $object initialization is failed")
    bytes=$(original BITMAP "$id")
    broken "bitmap $id missing" BITMAP "$id" delete
    broken "bitmap $id truncated" BITMAP "$id" replace "$(truncated "$bytes")"
    { head -c 4 "$bytes"; printf '\x10\x00\x00\x00\x10\x00\x00\x00'; tail -c +13 "$bytes"; } >"$bytes.small"
    broken "bitmap $id 16 x 16" BITMAP "$id" replace "$bytes.small"
    { printf 'not a bitmap header at all'; tail -c +27 "$bytes"; } >"$bytes.header"
    broken "bitmap $id with a bad header" BITMAP "$id" replace "$bytes.header"
done

# Samples: missing, and of an odd size (not whole 16-bit samples).
for sample in "132 SceneSoundClass" "133 WingsSoundClass"; do
    read -r id object <<<"$sample"
    expected=$(broken_start_records "Start scene initialization" 1 "(!)Error : Can not create $object object")
    bytes=$(original SoundSamples "$id")
    broken "sample $id missing" SoundSamples "$id" delete
    head -c 1001 "$bytes" >"$bytes.odd"
    broken "sample $id of an odd size" SoundSamples "$id" replace "$bytes.odd"
done

# Shaders: missing, not compiling, without their terminating NUL.
printf 'this is not a shader\0' >"$work/not-a-shader"
for id in $broken_shader_ids; do
    expected=$(broken_shader_records "$id")
    bytes=$(original Shaders "$id")
    broken "shader $id missing" Shaders "$id" delete
    broken "shader $id that does not compile" Shaders "$id" replace "$work/not-a-shader"
    head -c "$(($(stat -c %s "$bytes") - 1))" "$bytes" >"$bytes.open"
    broken "shader $id without its terminating NUL" Shaders "$id" replace "$bytes.open"
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
    check "bitmap $id missing: the dialog opens with the settings" "$(printf 'fps=0\nvsync=1\nsound=1')" \
        "$(probe dialog state)"
    probe dialog close >/dev/null
    check "bitmap $id missing: the close box ends it with 1" 1 "$(wait_for_exit)"
done
finish
