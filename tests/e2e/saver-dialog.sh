#!/usr/bin/env bash
# The settings dialog: shows the stored values, only OK stores, Set Defaults and Escape restore the
# defaults in the dialog, the close box stores nothing, and a store that is refused is said so. The
# render scale's trackbar is moved with real keys on its focus (Home, then Right a percent a press),
# so what is tested is the notification the trackbar itself sends.
set -uo pipefail
. "$(dirname "$0")/saver-lib.sh"

dialog_window() { xdotool search --name '^Dialog$' 2>/dev/null | head -1; }
# The `dialog state` lines: FPS VSYNC SOUND SCALE [MONITORS, 0 unless given].
state() { printf 'fps=%s\nvsync=%s\nsound=%s\nscale=%s\nscale-text=%s%%\nmonitors=%s' "$1" "$2" "$3" "$4" "$4" "${5:-0}"; }
defaults=$(state 0 1 1 100)
# The battery box (124), read on its own: the state lines above are also the broken-resources test's.
battery() { probe dialog checked 124; }

clear_settings
saver_start /c
check "first run: the defaults" "$defaults" "$(probe dialog state)"
check "first run: fewer frames on battery" checked=1 "$(battery)"
probe dialog click 124 >/dev/null
check "the battery box toggled" checked=0 "$(battery)"
probe dialog click 117 >/dev/null
probe dialog click 118 >/dev/null
probe dialog click 119 >/dev/null
check "the three boxes toggled" "$(state 1 0 0 100)" "$(probe dialog state)"
check "the trackbar takes the focus" focus=121 "$(probe dialog focus 121)"
xdotool key --window "$(dialog_window)" Home
check "Home moves it to 25" "$(state 1 0 0 25)" "$(eventually 10 "$(state 1 0 0 25)" probe dialog state)"
xdotool key --window "$(dialog_window)" --repeat 25 Right
check "25 presses of Right move it to 50" "$(state 1 0 0 50)" "$(eventually 10 "$(state 1 0 0 50)" probe dialog state)"
# The monitors' list, from the keyboard on its focus: each Down picks the next choice.
check "the monitors' list takes the focus" focus=123 "$(probe dialog focus 123)"
xdotool key --window "$(dialog_window)" Down
check "Down picks one picture across all" "$(state 1 0 0 50 1)" "$(eventually 10 "$(state 1 0 0 50 1)" probe dialog state)"
xdotool key --window "$(dialog_window)" Down
check "Down again picks the primary only" "$(state 1 0 0 50 2)" "$(eventually 10 "$(state 1 0 0 50 2)" probe dialog state)"
probe dialog click 1 >/dev/null
check "OK closes with 1" 1 "$(wait_for_exit)"
check "OK stored EnableFPS as text" 1 "$(stored_value EnableFPS)"
check "OK stored EnableVSync as text" 0 "$(stored_value EnableVSync)"
check "OK stored EnableSound as text" 0 "$(stored_value EnableSound)"
check "OK stored BatteryFrameCap as text" 0 "$(stored_value BatteryFrameCap)"
check "OK stored RenderScale as text" 50 "$(stored_value RenderScale)"
check "OK stored MultiMonitor as text" 2 "$(stored_value MultiMonitor)"

saver_start /c
check "the stored values are shown" "$(state 1 0 0 50 2)" "$(probe dialog state)"
check "the stored BatteryFrameCap is shown" checked=0 "$(battery)"
xdotool key --window "$(dialog_window)" Escape
check "Escape restores the defaults and leaves the dialog open" "$defaults" \
    "$(eventually 10 "$defaults" probe dialog state)"
check "and checks the battery box again" checked=1 "$(battery)"
probe dialog close >/dev/null
check "the close box ends the dialog with 1" 1 "$(wait_for_exit)"
check "nothing was stored" "1 0 0 50 2 0" \
    "$(stored_value EnableFPS) $(stored_value EnableVSync) $(stored_value EnableSound) $(stored_value RenderScale) $(stored_value MultiMonitor) $(stored_value BatteryFrameCap)"

saver_start /c
probe dialog click 2 >/dev/null
check "Set Defaults shows the defaults" "$defaults" "$(probe dialog state)"
probe dialog click 1 >/dev/null
check "OK after Set Defaults" 1 "$(wait_for_exit)"
check "the defaults are stored" "0 1 1 100 0 1" \
    "$(stored_value EnableFPS) $(stored_value EnableVSync) $(stored_value EnableSound) $(stored_value RenderScale) $(stored_value MultiMonitor) $(stored_value BatteryFrameCap)"

set_setting EnableFPS "  -5"
set_setting RenderScale 24
set_setting MultiMonitor 7
saver_start /c
# Each shows what the saver uses: 24 is refused and drawn at full resolution, 7 as the first choice.
check "a stored -5 checks the box, a stored 24 shows the trackbar at 100, a stored 7 the first choice" \
    "$(printf 'fps=1\nscale=100\nscale-text=100%%\nmonitors=0')" "$(probe dialog state | grep '^fps=\|^scale\|^monitors')"
probe dialog click 1 >/dev/null
check "OK" 1 "$(wait_for_exit)"
check "saving without touching the box stores -5 again" -5 "$(stored_value EnableFPS)"
check "and without touching the trackbar 24 again" 24 "$(stored_value RenderScale)"
check "and without touching the list 7 again" 7 "$(stored_value MultiMonitor)"
clear_settings

# A settings store that refuses to write, as HKEY_LOCAL_MACHINE does without administrator rights.
cp "$(dirname "$scr")/morrowmere-settings-refused.scr" "$work/"
log="$work/morrowmere-settings-refused.log"
SCR="$work/morrowmere-settings-refused.scr" saver_start /c
probe dialog click 117 >/dev/null
probe dialog press 1 >/dev/null
box=$(probe messagebox 10)
check "a refused store is said so in a box owned by the dialog"     "$(printf 'owner=Dialog
text=The settings could not be saved.')" "$(grep '^owner=\|^text=' <<<"$box")"
check "and the dialog stays open with the changes" "$(state 1 1 1 100)" "$(probe dialog state)"
check "the run log says so" "(!)Error : Settings could not be stored" "$(records | tail -1)"
probe dialog close >/dev/null
check "the close box then ends the dialog with 1" 1 "$(wait_for_exit)"
finish
