#!/usr/bin/env bash
# waybar_tray.sh TONEMARK TONEWATCH VIRTUAL_POINTER: Tonewatch's icon in waybar's
# tray on a headless sway (see waybar_tray_inside.sh). Screenshots stay in
# $TONEMARK_SCREENSHOTS when it is set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir "$root/app" "$root/shots"
cp "$1" "$root/app/tonemark"; cp "$2" "$root/app/tonewatch"
cp "$3" "$here/../e2e/curve_files.sh" "$here/../real/mutter_session_bus.conf" "$here/waybar_tray_inside.sh" "$root/"
# Sway's unprivileged user cannot reach a checkout only root can enter: the
# screenshots wait in the run's own folder and are copied out afterwards.
chmod -R a+rX "$root"; chmod 777 "$root/shots"
status=0
SWAY_OUTPUT_MODE=1280x720 "$here/../wayland/with_sway.sh" bash "$root/waybar_tray_inside.sh" "$root" || status=$?
[[ -z ${TONEMARK_SCREENSHOTS:-} ]] || { mkdir -p "$TONEMARK_SCREENSHOTS"; cp -r "$root/shots/." "$TONEMARK_SCREENSHOTS/"; }
exit "$status"
