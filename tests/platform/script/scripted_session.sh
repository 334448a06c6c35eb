#!/usr/bin/env bash
# scripted_session.sh TONEMARK [RUNNER]: whole editing sessions of the built
# program in normal mode with TONEMARK_SCRIPT set, driven by a script of user
# actions on standard input, on simulated displays. The program is copied into a temporary folder,
# which makes it portable: curve and settings files live beside it. With
# RUNNER (tools/wine-run) the Windows build runs, and TONEMARK_SIM is a Z:\ path.
set -euo pipefail
source "$(dirname "$0")/../../e2e/curve_files.sh"
program=$1
runner=${2:-}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
if [[ -z "$runner" ]]; then
  export XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
fi

# session SCRIPT: runs the copy with the script on its standard input; sets
# status, out and err.
session() {
  set +e
  TONEMARK_SCRIPT=1 TONEMARK_SIM=$(sim_path) $runner "$exe" <<<"$1" >"$case_dir/out" 2>"$case_dir/err"
  status=$?
  set -e
  out=$(tr -d '\r' <"$case_dir/out")
  # Wine's own notes on standard error are not the program's.
  err=$(tr -d '\r' <"$case_dir/err" | grep -v '^wine: ' || true)
}

# OK on two displays, the second at 144 DPI: both curve files, the edits in
# the first, the window following the display and its DPI, the settings.
fresh_case
printf '[Monitor1]\nRect=0,0,1920,1080\n[Monitor2]\nRect=1920,0,3200,1024\nDpi=144\n' >"$sim/displays.ini"
session 'show OkButton
up GammaRUpDown
up GammaRUpDown
show GammaREdit
click NextDisplayButton
state
show OkButton
key ctrl+shift+tab
state
click OkButton
show OkButton'
expect_eq "$status" 0 "OK exit code"
expect_eq "$err" "" "OK messages"
expect_eq "$out" 'OkButton caption="BOK" visible=1 enabled=1 bounds=1816,4,100,22
GammaREdit text="2" visible=0 enabled=1 bounds=66,34,35,21
page=0 display=1 point=127 lut=on window=1920,0,1280,1024 dpi=144
OkButton caption="BOK" visible=1 enabled=1 bounds=1124,6,150,33
page=12 display=1 point=127 lut=on window=1920,0,1280,1024 dpi=144' "OK session output"
for n in 1 2; do
  [[ -f "$app/Tonemark$n.lut" ]] || fail "Tonemark$n.lut was not written"
done
expect_eq "$(sed -n 5p "$app/Tonemark1.lut" | tr -d '\r')" 2 "GammaR stored in Tonemark1.lut"
[[ "$(ramp_entry "$sim/ramp1.txt" 128)" != 32896 ]] || fail "display 1 did not get its computed ramp"
expect_eq "$(ramp_entry "$sim/ramp2.txt" 128)" 32896 "display 2's identity ramp"
grep -q '^Language=' "$app/Tonemark.settings" || fail "the settings were not written"
if [[ -z "$runner" ]]; then
  ls "$XDG_CONFIG_HOME/autostart/"*.desktop >/dev/null 2>&1 || fail "no start-up entry for the loader"
fi

# Cancel, and the end of the script closing the window, both put back the
# ramp found at the start and write no curve file.
for ending in 'click CancelButton' ''; do
  fresh_case
  printf '[Monitor1]\n' >"$sim/displays.ini"
  write_ramp "$sim/ramp1.txt" 'l * 200'
  session "type BlackEdit 40
click OffButton
$ending"
  expect_eq "$status" 0 "'$ending' exit code"
  expect_eq "$(ramp_entry "$sim/ramp1.txt" 255)" 51000 "'$ending' restores the start ramp"
  [[ ! -e "$app/Tonemark1.lut" ]] || fail "'$ending' wrote a curve file"
  [[ -f "$app/Tonemark.settings" ]] || fail "'$ending' did not store the settings"
done

# A curve file that cannot be read is reported, the session goes on, and OK
# leaves that file as it was.
fresh_case
printf '[Monitor1]\n' >"$sim/displays.ini"
printf 'RampCurve v.2\r\nx\r\n0\r\nseven\r\n' >"$app/Tonemark1.lut"
cp "$app/Tonemark1.lut" "$case_dir/broken"
session 'up WhiteUpDown
click OkButton'
expect_eq "$status" 0 "unreadable curve file exit code"
grep -q 'Invalid numeric input' <<<"$err" || fail "the unreadable curve file was not reported: $err"
cmp -s "$app/Tonemark1.lut" "$case_dir/broken" || fail "OK overwrote the unreadable curve file"

# An unknown action is named and the session goes on.
fresh_case
printf '[Monitor1]\n' >"$sim/displays.ini"
session 'wave OkButton
state'
expect_eq "$out" 'not understood: wave OkButton
page=0 display=0 point=127 lut=on window=0,0,1920,1080 dpi=96' "unknown action"

