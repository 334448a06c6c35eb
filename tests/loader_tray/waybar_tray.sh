#!/usr/bin/env bash
# waybar_tray.sh TONEMARK TONEWATCH VIRTUAL_POINTER: Tonewatch's icon in a real notification
# area: waybar's tray module (a StatusNotifierWatcher and host) on a headless
# sway, a private session bus, two simulated displays with curves.
# - the icon shows in the bar (grim), and a click through sway's seat opens
#   the menu that waybar draws from the item's dbusmenu;
# - the menu lists both displays with their states;
# - Pause loads the linear ramp and holds across a restart of Tonewatch;
#   turning the calibration on again brings the curves back;
# - a waybar started after Tonewatch still gets the icon; without any host
#   Tonewatch runs on, invisible.
# Screenshots stay in $TONEMARK_SCREENSHOTS when it is set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1 loader=$2 pointer=$3

root=$(mktemp -d)
chmod 755 "$root"
trap 'rm -rf "$root"' EXIT
mkdir "$root/app"
cp "$program" "$root/app/tonemark"
cp "$loader" "$root/app/tonewatch"
cp "$pointer" "$here/../e2e/curve_files.sh" "$here/../real/mutter_session_bus.conf" "$here/waybar_tray_inside.sh" "$root/"
chmod -R a+rX "$root"
shots=${TONEMARK_SCREENSHOTS:-}
[[ -z $shots ]] || { mkdir -p "$shots"; chmod 777 "$shots"; }

SWAY_OUTPUT_MODE=1280x720 "$here/../wayland/with_sway.sh" bash "$root/waybar_tray_inside.sh" "$root" "$shots"
