#!/usr/bin/env bash
# sim_concurrency.sh TONEMARK ROUNDS: two load-mode processes and an editing
# session that ends with OK, all at once on the same simulated displays and
# the same curve files. Every process must end cleanly (no reader ever meets
# a half-written curve file), and each display's ramp file must hold, whole,
# one of the ramps that some process loaded into it. A load-mode process that
# reads back a ramp another process loaded after it may say so by name.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 rounds=$2
runner=

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$HOME"

# ramp_values FILE: the ramp's 768 values on one line.
ramp_values() { tr -s ' \r\n\t' '    ' <"$1" | sed 's/^ //; s/ $//'; }

last_matches=0
for ((round = 1; round <= rounds; round++)); do
  fresh_case
  cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
  printf '[Monitor1]\n[Monitor2]\n' >"$sim/displays.ini"
  write_curve "$app/Tonemark1.lut" White=-100
  write_curve "$app/Tonemark2.lut" Gamma=30
  export TONEMARK_SIM=$sim

  "$exe" /load >"$case_dir/load1" 2>&1 &
  load1=$!
  printf 'up GammaUpDown\nup GammaUpDown\nselect DisplayComboBox 1\ntype BlackEdit 12\nclick OkButton\n' |
    TONEMARK_SCRIPT=1 "$exe" >"$case_dir/session" 2>&1 &
  session=$!
  "$exe" /load >"$case_dir/load2" 2>&1 &
  load2=$!
  wait "$session" || fail "round $round: the session ended with code $? ($(cat "$case_dir/session"))"
  for name in load1 load2; do
    pid=${!name}
    status=0
    wait "$pid" || status=$?
    if ((status == 1)); then
      # A failure names its display in words: never in silence, nor by a text's key.
      [[ -s "$case_dir/$name" ]] || fail "round $round: $name failed and said nothing"
      grep -qvE '^(Error: )?Display [12] \(.*\) did not keep its calibration: .+$' "$case_dir/$name" &&
        fail "round $round: $name: $(cat "$case_dir/$name")"
    else
      expect_eq "$status" 0 "round $round: $name's exit code"
      expect_eq "$(cat "$case_dir/$name")" "" "round $round: $name's messages"
    fi
  done

  for n in 1 2; do
    file=$sim/ramp$n.txt
    [[ -f "$file" ]] || fail "round $round: display $n was never loaded"
    values=$(ramp_values "$file")
    expect_eq "$(wc -w <<<"$values")" 768 "round $round: values in ramp$n.txt"
    grep -qxF "set $n ok $values" "$sim/log.txt" ||
      fail "round $round: ramp$n.txt holds a ramp that nobody loaded"
    [[ "$(grep "^set $n ok " "$sim/log.txt" | tail -1)" == "set $n ok $values" ]] &&
      last_matches=$((last_matches + 1))
  done
  for n in 1 2; do
    expect_eq "$(tr -cd '\n' <"$app/Tonemark$n.lut" | wc -c)" 1298 "round $round: lines of Tonemark$n.lut"
  done
  rm -rf "$case_dir"
done
echo "$rounds rounds: every process ended cleanly and every ramp file held a loaded ramp;" \
  "$last_matches of $((2 * rounds)) ramp files held the last ramp logged"
