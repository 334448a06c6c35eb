#!/usr/bin/env bash
# monitors.sh TONEMARK [RUNNER]: curves follow their monitor on simulated
# displays, whatever order the system lists them in: stored with OK, loaded
# with /load, re-applied with /load /reapply. With RUNNER (tools/wine-run) the
# Windows build runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 runner=${2:-}
temp_home

new_case() { fresh_case; cp -r "$(dirname "$program")/Tonemark.languages" "$app/"; }
byte() { printf "\\x$(printf %02x $(($1 & 255)))"; }
# write_edid NAME PRODUCT SERIAL: $sim/NAME.edid, maker TMK, the product
# code, the serial number and a monitor-name descriptor "NAME".
declare -A product=()
write_edid() {
  product[$1]=$2
  { printf '\x00\xff\xff\xff\xff\xff\xff\x00\x51\xab'; byte "$2"; byte $(($2 >> 8))
    byte "$3"; byte $(($3 >> 8)); byte $(($3 >> 16)); byte $(($3 >> 24))
    head -c 38 /dev/zero; printf '\x00\x00\x00\xfc\x00%-13s' "$1"; head -c 56 /dev/zero; } >"$sim/$1.edid"
}
# displays NAME:CONNECTOR ...: displays.ini listing those monitors in that order.
displays() {
  local n=0 monitor name
  for monitor in "$@"; do
    n=$((n + 1)) name=${monitor%%:*}
    printf '[Monitor%d]\nEdid=%s.edid\nDeviceName=%s\nDeviceID=MONITOR\\TMK%04X\\%s\n' \
      $n "$name" "${monitor#*:}" "${product[$name]}" "${monitor#*:}"
  done >"$sim/displays.ini"
}
# ok WHITE...: a session giving display n the White of argument n, closed with OK.
ok() {
  local n=0 white script=
  for white in "$@"; do
    (($# > 1)) && script+="select DisplayComboBox $n"$'\n'
    script+="type WhiteEdit $white"$'\n' n=$((n + 1))
  done
  run <<<"${script}click OkButton"
  expect_eq "$status" 0 "OK: $err"
}
# The red entry at level 255 of each White used here, which tells the curves apart.
declare -A top=([-50]=52735 [-100]=39935 [-80]=45055 [-20]=60415 [0]=65280)
# load WHAT WHITE...: /load succeeds and ramp n shows the curve of White n.
load() {
  run /load
  expect_eq "$status" 0 "$1: $err"
  local n=0 white
  for white in "${@:2}"; do
    n=$((n + 1))
    expect_eq "$(ramp_entry "$sim/ramp$n.txt" 255)" "${top[$white]}" "$1: display $n"
  done
}

# Two monitors swapped between OK and /load; then the left one unplugged,
# calibrated alone, and back.
new_case
write_edid Left 1 1001; write_edid Right 1 1002
displays Left:DP-1 Right:DP-2
ok -50 -100
displays Right:DP-1 Left:DP-2; load "swapped" -100 -50
displays Right:DP-2; load "left unplugged" -100
ok -80
displays Left:DP-1 Right:DP-2; load "left back" -50 -80

# A laptop panel and two external monitors, docked in one order at OK and in
# another at /load; a new monitor gets the linear ramp and a warning, and OK
# leaves the curves of monitors not connected alone.
new_case
write_edid Panel 2 7; write_edid Office 3 8; write_edid Studio 3 9; write_edid Spare 4 10
displays Office:DP-1 Panel:eDP-1 Studio:DP-2
ok -20 -50 -100
displays Panel:eDP-1 Studio:DP-1 Office:DP-2; load "docked the other way" -50 -100 -20
displays Panel:eDP-1 Spare:DP-1; load "new monitor" -50 0
[[ $err == *"Display 2 (Spare) has no calibration of its own"* ]] || fail "no warning for the new monitor: $err"
cp "$app"/Tonemark[13].lut "$case_dir/"
ok -50 -80
for n in 1 3; do cmp -s "$app/Tonemark$n.lut" "$case_dir/Tonemark$n.lut" || fail "OK overwrote Tonemark$n.lut"; done
grep -q '^Tonemark4.lut=TMK0004+0000000A++Spare' "$app/Tonemark.monitors" || fail "the new monitor's curve: $(cat "$app/Tonemark.monitors")"

# Two identical monitors without serial numbers: told apart by connector.
new_case
write_edid Twin 5 0
displays Twin:DP-1 Twin:HDMI-1
ok -50 -100
displays Twin:HDMI-1 Twin:DP-1; load "twins listed the other way" -100 -50

# Files stored before identities go by number, and OK records them.
new_case
write_edid Left 1 1001
displays Left:DP-1
write_curve "$app/Tonemark1.lut" White=-50
load "a file from before" -50
ok -20
grep -q '^Tonemark1.lut=' "$app/Tonemark.monitors" || fail "the old file got no identity"

# What each display shows is recorded for the loader, and one display can be
# loaded again by its identity.
new_case
write_edid Left 1 1001; write_edid Right 1 1002
displays Left:DP-1 Right:DP-2
ok -50 -100
display2() { tr -d '\r' <"$app/Tonemark.shown" | sed -n '/^\[Display2\]/,$p'; }
run /load
cp "$app/Tonemark.shown" "$case_dir/shown"
identity=TMK0001+000003EA++Right
expect_eq "$(display2 | sed -n 's/^\(Identity\|Device\|Backend\|Curve\|Result\)=//p' | tr '\n' ,)" \
          "$identity,sim:2,sim,Tonemark2.lut,kept," "the right monitor's record"
expect_eq "$(display2 | sed -n 's/^Ramp=//p' | wc -w)" 768 "entries of the ramp shown"
write_ramp "$sim/ramp2.txt" 'l * 257'
rm "$sim/log.txt"
run /load /reapply "$identity"
expect_eq "$status,$(ramp_entry "$sim/ramp2.txt" 255)" "0,39935" "/reapply: $err"
expect_eq "$(cut -d' ' -f1-3 "$sim/log.txt" | tr '\n' ,)" "get 2 ok,set 2 ok,get 2 ok," "one load at once, read back"
expect_eq "$(head -9 "$app/Tonemark.shown")" "$(head -9 "$case_dir/shown")" "the other display's record"
run /load /reapply "TMK0001+00000000++Gone"
expect_eq "$status" 1 "/reapply of a monitor not connected"
rm "$app/Tonemark2.lut" "$sim/log.txt"
run /load /reapply "$identity"
expect_eq "$status,$([[ -f $sim/log.txt ]] && echo touched)" "1," "/reapply of a monitor without a curve"
[[ $err == *"has no calibration of its own"* ]] || fail "/reapply said: $err"
# A display that does not keep its ramp is recorded so, with the reason and no ramp.
printf 'Fail=ignore\n' >>"$sim/displays.ini"
run /load
expect_eq "$(display2 | grep -c '^Result=not-kept$\|^Reason=Display 2 .* did not keep\|^Ramp=$')" 3 \
          "the record of a display that did not keep its ramp"
echo "monitors: all passed"
