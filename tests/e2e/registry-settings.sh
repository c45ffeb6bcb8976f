#!/usr/bin/env bash
# The settings store against the real registry of the build's Wine prefix: what is stored is REG_SZ
# decimal text that reg.exe reads back in name order, and garbage left by other tools loads safely.
# Usage: registry-settings.sh PROBE.exe WINE-RUN PREFIX
set -uo pipefail
. "$(dirname "$0")/check.sh"
probe=$1
shift
wine_run=("$@")
key='HKLM\Software\Tovrelin\Morrowmere screen saver'

probe() { "${wine_run[@]}" "$probe" "$@" | tr -d '\r'; }
reg() { "${wine_run[@]}" reg "$@" 2>&1 | tr -d '\r'; }
# The values under our key as "Name Type Data" lines joined by '|', in the registry's order.
stored_values() {
    reg query "$key" | awk 'NF >= 2 && $1 != "" && $1 !~ /^HKEY/ { $1 = $1; print }' | paste -sd'|'
}
set_value() { reg add "$key" /v "$1" /t "$2" /d "$3" /f >/dev/null; }

reg delete 'HKLM\Software\Tovrelin' /f >/dev/null
check "without a key the defaults hold and Load fails" "Load=-1 EnableFPS=0 EnableVSync=1 EnableSound=1" "$(probe settings load)"

check "store succeeds" "Store=0" "$(probe settings store 1 0)"
check "the values stored as decimal text, in name order" \
    "EnableFPS REG_SZ 1|EnableSound REG_SZ 1|EnableVSync REG_SZ 0" "$(stored_values)"
check "a new process loads what was stored" "Load=0 EnableFPS=1 EnableVSync=0 EnableSound=1" "$(probe settings load)"

check "negative values are stored with their sign" "Store=0" "$(probe settings store -7 2)"
check "negative value in the registry" "EnableFPS REG_SZ -7|EnableSound REG_SZ 1|EnableVSync REG_SZ 2" "$(stored_values)"

set_value EnableFPS REG_DWORD 7
set_value EnableVSync REG_SZ 12abc
check "a DWORD reads as 0, 12abc as 12" "Load=0 EnableFPS=0 EnableVSync=12 EnableSound=1" "$(probe settings load)"

set_value EnableFPS REG_SZ "  -5"
set_value EnableVSync REG_SZ ""
check "leading spaces and sign; empty text is 0" "Load=0 EnableFPS=-5 EnableVSync=0 EnableSound=1" "$(probe settings load)"

set_value EnableVSync REG_SZ "$(printf '%0300d' 5)"
check "a 300-character text leaves the default" "Load=0 EnableFPS=-5 EnableVSync=1 EnableSound=1" "$(probe settings load)"

set_value EnableSound REG_SZ 0
check "EnableSound 0 is read" "Load=0 EnableFPS=-5 EnableVSync=1 EnableSound=0" "$(probe settings load)"

reg delete 'HKLM\Software\Tovrelin' /f >/dev/null
finish
