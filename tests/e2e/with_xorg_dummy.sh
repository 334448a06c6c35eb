#!/usr/bin/env bash
# with_xorg_dummy.sh COMMAND...: runs COMMAND with DISPLAY set to a private
# Xorg server on its dummy video driver, which is stopped afterwards. Unlike
# Xvfb it offers the VidMode extension, through which Wine loads and reads
# gamma ramps, and like a real card it keeps a ramp at its table's precision
# (8 bits). Needs root (Xorg opens a virtual terminal) and the Debian package
# xserver-xorg-video-dummy; exits 77 (skipped) without them.
#
# The configuration lives in a temporary folder; no input devices are
# added, so no real console or keyboard is taken. -noreset keeps the ramp
# loaded by one client for the next. The server picks a free display number
# itself (-displayfd). The screen is the driver's largest mode, 2048 x 1536.
set -euo pipefail
xorg=/usr/lib/xorg/Xorg
if [[ $(id -u) != 0 || ! -x $xorg || ! -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]]; then
  echo "with_xorg_dummy.sh: needs root, Xorg and its dummy driver (xserver-xorg-video-dummy)" >&2
  exit 77
fi
work=$(mktemp -d)
cat >"$work/xorg.conf" <<EOF
Section "ServerFlags"
  Option "DontVTSwitch" "true"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
EndSection
EOF
"$xorg" -config "$work/xorg.conf" -configdir "$work" -noreset -nolisten tcp -novtswitch -sharevts \
  -logfile "$work/xorg.log" -displayfd 3 3>"$work/display" >"$work/output" 2>&1 &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 200); do
  [[ -s "$work/display" ]] && break
  kill -0 "$server" 2>/dev/null || { cat "$work/output" >&2; exit 1; }
  sleep 0.05
done
[[ -s "$work/display" ]] || { echo "Xorg did not start" >&2; cat "$work/output" >&2; exit 1; }
unset WAYLAND_DISPLAY
DISPLAY=:$(head -n1 "$work/display") XDG_SESSION_TYPE=x11 "$@"
