#!/usr/bin/env bash
# The demonstration without a screen: the real calibration window on a private
# Xvfb with two simulated displays, used by a scripted user through real key
# presses and clicks; a screenshot of the whole screen for every page; OK;
# then the load mode applying the stored curves. Needs the programs built.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z "${TONEMARK_DEMO_ON_XVFB:-}" ]]; then
  XVFB_SCREEN=3200x1080x24 TONEMARK_DEMO_ON_XVFB=1 exec tests/e2e/with_xvfb.sh "$0"
fi
demo=${TONEMARK_DEMO_DIR:-$PWD/build/demo}
rm -rf "$demo"
mkdir -p "$demo/sim" "$demo/app" "$demo/pages" "$demo/home/runtime"
chmod 700 "$demo/home/runtime"
trap 'jobs -p | xargs -r kill 2>/dev/null || true' EXIT

# A copy outside the install prefix is portable: its curve and settings files
# live beside it, and the start-up entry goes to the demo's own home.
cp -r build/bin/tonemark build/bin/tonemark-window build/bin/Tonemark.languages "$demo/app/"
cp build/bin/Tonemark.reference.jpg "$demo/app/" 2>/dev/null || true
export HOME=$demo/home XDG_CONFIG_HOME=$demo/home/config XDG_DATA_HOME=$demo/home/data
export XDG_RUNTIME_DIR=$demo/home/runtime TONEMARK_SIM=$demo/sim
printf '[Monitor1]\nRect=0,0,1920,1080\n[Monitor2]\nRect=1920,0,3200,1024\nDpi=120\n' >"$demo/sim/displays.ini"

# Where the arrows are, from the window's own layout as the scripted view
# reports it (the window covers display 1 from the screen's corner).
layout=$(printf 'tab 3\nshow GammaPanel\nshow GammaUpDown\ntab 6\nshow PointPanel\nshow PointUpDown\n'`
        `'show Panel\nshow OkButton\n' | TONEMARK_SCRIPT=1 "$demo/app/tonemark")
rm -f "$demo/app/Tonemark.settings" "$demo"/sim/ramp*.txt "$demo/sim/log.txt"
bounds() { sed -n "s/^$1 .*bounds=\([-0-9,]*\).*/\1/p" <<<"$layout" | tr ',' ' '; }
# click_at PANEL CONTROL ROW_FRACTION_PERCENT: a click on a control in a panel.
click_at() {
  local panel_left panel_top left top width height
  read -r panel_left panel_top _ _ <<<"$(bounds "$1")"
  read -r left top width height <<<"$(bounds "$2")"
  xdotool mousemove $((panel_left + left + width / 2)) $((panel_top + top + height * $3 / 100)) click 1
  sleep 0.2
}
shot() {
  sleep 1
  build/bin/x-screenshot "$demo/pages/page$(printf %02d "$1").png"
}

echo "== The calibration window on two simulated displays, used through real input"
"$demo/app/tonemark" 2>"$demo/messages.txt" &
session=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Orvana Tonemark' >/dev/null
shot 0
for page in $(seq 1 12); do
  xdotool key ctrl+Tab
  case $page in
    3) for _ in 1 2 3 4 5 6; do click_at GammaPanel GammaUpDown 25; done ;;  # gamma +6
    6) for _ in 1 2 3 4; do click_at PointPanel PointUpDown 25; done ;;      # a point at 127, +4
  esac
  shot "$page"
  echo "page $page: screenshot taken"
done
click_at Panel OkButton 50
wait $session
echo "The session ended with OK: $(ls "$demo/app/"*.lut | xargs -n1 basename | tr '\n' ' ')"

echo
echo "== Load mode: each display moves gradually to its stored curve"
: >"$demo/sim/log.txt"
rm -f "$demo"/sim/ramp*.txt
"$demo/app/tonemark" /load
echo "$(grep -c '^set 1 ' "$demo/sim/log.txt") steps loaded into display 1," \
  "$(grep -c '^set 2 ' "$demo/sim/log.txt") into display 2"
echo
echo "Screenshots:  $demo/pages/page00.png … page12.png (the whole screen, both displays)"
echo "Curve files:  $demo/app/Tonemark1.lut, Tonemark2.lut"
echo "Display log:  $demo/sim/log.txt"
