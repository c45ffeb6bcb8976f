#!/usr/bin/env bash
# The committed resources and preview pictures are exactly what the generator writes today, so
# the generator's source is the reviewable truth behind every embedded byte.
# Usage: resources-up-to-date.sh RESGEN SOURCE-DIR
set -uo pipefail
. "$(dirname "$0")/check.sh"
resgen=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/resources/bitmaps" "$scratch/resources/sounds" "$scratch/docs"
"$resgen" "$scratch/resources" "$scratch/docs"
check "the generator ran" 0 $?
for file in bitmaps/sky-123.bmp bitmaps/planet-130.bmp bitmaps/dialog-logo-116.bmp bitmaps/dialog-side-120.bmp \
    sounds/ambient-132.raw sounds/flap-133.raw creature_model.inc; do
    cmp -s "$scratch/resources/$file" "$source/resources/$file"
    check "resources/$file is what tools/resgen writes" 0 $?
done
for file in contact-sheet.png waveforms.png; do
    cmp -s "$scratch/docs/$file" "$source/docs/$file"
    check "docs/$file is what tools/resgen writes" 0 $?
done
finish
