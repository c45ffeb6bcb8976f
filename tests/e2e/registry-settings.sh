#!/usr/bin/env bash
# The settings store against the real registry of the build's Wine prefix, seen from outside: what
# the saver's store writes, reg.exe reads back as REG_SZ decimal text, in name order. How stored
# text of every shape loads (other types, signs, spaces, garbage, texts too long) is for the unit
# tests SettingsStoreTest and SettingsRegistryTest, which run against the same real registry.
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

reg delete 'HKLM\Software\Tovrelin' /f >/dev/null
check "store succeeds" "Store=0" "$(probe settings store -7 0)"
check "the values stored as decimal text with their sign, in name order" \
    "BatteryFrameCap REG_SZ 1|EnableFPS REG_SZ -7|EnableSound REG_SZ 1|EnableVSync REG_SZ 0|MultiMonitor REG_SZ 0|RenderScale REG_SZ 100" "$(stored_values)"
reg delete 'HKLM\Software\Tovrelin' /f >/dev/null
finish
