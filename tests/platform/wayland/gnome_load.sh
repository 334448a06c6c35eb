#!/usr/bin/env bash
# gnome_load.sh TONEMARK MUTTER_STAND_IN NOTIFICATION_STAND_IN: tonemark /load
# in a Wayland session whose Mutter is the stand-in: the ramps reach Mutter's
# CRTCs through SetCrtcGamma, never a calibration session that would end with
# the run; a virtual monitor is reported by name with the reason, exit code 1
# and one desktop notification; an unknown TONEMARK_BACKEND lists the known ones;
# TONEMARK_BACKEND=gnome where libsystemd cannot be opened reports the missing bus,
# in the user's language.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../e2e/curve_files.sh"
program=$1 mutter=$2 notifications=$3
unset TONEMARK_SIM TONEMARK_BACKEND WAYLAND_DISPLAY DISPLAY

source "$here/private_home.sh"
export XDG_SESSION_TYPE=wayland
mkdir -p "$root/app" "$HOME"
cp "$program" "$root/app/tonemark"
cp -r "$(dirname "$program")/Tonemark.languages" "$root/app/"

# start_gnome NAME ARGS...: a stand-in Mutter and a notification service on its bus.
start_gnome() {
  local dir=$root/$1; shift
  mkdir -p "$dir"
  "$mutter" "$dir" "$@" 2>"$dir/log" &
  mutter_pid=$!
  pids+=("$mutter_pid")
  for _ in $(seq 200); do [[ -e "$dir/address" ]] && break; sleep 0.05; done
  [[ -e "$dir/address" ]] || fail "the stand-in Mutter did not start"
  export DBUS_SESSION_BUS_ADDRESS=$(cat "$dir/address")
  "$notifications" "$dir/notes" >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 200); do [[ -e "$dir/notes.ready" ]] && break; sleep 0.05; done
  touch "$dir/notes"
  gnome=$dir
}
# stop_gnome: ends the stand-in, which writes its calls and ramps.
stop_gnome() {
  kill "$mutter_pid"
  wait "$mutter_pid"
}

start_gnome plain DP-1:1024 HDMI-1:256
write_curve "$root/app/Tonemark2.lut" Gamma=20
"$root/app/tonemark" /load 2>"$root/err" || fail "the load failed: $(cat "$root/err")"
stop_gnome
expect_eq "$(cat "$root/err")" "" "plain: standard error"
expect_eq "$(wc -l <"$gnome/notes")" 0 "plain: notifications"
expect_eq "$(wc -w <"$gnome/lut0")" 3072 "plain: DP-1's ramp keeps its size"
expect_eq "$(ramp_entry "$gnome/lut0" 1023)" 65280 "plain: DP-1 ends at the linear ramp"
expect_eq "$(ramp_entry "$gnome/lut1" 255)" 65535 "plain: HDMI-1 ends at its curve's top"
(( $(grep -c '^SetCrtcGamma 1 1 256$' "$gnome/calls") > 1 )) || fail "plain: HDMI-1 was not stepped"

rm "$root/app/Tonemark2.lut"
start_gnome virtual --color-manager DP-1:256 Meta-0:virtual
set +e
"$root/app/tonemark" /load 2>"$root/err"
status=$?
set -e
stop_gnome
expect_eq "$status" 1 "virtual: exit code"
reason="Display 2 (Meta-0): this display takes no gamma ramp (a virtual or remote monitor). Its calibration is not on screen."
expect_eq "$(head -1 "$root/err")" "Error: $reason" "virtual: standard error"
expect_eq "$(cat "$gnome/notes")" "Tonemark | Error: $reason / (display back-end: GNOME)" "virtual: the one notification"
expect_eq "$(grep -c 'CalibrateMonitor\|SetCrtcGamma 1 1' "$gnome/calls" || true)" 0 "virtual: no session, no ramp for Meta-0"
expect_eq "$(ramp_entry "$gnome/lut0" 255)" 65280 "virtual: DP-1 loaded all the same"

set +e
TONEMARK_BACKEND=nosuch "$root/app/tonemark" /load 2>"$root/err"
status=$?
set -e
expect_eq "$status" 1 "unknown back-end: exit code"
expect_eq "$(cat "$root/err")" "Error: TONEMARK_BACKEND=nosuch names no display back-end. The known ones are: sim, gnome, wlr, kde, none, x11." \
          "unknown back-end: standard error"
# An unloadable libsystemd found first stands in for a system without one.
mkdir "$root/no-systemd"
: >"$root/no-systemd/libsystemd.so.0"
write_curve "$root/app/Tonemark1.lut" Gamma=20
set +e
LD_LIBRARY_PATH=$root/no-systemd TONEMARK_BACKEND=gnome "$root/app/tonemark" /load 2>"$root/err"
status=$?
set -e
rm "$root/app/Tonemark1.lut"
expect_eq "$status" 1 "no libsystemd: exit code"
expect_eq "$(cat "$root/err")" "Error: The session bus cannot be reached, so GNOME cannot be asked for its displays.
(display back-end: GNOME)
Error: No display was found whose gamma ramp Tonemark can set, so there is nothing to calibrate.
(display back-end: GNOME)" "no libsystemd: standard error"
# Discovery comes before the language is loaded: its message is worded after.
printf '[Settings]\r\nLanguage=German\r\n' >"$root/app/Tonemark.settings"
LD_LIBRARY_PATH=$root/no-systemd TONEMARK_BACKEND=gnome "$root/app/tonemark" /load 2>"$root/err" || true
rm "$root/app/Tonemark.settings"
expect_eq "$(head -1 "$root/err")" \
          "Error: Der Sitzungsbus ist nicht erreichbar, daher kann GNOME nicht nach seinen Bildschirmen gefragt werden." \
          "no libsystemd: standard error in German"

# An editing session killed outright: through SetCrtcGamma the guardian puts
# the ramp back with the same call; with a calibration session Mutter does,
# and no guardian is started.
lut_now() {
  gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
    --method org.gnome.Mutter.DisplayConfig.GetCrtcGamma 1 0 | cksum
}
for mode in plain --color-manager; do
  start_gnome "kill$mode" $([[ $mode == plain ]] || echo "$mode") DP-1:256
  before=$(lut_now)
  mkfifo "$gnome/script"
  TONEMARK_SCRIPT=1 "$root/app/tonemark" <"$gnome/script" >"$gnome/out" 2>"$gnome/err" &
  session=$!
  exec 3>"$gnome/script"
  printf 'type BlackEdit 40\nstate\n' >&3
  for _ in $(seq 200); do [[ -s "$gnome/out" ]] && break; sleep 0.05; done
  [[ "$(lut_now)" != "$before" ]] || fail "$mode: the session changed no ramp: $(cat "$gnome/err")"
  kill -KILL "$session"
  wait "$session" || true
  exec 3>&-
  for _ in $(seq 100); do [[ "$(lut_now)" == "$before" ]] && break; sleep 0.1; done
  expect_eq "$(lut_now)" "$before" "$mode: the ramp after the session was killed"
  stop_gnome
  if [[ $mode != plain ]]; then
    expect_eq "$(grep -c '^SetCrtcGamma \|^Ended DP-1' "$gnome/calls")" 1 "color manager: Mutter alone gives the ramp back"
  fi
done
echo "GNOME load: ramps through SetCrtcGamma, the virtual monitor reported, unknown back-ends refused; killed sessions leave the ramp as it was"
