#!/usr/bin/env bash
# with_xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a private Xvfb,
# which is stopped afterwards. The server picks a free display number itself
# (-displayfd), so parallel runs do not collide.
#
# XVFB_SCREEN sets the screen (default 1024x768x24).
#
# -noreset matters: Xvfb resets when its last client disconnects, and the
# reset leaves the CRTC with an uninitialised gamma ramp, so a ramp loaded
# by one process would not be there for the next to read.
set -euo pipefail
work=$(mktemp -d)
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${XVFB_SCREEN:-1024x768x24}" 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 200); do
  [[ -s "$work/display" ]] && break
  kill -0 "$server" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
# An X11 session, even when the tests run inside a Wayland one: the programs
# would otherwise take a Wayland back-end and leave Xvfb alone.
unset WAYLAND_DISPLAY
DISPLAY=:$(head -n1 "$work/display") XDG_SESSION_TYPE=x11 "$@"
