#!/usr/bin/env bash
# The Debian package on this machine, built from debian/ by dpkg-buildpackage: lintian (pedantic)
# finds nothing wrong with it; apt-get installs it with its dependencies, and says that each user
# lists it with one command; XScreenSaver's own files stay as their packages installed them; the
# installed hack renders and has its manual page; a user's command lists it in that user's
# settings, after the system's hacks and without losing the user's own, and the real daemon runs
# it from there; removing it leaves only its configuration, and purging it nothing. The settings
# window's package passes lintian too, installs beside it and draws its preview, and the saver's
# package needs no toolkit.
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
hack=/usr/libexec/xscreensaver/morrowmere
listing=/usr/share/morrowmere/listing
# What dpkg finds changed in the files of XScreenSaver's packages (their app-defaults among them).
xscreensaver_changed() { dpkg --verify xscreensaver-gl xscreensaver-data 2>&1; }

settings_deb=$(dirname "$deb")/$(basename "$deb" | sed 's/^morrowmere_/morrowmere-settings_/')
check "lintian, pedantic, finds nothing in either package" "" \
    "$(lintian --pedantic --fail-on error,warning,pedantic "$deb" "$settings_deb" 2>/dev/null | grep -E '^(E|W|P): ')"
check "the saver's package needs no toolkit" "" "$(dpkg-deb -f "$deb" Depends | grep -oE 'libgtk[^,]*|libadwaita[^,]*')"
[ "$(installed)" == no ] || apt purge morrowmere morrowmere-settings

check "apt-get installs it" 0 "$(apt install "$deb"; echo $?)"
check "it is installed" yes "$(installed)"
check "and says that each user lists it with one command" 1 \
    "$(tr -d '\r' <"$work/apt.log" | grep -cx "    $listing add")"
check "XScreenSaver's files are as its packages installed them" "" "$(xscreensaver_changed)"
files=$(dpkg -L morrowmere)
check "the hack is among XScreenSaver's" yes "$([ -x "$hack" ] && echo yes)"
check "its settings description is where XScreenSaver reads them" yes \
    "$([ -f /usr/share/xscreensaver/config/morrowmere.xml ] && echo yes)"
check "its manual page names its options" yes \
    "$([[ "$(man -P cat 6 morrowmere 2>/dev/null)" == *"-window-id"*"-fullscreen"* ]] && echo yes)"
check "its desktop entry starts it full screen" "Exec=/usr/libexec/xscreensaver/morrowmere -fullscreen" \
    "$(grep '^Exec=' /usr/share/applications/morrowmere.desktop 2>/dev/null)"
check "the icon it names is in the icon theme" "Icon=morrowmere yes" "$(grep '^Icon=' /usr/share/applications/morrowmere.desktop)\
 $([ -s /usr/share/icons/hicolor/scalable/apps/morrowmere.svg ] && echo yes)"
# Plasma and other systemd sessions start autostart entries through systemd's generator, which
# skips an entry with a startup phase.
generated() {
    local units=$work/units
    rm -rf "$units" && mkdir "$units" &&
        XDG_CONFIG_HOME=$work/none /usr/lib/systemd/user-generators/systemd-xdg-autostart-generator \
            "$units" "$units" "$units" 2>/dev/null
    ls "$units/xdg-desktop-autostart.target.wants"
}
check "systemd's generator makes a unit of the idle watcher's autostart entry" \
    'app-morrowmere\x2didle@autostart.service' "$(generated | grep morrowmere)"

check "apt-get installs the settings window's package beside it" 0 "$(apt install "$settings_deb"; echo $?)"
check "whose entry among the applications runs the window, with the saver's icon" \
    "Exec=morrowmere-settings Icon=morrowmere yes" \
    "$(grep -hE '^(Exec|Icon)=' /usr/share/applications/org.tovrelin.MorrowmereSettings.desktop | tr '\n' ' ')$(
       command -v morrowmere-settings >/dev/null && echo yes)"
check "its installed preview draws a frame when asked" 9216 \
    "$(printf f | /usr/libexec/xscreensaver/morrowmere-preview 64x36 | wc -c)"
check "and apt-get removes it again" 0 "$(apt remove morrowmere-settings; echo $?)"

HACK=$hack hack_start -window
wait_for_frames
check "the installed hack renders the scene" "#7E7E7E" "$(eventually 10 "#7E7E7E" only_colour 200x50+400+500)"
kill -TERM "$hack_pid"
check "and SIGTERM ends it" 143 "$(wait_for_exit 5)"
check "with the records of a normal run" "$(normal_start_records; normal_end_records)" "$(records_shape)"

# A user whose settings have no list of hacks yet: the system's is theirs until the command writes
# their own, which must hold all of the system's hacks before Morrowmere.
daemon_home
own=("timeout: 0:30:00" "lock: False" "fade: False" "unfade: False" "splash: False" "mode: one" "selected: 0")
printf '%s\n' "${own[@]}" >"$home/.xscreensaver"
throwaway_user morrowmere-package-test "$home"
settings_file=$home/.xscreensaver
system_hacks=$(awk '/^\*programs:/ { on = 1; next } on { n++ } on && !/\\$/ { exit } END { print n }' \
    /etc/X11/app-defaults/XScreenSaver)
check "the user's command lists it" 0 "$(in_home "$listing" add >"$work/listing.out" 2>&1; echo $?)"
check "the user's own settings are kept" "$(printf '%s\n' "${own[@]}")" "$(head -"${#own[@]}" "$settings_file")"
listed=$(cat "$settings_file")
check "and again changes nothing" "0 $listed" "$(in_home "$listing" add >>"$work/listing.out" 2>&1; echo "$? $(cat "$settings_file")")"
log="$home/state/morrowmere/morrowmere.log"
daemon_start
check "the user's daemon answers" done "$(eventually 20 done daemon_command -version)"
check "it runs the hack after the system's $system_hacks" done "$(daemon_command -select $((system_hacks + 1)))"
check "the daemon started the installed hack" 1 "$(eventually 30 1 daemon_said 'forked "morrowmere --root"')"
check "whose scene is up" yes "$(wait_for_record "Scene has been initialized successfully" 30 && echo yes)"
in_home /usr/libexec/xscreensaver/morrowmere-idle --after-seconds 1 >/dev/null
check "the idle watcher leaves the daemon's display to it" \
    $'morrowmere-idle: XScreenSaver runs on this display and starts the saver itself\nstatus 0' \
    "$(in_home timeout 10 /usr/libexec/xscreensaver/morrowmere-idle 2>&1; echo "status $?")"
daemon_command -exit >/dev/null
check "the user's command takes it out again, and nothing else" "0 $(grep -v morrowmere <<<"$listed")" \
    "$(in_home "$listing" remove >>"$work/listing.out" 2>&1; echo "$? $(cat "$settings_file")")"
printf '%s\n' "programs: maze --root" "programs: qix --root" >"$settings_file"
check "settings it cannot read are left as they were" "1 $(cat "$settings_file")" \
    "$(in_home "$listing" add >>"$work/listing.out" 2>&1; echo "$? $(cat "$settings_file")")"

check "apt-get removes it" 0 "$(apt remove morrowmere; echo $?)"
check "it is gone" no "$(installed)"
left() { while read -r file; do [ -f "$file" ] && echo "$file"; done <<<"$files"; }
# Removed, a package keeps its configuration files until it is purged: here the idle watcher's
# autostart entry, which starts nothing once the watcher is gone (TryExec).
check "only its configuration is left" /etc/xdg/autostart/morrowmere-idle.desktop "$(left)"
check "apt-get purges it" 0 "$(apt purge morrowmere; echo $?)"
check "none of its files is left" "" "$(left)"
check "XScreenSaver's files are still as its packages installed them" "" "$(xscreensaver_changed)"
finish
