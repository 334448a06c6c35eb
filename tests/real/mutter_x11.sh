#!/usr/bin/env bash
# mutter_x11.sh TONEMARK CRTC_GAMMA: the GNOME back-end's live path against the
# real Mutter, run as the X11 window manager of a private Xvfb: there Mutter's
# DisplayConfig drives Xvfb's RandR CRTC, whose 256-entry gamma ramp is real.
# Tonemark has no DISPLAY and reaches the ramp only through Mutter on the
# session bus; crtc_gamma reads the CRTC directly. Load mode sets the stored
# curve's ramp (the one simulated displays get from the same curve); an
# editing session's ramp is live and Cancel puts the old one back; after a
# SIGKILL the guardian does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/curve_files.sh"
program=$1 crtc_gamma=$2
unset TONEMARK_SIM TONEMARK_SCRIPT WAYLAND_DISPLAY DISPLAY DBUS_SESSION_BUS_ADDRESS

root=$(mktemp -d)
pids=()
cleanup() {
  set +e
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}"; wait "${pids[i]}"; done 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
mkdir -p "$root/app" "$root/home" "$root/sim" "$root/runtime"
chmod 700 "$root/runtime"
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data XDG_RUNTIME_DIR=$root/runtime
cp "$program" "$root/app/tonemark"
cp -r "$(dirname "$program")/Tonemark.languages" "$root/app/"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/display" 2>"$root/xvfb.log" &
pids+=("$!")
for _ in $(seq 100); do [[ -s "$root/display" ]] && break; sleep 0.05; done
[[ -s "$root/display" ]] || fail "Xvfb did not start: $(cat "$root/xvfb.log")"
x_display=:$(cat "$root/display")
dbus-daemon --session --address="unix:path=$root/bus" --nofork --nopidfile 2>"$root/dbus.log" &
pids+=("$!")
export DBUS_SESSION_BUS_ADDRESS=unix:path=$root/bus
DISPLAY=$x_display mutter --x11 --replace --sm-disable >"$root/mutter.log" 2>&1 &
mutter=$!
pids+=("$mutter")
display_config() {
  gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
    --method "org.gnome.Mutter.DisplayConfig.$1" 2>/dev/null
}
for _ in $(seq 200); do
  display_config GetResources >/dev/null && break
  kill -0 "$mutter" 2>/dev/null || fail "Mutter ended at start: $(cat "$root/mutter.log")"
  sleep 0.1
done
display_config GetResources >/dev/null || fail "Mutter's DisplayConfig did not answer: $(cat "$root/mutter.log")"

crtc() { DISPLAY=$x_display "$crtc_gamma" "$@"; }
expect_eq "$(crtc size)" 256 "Xvfb's CRTC"
write_ramp "$root/identity" 'l * 257'
crtc set <"$root/identity"
crtc get >"$root/before"
values() { tr -s ' \n\r\t' '\n\n\n\n' <"$1" | grep -v '^$'; }

export TONEMARK_BACKEND=gnome
write_curve "$root/app/Tonemark1.lut" Gamma=30 BlackR=20
set +e
"$root/app/tonemark" /load 2>"$root/err"
status=$?
set -e
expect_eq "$status" 0 "load: exit code ($(cat "$root/err"))"
expect_eq "$(cat "$root/err")" "" "load: messages"
# The same curve on a simulated display gives the ramp that the CRTC must hold.
printf '[Monitor1]\n' >"$root/sim/displays.ini"
env -u TONEMARK_BACKEND TONEMARK_SIM="$root/sim" "$root/app/tonemark" /load
crtc get >"$root/loaded"
expect_eq "$(values "$root/loaded" | cksum)" "$(values "$root/sim/ramp1.txt" | cksum)" "load: the CRTC's ramp"
[[ "$(cat "$root/loaded")" != "$(cat "$root/before")" ]] || fail "load: the ramp did not change"
rm "$root/app/Tonemark1.lut"
crtc set <"$root/identity"

# session NAME: an editing session whose script is the fifo on descriptor 3;
# waits until it has changed the CRTC's ramp.
session() {
  mkfifo "$root/$1.script"
  TONEMARK_SCRIPT=1 "$root/app/tonemark" <"$root/$1.script" >"$root/$1.out" 2>"$root/$1.err" &
  session=$!
  pids+=("$session")
  exec 3>"$root/$1.script"
  printf 'type BlackEdit 40\nstate\n' >&3
  for _ in $(seq 100); do
    [[ "$(crtc get)" != "$(cat "$root/before")" ]] && return
    sleep 0.05
  done
  fail "$1: the session changed no ramp: $(cat "$root/$1.err")"
}
session cancel
printf 'click CancelButton\n' >&3
exec 3>&-
wait "$session" || fail "cancel: the session failed: $(cat "$root/cancel.err")"
expect_eq "$(crtc get)" "$(cat "$root/before")" "cancel: the ramp afterwards"

session killed
kill -KILL "$session"
wait "$session" 2>/dev/null || true
exec 3>&-
for _ in $(seq 100); do [[ "$(crtc get)" == "$(cat "$root/before")" ]] && break; sleep 0.05; done
expect_eq "$(crtc get)" "$(cat "$root/before")" "the ramp after the session was killed"
kill -0 "$mutter" || fail "Mutter ended: $(cat "$root/mutter.log")"
echo "Mutter on X11: load mode, the live session, Cancel and the guardian reach Xvfb's CRTC through DisplayConfig"
