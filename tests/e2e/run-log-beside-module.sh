#!/usr/bin/env bash
# The run log of a Windows module lies beside it, named after it with "log" for its last three
# characters, in text mode, truncated at every start. A module path that does not fit the 200-byte
# buffer gives a silent run: no file at all rather than one at a cut-short path.
# Usage: run-log-beside-module.sh PROBE.exe WORK-FOLDER WINE-RUN PREFIX
set -uo pipefail
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/run-common.sh"
probe=$1
shift
fresh_work "$1"
shift
wine_run=("$@")

# Wine shows the Unix path /a/b as Z:\a\b.
windows_length() { echo $((2 + ${#1})); }

# A folder under $work whose module path "<folder>/Morrowmere.scr" has exactly $1 characters.
folder_for_length() {
    local base="$work/len$1" name=Morrowmere.scr
    local fill=$(($1 - $(windows_length "$base/x/$name") + 1))
    local folder="$base/$(printf '%*s' "$fill" '' | tr ' ' d)"
    mkdir -p "$folder"
    cp "$probe" "$folder/$name"
    echo "$folder"
}

expected_log=$(printf '%s\r\n' \
    "   Notify : Application has run" \
    "   Notify : Run looping thread" \
    "(!)Error : SoundManager initialization is failed" \
    "   Notify : Error of common initialization" \
    "   Notify : FPS = -1" | od -c)
kept="kept=Sorry, this application requires DirectX 8.0 or later"

short="$work/short"
mkdir -p "$short"
cp "$probe" "$short/Morrowmere.scr"
check "records in order, text mode line breaks" "silent=0 $kept" \
    "$("${wine_run[@]}" "$short/Morrowmere.scr" log | tr -d '\r')"
check "log beside the module" "$expected_log" "$(od -c < "$short/Morrowmere.log")"
"${wine_run[@]}" "$short/Morrowmere.scr" log >/dev/null
check "a second run truncates the first run's log" "$expected_log" "$(od -c < "$short/Morrowmere.log")"

fits=$(folder_for_length 199)
check "a 199-character module path fits the buffer" "$(windows_length "$fits/Morrowmere.scr")" 199
check "199 characters: logged" "silent=0 $kept" "$("${wine_run[@]}" "$fits/Morrowmere.scr" log | tr -d '\r')"
check "199 characters: log beside the module" "$expected_log" "$(od -c < "$fits/Morrowmere.log")"

for length in 200 230; do
    folder=$(folder_for_length $length)
    check "$length characters: silent, message still kept" "silent=1 $kept" \
        "$("${wine_run[@]}" "$folder/Morrowmere.scr" log | tr -d '\r')"
    check "$length characters: no file written anywhere" "Morrowmere.scr" \
        "$(find "$work/len$length" -type f -printf '%f\n')"
done
finish
