#!/usr/bin/env bash
# vidmode_load.sh TONEMARK.EXE WINE-RUN: load mode under Wine on a real X
# server whose gamma table holds 8 bits (Xorg's dummy driver, through the
# VidMode extension), as many video cards do: the ramps come back rounded
# (level × 256 as level × 257) and still count as kept. Run inside
# with_xorg_dummy.sh. Load mode's message boxes are answered; an "Error" box
# fails the test.
set -euo pipefail
source "$(dirname "$0")/curve_files.sh"
program=$1 wine_run=$2

# A Wine server left by an earlier test keeps its desktop on that test's X
# display, which is gone: end it, wait until it has gone, and start afresh here.
export WINEPREFIX=${TONEMARK_WINEPREFIX:-$(cd "$(dirname "$wine_run")/.." && pwd)/build-windows/wineprefix}
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
root=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$root"' EXIT
export HOME=$root/home
mkdir -p "$HOME" "$root/app"
# A portable copy: its curve files live beside it.
cp "$program" "$root/app/"
cp -r "$(dirname "$0")/../../resources/Tonemark.languages" "$root/app/"

# load: Tonemark.exe /load, answering each message box (Wine cannot say
# whether the display is in an advanced-colour mode, which is a warning);
# sets status and boxes (the captions seen).
load() {
  "$wine_run" "$root/app/Tonemark.exe" /load &
  local run=$! box
  boxes=""
  for _ in $(seq 600); do
    box=$(xdotool search --name '^(Warning|Error)$' 2>/dev/null | head -n1 || true)
    if [[ -n "$box" ]]; then
      boxes+="$(xdotool getwindowname "$box") "
      xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
      sleep 0.5
    fi
    kill -0 "$run" 2>/dev/null || break
    sleep 0.2
  done
  set +e
  wait "$run"
  status=$?
  set -e
}

load
expect_eq "$status" 0 "/load without a curve file: exit code"
[[ "$boxes" != *Error* ]] || fail "/load without a curve file: an error was shown"

write_curve "$root/app/Tonemark1.lut" Gamma=10 BlackR=5
load
expect_eq "$status" 0 "/load of a curve: exit code"
[[ "$boxes" != *Error* ]] || fail "/load of a curve: an error was shown"
echo "vidmode load: all cases passed"
