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
# The unprivileged user cannot reach a checkout that only root can enter: its
# screenshots wait in the run's own folder and are copied out afterwards.
shots=${TONEMARK_SCREENSHOTS:-}
staged=""
[[ -z $shots ]] || { staged="$root/shots"; mkdir "$staged"; chmod 777 "$staged"; }

status=0
SWAY_OUTPUT_MODE=1280x720 "$here/../wayland/with_sway.sh" bash "$root/waybar_tray_inside.sh" "$root" "$staged" || status=$?
[[ -z $shots ]] || { mkdir -p "$shots"; cp -r "$staged/." "$shots/"; }
exit "$status"
