#!/usr/bin/env bash
# xwayland_load.sh TONEMARK CRTC_GAMMA TONEWATCH: load mode inside a real headless sway
# that runs Xwayland. The session is a Wayland one, so tonemark must not take
# Xwayland's RandR, which accepts any ramp and shows none of it: it takes sway's
# wlr gamma control, which the headless outputs refuse, names each display
# with the reason, ends with exit code 1, and leaves Xwayland's ramp alone.
# Load mode goes through the loader there, which it starts: the loader asks
# for the controls, is refused, and ends with sway. Forced onto X11, the same load "succeeds" on Xwayland, which is the
# silence this guards against.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1 crtc_gamma=$2 loader=$3

# sway and what runs inside it belong to an unprivileged user: everything it
# runs is copied where that user can reach it.
root=$(mktemp -d)
chmod 755 "$root"
trap 'rm -rf "$root"' EXIT
mkdir "$root/app"
cp "$program" "$root/app/tonemark"
cp "$loader" "$root/app/tonewatch"
cp -r "$(dirname "$program")/Tonemark.languages" "$root/app/"
cp "$crtc_gamma" "$here/../e2e/curve_files.sh" "$root/"
chmod -R a+rX "$root"

cat >"$root/inside.sh" <<'INSIDE'
set -euo pipefail
root=$1
source "$root/curve_files.sh"
unset TONEMARK_SIM TONEMARK_BACKEND
export HOME=$SWAY_WORK/home XDG_CONFIG_HOME=$SWAY_WORK/home/config XDG_DATA_HOME=$SWAY_WORK/home/data
mkdir -p "$HOME" "$SWAY_WORK/app"
cp -r "$root/app/." "$SWAY_WORK/app/"
app=$SWAY_WORK/app
write_curve "$app/Tonemark1.lut" Gamma=20

write_ramp "$SWAY_WORK/identity" 'l * 257'
"$root/crtc_gamma" set <"$SWAY_WORK/identity"
"$root/crtc_gamma" get >"$SWAY_WORK/before"

status=0
"$app/tonemark" /load 2>"$SWAY_WORK/err" || status=$?
expect_eq "$status" 1 "load mode's exit code on a desktop that takes no ramp"
expect_eq "$(cat "$SWAY_WORK/err")" \
  "Error: Display 1 (Headless output 1): the compositor refuses gamma control of this output (another program holds it, or the output has no gamma table). Its calibration is not on screen.
(display back-end: wlroots (wlr gamma control))" "load mode's report"
"$root/crtc_gamma" get >"$SWAY_WORK/after"
cmp -s "$SWAY_WORK/before" "$SWAY_WORK/after" || fail "load mode wrote Xwayland's ramp"
[[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] || fail "load mode started no loader"

# What the X11 back-end would have done here: a load that "succeeds".
TONEMARK_BACKEND=x11 "$app/tonemark" /load 2>"$SWAY_WORK/err" || fail "forced X11 load failed: $(cat "$SWAY_WORK/err")"
"$root/crtc_gamma" get >"$SWAY_WORK/after"
cmp -s "$SWAY_WORK/before" "$SWAY_WORK/after" && fail "the forced X11 back-end did not reach Xwayland"
echo "xwayland load: the refusal is reported, Xwayland's ramp is left alone"
INSIDE

SWAY_XWAYLAND=1 "$here/with_sway.sh" bash "$root/inside.sh" "$root"
