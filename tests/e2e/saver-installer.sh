#!/usr/bin/env bash
# The Windows packages under Wine: the installer run silently puts the saver in the system folder,
# makes it the current screen saver and lists it among the installed programs; the installed saver
# runs full screen and opens its dialog from there, with its run log beside it; the silent
# uninstall takes all of it away and unsets the screen saver only when it is Morrowmere. The zip
# holds the bare saver and its text.
# Arguments: SETUP ZIP VERSION SCR WINPROBE WORK WINE-RUN PREFIX
# (On a virtual display of its own when there is none, before the first three are taken off.)
[ -n "${DISPLAY:-}" ] || exec "$(dirname "$0")/../../tools/with-xvfb" bash "$0" "$@"
setup=$1
zip=$2
version=$3
shift 3
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

system="$prefix/drive_c/windows/system32"
installed="$system/morrowmere.scr"
folder="$prefix/drive_c/Program Files/Morrowmere"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morrowmere'
desktop_key='HKCU\Control Panel\Desktop'
log="$system/morrowmere.log"

# Runs a program of the packages and waits until every process it started in the prefix is gone
# (the uninstaller goes on in a copy of itself after the first one ends).
run_to_end() {
    "${wine_run[@]}" "$@" >/dev/null 2>&1
    local status=$?
    WINEPREFIX="$prefix" wineserver -w
    echo "$status"
}
value() { reg query "$1" /v "$2" | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }'; }
key_exists() { reg query "$1" >/dev/null && echo yes || echo no; }
leftovers() {
    local found=()
    [ -e "$installed" ] && found+=("the saver")
    [ -e "$log" ] && found+=("its run log")
    [ -e "$folder" ] && found+=("its folder")
    [ "$(key_exists "$uninstall_key")" == yes ] && found+=("its uninstall entry")
    [ "$(key_exists 'HKLM\Software\Tovrelin')" == yes ] && found+=("its settings")
    echo "${found[*]:-none}"
}

# A machine where the screen saver has never been installed, with another one chosen.
run_to_end "$folder/uninstall.exe" /S >/dev/null
reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null
clear_settings

check "the silent install ends with 0" 0 "$(run_to_end "$setup" /S)"
check "the saver is in the 64-bit system folder, as built" same \
    "$(cmp -s "$installed" "$(dirname "$zip")/stage/morrowmere.scr" && echo same)"
check "it is the current screen saver" 'C:\windows\system32\morrowmere.scr' "$(value "$desktop_key" SCRNSAVE.EXE)"
check "screen saving is on" 1 "$(value "$desktop_key" ScreenSaveActive)"
check "the list of programs names it" "Morrowmere screen saver" "$(value "$uninstall_key" DisplayName)"
check "with its version" "$version" "$(value "$uninstall_key" DisplayVersion)"
check "and its maker" Tovrelin "$(value "$uninstall_key" Publisher)"
size=$(( $(value "$uninstall_key" EstimatedSize) ))
check "and its size in KiB" yes \
    "$([ "$size" -ge $(( $(stat -c %s "$installed") / 1024 )) ] && [ "$size" -lt 100000 ] && echo yes)"
check "and how to remove it silently" '"C:\Program Files\Morrowmere\uninstall.exe" /S' \
    "$(value "$uninstall_key" QuietUninstallString)"
# The version information that Windows shows in the files' properties.
version_of() { strings -el "$1" | grep -x -A1 "$2" | tail -1; }
check "the saver's version information" "Morrowmere $version Morrowmere screen saver" \
    "$(version_of "$installed" ProductName) $(version_of "$installed" ProductVersion) $(version_of "$installed" FileDescription)"
check "the installer's version information" "Morrowmere $version" \
    "$(version_of "$setup" ProductName) $(version_of "$setup" ProductVersion)"

SCR='C:\windows\system32\morrowmere.scr' saver_start /s
wait_for_running_saver
check "the installed saver runs full screen" 1 "$(saver_window_count)"
xdotool key a
check "a key closes it with exit code 0" 0 "$(wait_for_exit)"
check "its run log is beside it, with the records of a normal run" \
    "$(normal_start_records; normal_end_records)" "$(records_shape)"
SCR='C:\windows\system32\morrowmere.scr' saver_start /c
probe dialog click 117 >/dev/null
probe dialog click 1 >/dev/null
check "its dialog opens and OK stores the settings" "1 1" "$(wait_for_exit) $(stored_value EnableFPS)"

check "the silent uninstall ends with 0" 0 "$(run_to_end "$folder/uninstall.exe" /S)"
check "nothing of it is left" none "$(leftovers)"
check "the screen saver is unset" "" "$(value "$desktop_key" SCRNSAVE.EXE)"

# Another screen saver chosen after the install stays chosen.
run_to_end "$setup" /S >/dev/null
reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d 'C:\windows\system32\other.scr' /f >/dev/null
run_to_end "$folder/uninstall.exe" /S >/dev/null
check "an uninstall keeps another chosen screen saver" 'C:\windows\system32\other.scr' \
    "$(value "$desktop_key" SCRNSAVE.EXE)"
check "and leaves nothing of Morrowmere" none "$(leftovers)"
reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null

mkdir -p "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
check "the zip holds the bare saver and its text" "Install.txt morrowmere.scr" "$(cd "$work/zip" && echo *)"
check "the bare saver is the installed one" same \
    "$(cmp -s "$work/zip/morrowmere.scr" "$(dirname "$zip")/stage/morrowmere.scr" && echo same)"
check "the text says how to install it, in Windows' line ends" yes \
    "$(grep -q 'right-click morrowmere.scr and choose "Install"' "$work/zip/Install.txt" &&
       [ "$(grep -c $'\r$' "$work/zip/Install.txt")" -eq "$(wc -l <"$work/zip/Install.txt")" ] && echo yes)"
finish
