#!/usr/bin/env bash
# The Debian package on this machine, built from debian/ by dpkg-buildpackage: lintian (pedantic)
# finds nothing wrong with it; apt-get installs it with
# its dependencies; the installed hack renders, is listed in the system's XScreenSaver settings
# (again after XScreenSaver's files change) and has its manual page; removing it leaves nothing of
# it and XScreenSaver's settings as they were.
# Arguments: DEB MORROWMERE TEST-BUILD XWINDOW WORK
# (On a virtual display of its own when there is none, before the first one is taken off.)
[ -n "${DISPLAY:-}" ] || exec "$(dirname "$0")/../../tools/with-xvfb" bash "$0" "$@"
deb=$(realpath "$1")
shift
set -uo pipefail
. "$(dirname "$0")/linux-lib.sh"

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
apt() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q --no-install-recommends "$@" >>"$work/apt.log" 2>&1; }
installed() { dpkg-query -W -f='${Status}' morrowmere 2>/dev/null | grep -q 'install ok installed' && echo yes || echo no; }
# Read whole first: grep -q would end the pipe early, and pipefail would count appres's SIGPIPE.
listed() { [[ "$(appres XScreenSaver)" == *"morrowmere --root"* ]] && echo yes || echo no; }
app_defaults=/etc/X11/app-defaults/XScreenSaver-gl
hack=/usr/libexec/xscreensaver/morrowmere

check "lintian, pedantic, finds nothing" "" \
    "$(lintian --pedantic --fail-on error,warning,pedantic "$deb" 2>/dev/null | grep -E '^(E|W|P): ')"
[ "$(installed)" == no ] || apt purge morrowmere
before=$(md5sum <"$app_defaults")

check "apt-get installs it" 0 "$(apt install "$deb"; echo $?)"
check "it is installed" yes "$(installed)"
files=$(dpkg -L morrowmere)
check "the hack is among XScreenSaver's" yes "$([ -x "$hack" ] && echo yes)"
check "its settings description is where XScreenSaver reads them" yes \
    "$([ -f /usr/share/xscreensaver/config/morrowmere.xml ] && echo yes)"
check "XScreenSaver's settings list it" yes "$(listed)"
check "its manual page names its options" yes \
    "$([[ "$(man -P cat 6 morrowmere 2>/dev/null)" == *"-window-id"*"-fullscreen"* ]] && echo yes)"
check "its desktop entry starts it full screen" "Exec=/usr/libexec/xscreensaver/morrowmere -fullscreen" \
    "$(grep '^Exec=' /usr/share/applications/morrowmere.desktop 2>/dev/null)"
# What XScreenSaver's own package does when it is installed or upgraded after this one.
"${sudo[@]}" /usr/share/morrowmere/listing remove
"${sudo[@]}" dpkg-trigger --no-await /etc/X11/app-defaults
"${sudo[@]}" dpkg --triggers-only --pending >>"$work/apt.log" 2>&1
check "a change to XScreenSaver's files lists it again" yes "$(listed)"

HACK=$hack hack_start -window
wait_for_frames
check "the installed hack renders the scene" "#7E7E7E" "$(eventually 10 "#7E7E7E" only_colour 200x50+400+500)"
kill -TERM "$hack_pid"
check "and SIGTERM ends it" 143 "$(wait_for_exit 5)"
check "with the records of a normal run" "$(normal_start_records; normal_end_records)" "$(records_shape)"

check "apt-get removes it" 0 "$(apt remove morrowmere; echo $?)"
check "it is gone" no "$(installed)"
check "none of its files is left" "" "$(while read -r file; do
    [ -f "$file" ] && echo "$file"; done <<<"$files")"
check "XScreenSaver's settings are as they were" "$before" "$(md5sum <"$app_defaults")"
check "and no longer list it" no "$(listed)"
finish
