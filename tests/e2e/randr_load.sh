#!/usr/bin/env bash
# randr_load.sh TONEMARK CRTC_GAMMA CURVE_RAMP: under with_xvfb.sh, load mode
# moves the real CRTC ramp of Xvfb to the ramp of the stored curve, as read
# back through RandR by crtc_gamma and computed by curve_ramp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 crtc_gamma=$2 curve_ramp=$3
unset TONEMARK_SIM

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$root/app" "$HOME"
cp "$program" "$root/app/tonemark"

expect_eq "$("$crtc_gamma" size)" 256 "Xvfb's CRTC gamma size"
write_ramp "$root/identity" 'l * 257'
"$crtc_gamma" set <"$root/identity"

write_curve "$root/app/Tonemark1.lut" Gamma=20 BlackR=10 WhiteB=-30 BalanceG=5
"$curve_ramp" "$root/app/Tonemark1.lut" >"$root/expected"
"$crtc_gamma" get >"$root/before"
cmp -s "$root/before" "$root/expected" && fail "the curve's ramp is already loaded"

"$root/app/tonemark" /load 2>"$root/err" || fail "tonemark /load failed: $(cat "$root/err")"
expect_eq "$(cat "$root/err")" "" "tonemark /load messages"
"$crtc_gamma" get >"$root/after"
cmp -s "$root/after" "$root/expected" || fail "CRTC ramp differs from the curve's: $(diff "$root/after" "$root/expected" | head -c 300)"

# Without a curve file the display is driven to the linear ramp.
rm "$root/app/Tonemark1.lut"
"$root/app/tonemark" /load
"$crtc_gamma" get >"$root/after"
write_ramp "$root/linear" 'l * 256'
cmp -s <(tr -s ' \n' '\n\n' <"$root/after") <(tr -s ' \n' '\n\n' <"$root/linear")  \
  || fail "CRTC ramp is not linear"

# Without an X server, the reason in the language chosen: discovery comes
# before the language is loaded.
cp -r "$(dirname "$program")/Tonemark.languages" "$root/app/"
printf '[Settings]\r\nLanguage=German\r\n' >"$root/app/Tonemark.settings"
DISPLAY=:65000 TONEMARK_BACKEND=x11 "$root/app/tonemark" /load 2>"$root/err" && fail "a load without an X server succeeded"
expect_eq "$(head -n1 "$root/err")" 'Error: Die X-Anzeige ":65000" lässt sich nicht öffnen.' "no X server: in German"
grep -q "^Error: No display was found" "$root/err" || fail "no X server: $(cat "$root/err")"

echo "randr load: the CRTC holds the curve's ramp; without an X server, the reason in German"
