#!/usr/bin/env bash
# A demonstration on two simulated displays, needing no screen: an editing
# session that ends with OK, the load mode applying the stored curves, and a
# picture of every page as the calibration window paints it.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=${TONEMARK_DEMO_DIR:-$PWD/build/demo}
rm -rf "$demo"
mkdir -p "$demo/sim" "$demo/app" "$demo/pages" "$demo/home"

# A copy outside the install prefix is portable: its curve and settings files
# live beside it, and the start-up entry goes to the demo's own home.
cp build/bin/tonemark "$demo/app/"
cp -r build/bin/Tonemark.languages "$demo/app/"
export XDG_CONFIG_HOME=$demo/home/config XDG_DATA_HOME=$demo/home/data
export TONEMARK_SIM=$demo/sim
printf '[Monitor1]\nRect=0,0,1920,1080\n[Monitor2]\nRect=1920,0,5760,2160\nDpi=144\n' \
  >"$demo/sim/displays.ini"

echo "== An editing session on display 1: gamma +40, a correction point at 64, then OK"
TONEMARK_SCRIPT=1 "$demo/app/tonemark" <<'SCRIPT'
state
up GammaUpDown
type GammaEdit 40
type PointPosEdit 64
up PointUpDown
up PointUpDown
show GammaEdit
state
click OkButton
SCRIPT

echo
echo "== Load mode: each display moves gradually to its stored curve"
: >"$demo/sim/log.txt"
rm -f "$demo"/sim/ramp*.txt
"$demo/app/tonemark" /load
echo "$(grep -c '^set 1 ' "$demo/sim/log.txt") steps loaded into display 1," \
  "$(grep -c '^set 2 ' "$demo/sim/log.txt") into display 2"

echo
echo "== Every page, painted with display 1's curve"
for page in $(seq 0 12); do
  build/bin/tonemark-render --page "$page" --curve "$demo/app/Tonemark1.lut" \
    --out "$demo/pages/page$(printf %02d "$page").png"
done
echo "Curve files:  $demo/app/Tonemark1.lut, Tonemark2.lut"
echo "Page images:  $demo/pages/page00.png … page12.png"
echo "Display log:  $demo/sim/log.txt"
