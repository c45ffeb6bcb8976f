#!/usr/bin/env bash
# The install target puts the hack and its settings description where XScreenSaver looks.
# Arguments: BUILD-TREE WORK
set -uo pipefail
. "$(dirname "$0")/check.sh"
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
DESTDIR="$work" cmake --install "$build" >/dev/null
check "the program is installed among XScreenSaver's hacks" yes \
    "$([ -x "$work/usr/libexec/xscreensaver/morrowmere" ] && echo yes)"
check "the idle watcher lies beside it" yes "$([ -x "$work/usr/libexec/xscreensaver/morrowmere-idle" ] && echo yes)"
check "and starts in every session" "Exec=/usr/libexec/xscreensaver/morrowmere-idle" \
    "$(grep '^Exec=' "$work/etc/xdg/autostart/morrowmere-idle.desktop")"
xml="$work/usr/share/xscreensaver/config/morrowmere.xml"
check "the description is well-formed XML" 0 "$(xmllint --noout "$xml" 2>&1; echo $?)"
check "it names the hack" morrowmere "$(xmllint --xpath 'string(/screensaver/@name)' "$xml")"
check "it starts the hack on XScreenSaver's window" -root "$(xmllint --xpath 'string(//command/@arg)' "$xml")"
check "its frame-rate switch gives -fps" -fps "$(xmllint --xpath 'string(//boolean[@id="showfps"]/@arg-set)' "$xml")"
# The box always wins over the stored sound setting: both of its states name a switch.
check "its sound box gives -sound ticked and -no-sound cleared" "-sound -no-sound" \
    "$(xmllint --xpath 'concat(//boolean[@id="sound"]/@arg-set, " ", //boolean[@id="sound"]/@arg-unset)' "$xml")"
# Checked, it gives nothing, so the stored BatteryFrameCap holds; cleared, it turns the cap off.
check "its battery box is checked by default and gives -no-battery-cap cleared" "[] [-no-battery-cap]" \
    "$(xmllint --xpath 'concat("[", //boolean[@id="batterycap"]/@arg-set, "] [", //boolean[@id="batterycap"]/@arg-unset, "]")' "$xml")"
check "its frame-rate slider gives -delay, 20000 by default" "-delay % 20000" \
    "$(xmllint --xpath 'concat(//number[@id="delay"]/@arg, " ", //number[@id="delay"]/@default)' "$xml")"
check "its render-scale slider gives -scale from 0.25 to 1, 1 by default" "-scale % 0.25 1.0 1.0" \
    "$(xmllint --xpath 'concat(//number[@id="scale"]/@arg, " ", //number[@id="scale"]/@low, " ",
                               //number[@id="scale"]/@high, " ", //number[@id="scale"]/@default)' "$xml")"
# The hack takes both ends as the slider writes them, and what the battery box gives (-h: nothing
# is run).
for end in 0.25 1.0; do
    check "-scale $end is taken" 0 "$("$work/usr/libexec/xscreensaver/morrowmere" -scale "$end" -h >/dev/null 2>&1; echo $?)"
done
check "-no-battery-cap is taken" 0 "$("$work/usr/libexec/xscreensaver/morrowmere" -no-battery-cap -h >/dev/null 2>&1; echo $?)"
finish
