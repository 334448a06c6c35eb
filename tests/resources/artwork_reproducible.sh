#!/usr/bin/env bash
# Painting the emblem and the photograph again gives the committed files byte
# for byte (the generator checks each picture it writes on its own).
set -euo pipefail
generator=$1 resources=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$generator" hero "$out/heropng.png"
"$generator" photo "$out/Tonemark.reference.jpg"
"$generator" tray-icons "$resources/heropng.png" "$out/tray_icon_pixels.h" 16 22 24 32 48 64
cmp "$out/heropng.png" "$resources/heropng.png"
cmp "$out/Tonemark.reference.jpg" "$resources/Tonemark.reference.jpg"
cmp "$out/tray_icon_pixels.h" "$resources/../loader/tray_icon_pixels.h"
