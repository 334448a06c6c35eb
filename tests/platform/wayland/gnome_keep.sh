#!/usr/bin/env bash
# gnome_keep.sh TONEMARK TONEMARK_WINDOW TONEMARK_PROFILE MUTTER_STAND_IN: on
# GNOME, Mutter keeps the calibration from each monitor's default colord
# profile. OK writes TonemarkN.icc beside the curve files (its vcgt the stored
# curve's ramp) and makes it the default of the monitor's device; load mode
# puts back a profile that was taken off (writing its file again when it is
# gone) and checks Mutter's LUT, except
# while Night Light warms it; /uninstall takes the profiles off the devices.
# A display without a ramp says why in the window's bar.
# The stand-in Mutter's bus stands in for the system bus as well, with a
# stand-in colord on it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../e2e/curve_files.sh"
program=$1 window=$2 profiler=$3 mutter=$4
unset TONEMARK_SIM WAYLAND_DISPLAY DISPLAY
export TONEMARK_BACKEND=gnome XDG_SESSION_TYPE=wayland

source "$here/private_home.sh"
app=$root/app
mkdir -p "$app" "$HOME" "$root/bin"
cp "$program" "$window" "$app/"
cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
# /uninstall opens the maker's page: the opener here only notes it.
printf '#!/bin/sh\necho "$@" >"%s/opened"\n' "$root" >"$root/bin/xdg-open"
chmod +x "$root/bin/xdg-open"
export PATH=$root/bin:$PATH

start_gnome() {
  local dir=$root/$1; shift
  mkdir -p "$dir"
  "$mutter" "$dir" --colord "$@" 2>"$dir/log" &
  mutter_pid=$!
  pids+=("$mutter_pid")
  for _ in $(seq 200); do [[ -e "$dir/address" ]] && break; sleep 0.05; done
  [[ -e "$dir/address" ]] || fail "the stand-in Mutter did not start"
  export DBUS_SESSION_BUS_ADDRESS=$(cat "$dir/address") DBUS_SYSTEM_BUS_ADDRESS=$(cat "$dir/address")
  gnome=$dir
}
stop_gnome() {
  kill "$mutter_pid"
  wait "$mutter_pid"
}
colord() {
  gdbus call --system --dest org.freedesktop.ColorManager "$@"
}
device_of() {
  colord --object-path /org/freedesktop/ColorManager \
    --method org.freedesktop.ColorManager.FindDeviceByProperty XRANDR_name "$1" | sed -E "s/^\(objectpath '(.*)',\)$/\1/"
}
# first_profile CONNECTOR: the object of the device's default profile, or nothing.
first_profile() {
  colord --object-path "$(device_of "$1")" --method org.freedesktop.DBus.Properties.Get \
    org.freedesktop.ColorManager.Device Profiles | grep -o "'/[^']*'" | head -1 | tr -d "'"
}
# default_profile CONNECTOR: the file of the device's default profile, or nothing.
default_profile() {
  local profile
  profile=$(first_profile "$1")
  [[ -z "$profile" ]] || colord --object-path "$profile" --method org.freedesktop.DBus.Properties.Get \
                           org.freedesktop.ColorManager.Profile Filename | sed -E "s/^\(<'(.*)'>,\)$/\1/"
}
vcgt() {
  iccdump -v 3 -t vcgt "$1" | sed -n '/channel #0/,$p'
}
load() {
  set +e
  "$app/tonemark" /load 2>"$root/err"
  status=$?
  set -e
}

start_gnome ok DP-1:256 HDMI-1:1024
printf 'type BlackEdit 40\nclick OkButton\n' |
  TONEMARK_SCRIPT=1 "$app/tonemark-window" >/dev/null 2>"$root/err" || fail "OK failed: $(cat "$root/err")"
expect_eq "$(cat "$root/err")" "" "OK: messages"
for n in 1 2; do
  [[ -s "$app/Tonemark$n.icc" ]] || fail "OK wrote no Tonemark$n.icc"
  "$profiler" --curve "$app/Tonemark$n.lut" --out "$root/expected$n.icc" >/dev/null
  [[ -n "$(vcgt "$root/expected$n.icc")" ]] || fail "iccdump read no vcgt"
  expect_eq "$(vcgt "$app/Tonemark$n.icc")" "$(vcgt "$root/expected$n.icc")" "OK: Tonemark$n.icc's vcgt"
done
expect_eq "$(default_profile DP-1)" "$app/Tonemark1.icc" "OK: DP-1's default profile"
expect_eq "$(default_profile HDMI-1)" "$app/Tonemark2.icc" "OK: HDMI-1's default profile"

colord --object-path "$(device_of DP-1)" --method org.freedesktop.ColorManager.Device.RemoveProfile \
  "$(first_profile DP-1)" >/dev/null
expect_eq "$(default_profile DP-1)" "" "DP-1's profile taken off"
rm "$app/Tonemark1.icc"
load
expect_eq "$status" 0 "load: exit code ($(cat "$root/err"))"
expect_eq "$(default_profile DP-1)" "$app/Tonemark1.icc" "load: DP-1's default profile again"
expect_eq "$(vcgt "$app/Tonemark1.icc")" "$(vcgt "$root/expected1.icc")" "load: Tonemark1.icc written again"

"$app/tonemark" /uninstall 2>"$root/err" || fail "/uninstall failed: $(cat "$root/err")"
expect_eq "$(default_profile DP-1)$(default_profile HDMI-1)" "" "/uninstall: the devices' profiles"
stop_gnome

# Night Light warms Mutter's LUT: the check that Mutter shows the calibration
# would fail, so it is left out while Night Light says it is active.
for light in --warm --night-light; do
  start_gnome "light$light" "$light" DP-1:256 HDMI-1:1024
  load
  stop_gnome
  expect_eq "$(grep -c '^SetCrtcGamma' "$gnome/calls" || true)" 0 "$light: load mode sets no ramp that Mutter keeps"
  if [[ $light == --warm ]]; then
    expect_eq "$status" 1 "a warmed LUT unexplained: exit code"
    grep -q '^Error: Display 1 (DP-1) did not keep its calibration' "$root/err" ||
      fail "a warmed LUT unexplained: $(cat "$root/err")"
  else
    expect_eq "$status" 0 "Night Light: exit code ($(cat "$root/err"))"
    expect_eq "$(grep -c '^GetCrtcGamma' "$gnome/calls" || true)" 0 "Night Light: the LUT is not read"
  fi
done
# A display that takes no ramp says why in the window's bar, and that the window previews the calibration.
start_gnome virtual DP-1:256 Meta-0:virtual
printf 'click NextDisplayButton\nshow RampRefusedLabel\n' | TONEMARK_SCRIPT=1 "$app/tonemark-window" >"$root/out" 2>&1
load
stop_gnome
expect_eq "$status" 1 "virtual: load's exit code"
expect_eq "$(head -1 "$root/err")" "Error: Display 2 (Meta-0): this display takes no gamma ramp (a virtual or remote monitor). Its calibration is not on screen." "virtual: load's report"
expect_eq "$(grep -c 'Meta-0' "$gnome/colord-calls" || true)" 0 "virtual: colord is not asked about Meta-0"
expect_eq "$(cut -d'"' -f2 "$root/out")" \
  "The window previews the calibration itself, since this display takes no gamma ramp (a virtual or remote monitor)." \
  "the bar's line"

echo "GNOME keeps the calibration: OK assigns the profiles, load mode puts them back, /uninstall takes them off"
