#!/usr/bin/env bash
# sim_modes.sh TONEMARK [RUNNER]: Tonemark's modes end to end on simulated
# displays. The program is copied into a temporary folder, which makes it
# portable: its curve and settings files live beside it. With RUNNER
# (tools/wine-run) the Windows build runs, and TONEMARK_SIM is a Z:\ path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1
runner=${2:-}

temp_home

# Load mode applies each display's curve, the linear ramp where there is
# none, and leaves the settings alone.
fresh_case
printf '[Monitor1]\n[Monitor2]\n' >"$sim/displays.ini"
write_curve "$app/Tonemark1.lut" White=-100
printf '[Settings]\r\nLanguage=Deutsch\r\n' >"$app/Tonemark.settings"
cp "$app/Tonemark.settings" "$case_dir/settings.before"
run /load
expect_eq "$status" 0 "/load exit code"
expect_eq "$err" "" "/load messages"
for channel in 0 1 2; do
  expect_eq "$(ramp_entry "$sim/ramp1.txt" $((channel * 256 + 255)))" 39935 "White -100 at level 255"
  expect_eq "$(ramp_entry "$sim/ramp1.txt" $((channel * 256 + 128)))" 20046 "White -100 at level 128"
  expect_eq "$(ramp_entry "$sim/ramp2.txt" $((channel * 256 + 255)))" 65280 "linear ramp at level 255"
done
grep -q '^wait 10$' "$sim/log.txt" || fail "the ramp was not moved gradually"
cmp -s "$app/Tonemark.settings" "$case_dir/settings.before" || fail "load mode changed the settings"

# Arguments after /load are ignored; a display already at its target is
# loaded once, without a pause, and read back.
rm "$sim/log.txt"
run /load extra arguments
expect_eq "$status" 0 "/load with more arguments"
expect_eq "$(cut -d' ' -f1-3 "$sim/log.txt" | tr '\n' ,)" \
          "get 1 ok,get 2 ok,set 1 ok,set 2 ok,get 1 ok,get 2 ok," "second load"

# A display that accepts its ramp and does not keep it is named, the others
# are loaded, and the run ends with 1. (The messages come from the English
# language file beside the program.)
fresh_case
cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
printf '[Monitor1]\n[Monitor2]\nFail=ignore\n' >"$sim/displays.ini"
write_ramp "$sim/ramp2.txt" 'l * 100'
run /load
expect_eq "$status" 1 "display that drops its ramp: exit code"
[[ "$err" == "Error: Display 2 (Generic PnP Monitor) did not keep its calibration:"* ]] \
  || fail "display that drops its ramp: message: $err"
expect_eq "$(ramp_entry "$sim/ramp1.txt" 255)" 65280 "display 1 loaded beside it"

# A curve that blacks the screen is loaded as stored and named; with
# TONEMARK_SAFE=1 every display gets the linear ramp instead.
fresh_case
cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
printf '[Monitor1]\n[Monitor2]\n' >"$sim/displays.ini"
write_curve "$app/Tonemark2.lut" Gamma=-100
run /load
expect_eq "$status" 0 "black curve: exit code"
[[ "$err" == "Warning: The curve of display 2 (Generic PnP Monitor) leaves it almost uniformly black"* ]] \
  || fail "black curve: message: $err"
expect_eq "$(ramp_entry "$sim/ramp2.txt" 254)" 0 "black curve loaded as stored"
TONEMARK_SAFE=1 run /load
expect_eq "$status" 0 "safe load: exit code"
expect_eq "$err" "" "safe load: messages"
expect_eq "$(ramp_entry "$sim/ramp2.txt" 254)" 65024 "safe load: linear ramp"

# Only the exact first argument chooses a mode; anything else opens the
# window, whose session (on an empty script) starts by saving every ramp.
for args in /LOAD -load "x /load" ""; do
  rm -f "$sim/log.txt"
  # shellcheck disable=SC2086
  run $args </dev/null
  expect_eq "$status" 0 "'$args' exit code"
  expect_eq "$(grep -v '^wine: ' <<<"$err" || true)" "" "'$args' messages"
  expect_eq "$(head -2 "$sim/log.txt" | tr '\n' ,)" "get 1 ok,get 2 ok," "'$args' opened the window"
done

# A curve file that cannot be read leaves its display as it is, the others
# are loaded, and the error names the file.
fresh_case
printf '[Monitor1]\n[Monitor2]\n[Monitor3]\n' >"$sim/displays.ini"
write_ramp "$sim/ramp2.txt" 'l * 100'
cp "$sim/ramp2.txt" "$case_dir/ramp2.before"
write_curve "$app/Tonemark2.lut"
sed -i '5s/.*/12x\r/' "$app/Tonemark2.lut"
run /load
expect_eq "$status" 1 "bad curve file exit code"
[[ "$err" == "Error: "*"Tonemark2.lut: Invalid numeric input" ]] || fail "bad curve file message: $err"
expect_eq "$(ramp_entry "$sim/ramp1.txt" 255)" 65280 "display 1 still loaded"
expect_eq "$(ramp_entry "$sim/ramp3.txt" 767)" 65280 "display 3 still loaded"
cmp -s "$sim/ramp2.txt" "$case_dir/ramp2.before" || fail "display 2 lost its ramp"

# Without displays, load mode has nothing to do and the window nothing to show.
fresh_case
run /load
expect_eq "$status" 0 "/load without displays"
expect_eq "$err" "" "/load without displays: messages"
[[ ! -e "$sim/log.txt" ]] || fail "/load without displays touched a ramp"
run
expect_eq "$status" 1 "no displays: exit code"
expect_eq "$err" \
  "Error: No display was found whose gamma ramp Tonemark can set, so there is nothing to calibrate." \
  "no displays: message"

# A monitor the system cannot describe is reported and still loaded; one
# whose handle cannot be created is left out and gets no number.
fresh_case
printf '[Monitor1]\nFail=info\n[Monitor2]\nFail=dc\n[Monitor3]\n' >"$sim/displays.ini"
write_curve "$app/Tonemark2.lut" White=-100
run /load
expect_eq "$status" 0 "failing monitors: exit code"
expect_eq "$err" "Error: Invalid monitor handle." "failing monitors: message"
expect_eq "$(ramp_entry "$sim/ramp1.txt" 255)" 65280 "monitor 1 loaded as display 1"
expect_eq "$(ramp_entry "$sim/ramp3.txt" 255)" 39935 "monitor 3 loaded as display 2"
[[ ! -e "$sim/ramp2.txt" ]] || fail "monitor 2 was loaded"

# Uninstall mode opens the maker's page and removes the loader's start-up
# entry, and touches no ramp. The desktop's opener is replaced by one that
# notes what it was asked to open. (Under Wine it would start a browser.)
if [[ -z "$runner" ]]; then
  fresh_case
  printf '[Monitor1]\n' >"$sim/displays.ini"
  mkdir -p "$case_dir/bin" "$XDG_CONFIG_HOME/autostart"
  printf '#!/bin/sh\necho "$@" >"%s/opened"\n' "$case_dir" >"$case_dir/bin/xdg-open"
  chmod +x "$case_dir/bin/xdg-open"
  printf '[Desktop Entry]\nExec=/x/tonewatch\n' >"$XDG_CONFIG_HOME/autostart/tonewatch.desktop"
  PATH=$case_dir/bin:$PATH run /uninstall
  expect_eq "$status" 0 "/uninstall exit code"
  expect_eq "$err" "" "/uninstall messages"
  [[ ! -e "$XDG_CONFIG_HOME/autostart/tonewatch.desktop" ]] || fail "the start-up entry is still there"
  for _ in $(seq 100); do [[ -s "$case_dir/opened" ]] && break; sleep 0.05; done
  expect_eq "$(cat "$case_dir/opened" 2>/dev/null)" "https://orvana.example/tonemark/uninstall" \
            "page opened by /uninstall"
  [[ ! -e "$sim/log.txt" ]] || fail "/uninstall touched a ramp"

  # Without an entry there is nothing to remove, and no error.
  rm "$case_dir/opened"
  PATH=$case_dir/bin:$PATH run /uninstall
  expect_eq "$status" 0 "/uninstall without an entry"
  expect_eq "$err" "" "/uninstall without an entry: messages"
fi

echo "sim modes: all cases passed"
