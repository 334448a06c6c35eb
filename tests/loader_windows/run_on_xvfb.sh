#!/usr/bin/env bash
# Runs a Windows program under Wine (tools/wine-run) on a private Xvfb display,
# then ends every Wine process left in the build's prefix and the X server.
# Usage: run_on_xvfb.sh PROGRAM.exe [ARGUMENTS...]  (Unix paths are passed as Z:\...)
# TONEMARK_XVFB_SCREEN sets the screen's size (default 1280x1024).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${TONEMARK_WINEPREFIX:-$root/build-windows/wineprefix}

display_file=$(mktemp)
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -f "$display_file"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the file.
Xvfb -displayfd 3 -screen 0 "${TONEMARK_XVFB_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 300); do
  [[ -s $display_file ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[[ -s $display_file ]] || { echo "Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$display_file")

# A Wine server started earlier without this display would keep its desktop on
# no display at all: end it, and wait until it has gone before starting afresh.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

args=()
for arg in "${@:2}"; do
  if [[ $arg == /* ]]; then args+=("Z:${arg//\//\\}"); else args+=("$arg"); fi
done
status=0
"$root/tools/wine-run" "$1" "${args[@]}" || status=$?
exit $status
