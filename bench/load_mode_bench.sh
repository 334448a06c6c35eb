#!/usr/bin/env bash
# load_mode_bench.sh [BUILD_DIR]: times `tonemark /load` for a display that
# already holds its curve's ramp, against ArgyllCMS `dispwin` loading the same
# ramp from a .cal file and `xrandr --gamma`, all on one private Xvfb CRTC in
# the same run, and prints the ratios. The goals are tonemark <= 0.5 x dispwin
# and <= 1.0 x xrandr --gamma.
# With BASELINE_REV (a git revision; default: where this branch left main) the
# tonemark of that revision, built into a temporary folder (BASELINE_BUILD
# names one already built), loads the same curve stored as it was before
# monitors had identities, in the same turns: the goal is
# tonemark / baseline <= 1.00 (the monitor's identity costs nothing).
# Installs argyll and x11-xserver-utils when they are missing; builds
# tonemark, crtc_gamma and interleaved_runs with the default preset unless
# BUILD_DIR already has them.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build}
build=$(cd "$build" 2>/dev/null && pwd || echo "$build")
runs=${BENCH_RUNS:-200}

if [[ -z "${LOAD_BENCH_ON_XVFB:-}" ]]; then
  missing=()
  for package in argyll x11-xserver-utils xvfb; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
  done
  if ((${#missing[@]})); then
    sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  if [[ ! -x "$build/bin/tonemark" || ! -x "$build/bin/crtc_gamma" || ! -x "$build/bin/interleaved_runs" ]]; then
    cmake --preset default -S "$source_dir" >/dev/null
    cmake --build "$build" --target tonemark crtc_gamma interleaved_runs -j2
  fi
  if [[ -z "${BASELINE_BUILD:-}" && "${BASELINE_REV:-x}" != "" ]]; then
    rev=${BASELINE_REV:-$(git -C "$source_dir" merge-base HEAD main 2>/dev/null || true)}
    if [[ -n "$rev" ]]; then
      BASELINE_BUILD=$(mktemp -d)/build
      mkdir -p "$BASELINE_BUILD/../src"
      git -C "$source_dir" archive "$rev" | tar -x -C "$BASELINE_BUILD/../src"
      cmake -S "$BASELINE_BUILD/../src" -B "$BASELINE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
      cmake --build "$BASELINE_BUILD" --target tonemark -j2 >/dev/null
    fi
  fi
  export BASELINE_BUILD
  LOAD_BENCH_ON_XVFB=1 exec "$source_dir/tests/e2e/with_xvfb.sh" "$0" "$build"
fi

source "$source_dir/tests/e2e/curve_files.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
unset TONEMARK_SIM
mkdir -p "$HOME" "$work/app"
cp "$build/bin/tonemark" "$work/app/tonemark"   # portable: data beside it
write_curve "$work/app/Tonemark1.lut" Gamma=20 BlackR=10 WhiteB=-30 BalanceG=5
output=$(xrandr | awk '/ connected/ {print $1; exit}')
# The curve recorded as the monitor's own: Xvfb's output has no EDID, so its
# identity is its name.
printf '[Monitors]\r\nTonemark1.lut=@%s\r\n' "$output" >"$work/app/Tonemark.monitors"
baseline=()
if [[ -n "${BASELINE_BUILD:-}" ]]; then
  mkdir -p "$work/base"
  cp "$BASELINE_BUILD/bin/tonemark" "$work/base/tonemark"
  cp "$work/app/Tonemark1.lut" "$work/base/"
  baseline=("$work/base/tonemark /load")
fi

# Bring the display to its target, then take the ramp it holds as the .cal
# file that dispwin loads.
"$work/app/tonemark" /load
"$build/bin/crtc_gamma" get >"$work/ramp"
{
  printf 'CAL    \n\nDESCRIPTOR "Argyll Device Calibration State"\nORIGINATOR "load_mode_bench"\n'
  printf 'KEYWORD "DEVICE_CLASS"\nDEVICE_CLASS "DISPLAY"\nKEYWORD "COLOR_REP"\nCOLOR_REP "RGB"\n\n'
  printf 'NUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nRGB_I RGB_R RGB_G RGB_B\nEND_DATA_FORMAT\n\n'
  printf 'NUMBER_OF_SETS 256\nBEGIN_DATA\n'
  awk '{ for (i = 1; i <= NF; i++) v[NR, i] = $i }
       END { for (i = 1; i <= 256; i++)
               printf "%.7f %.7f %.7f %.7f\n", (i - 1) / 255, v[1, i] / 65535, v[2, i] / 65535, v[3, i] / 65535 }' \
      "$work/ramp"
  printf 'END_DATA\n'
} >"$work/curve.cal"

# The three take turns, run after run, so that whatever else the machine
# does falls on all of them alike; the first rounds are not counted. dispwin
# loads the curve's own ramp just before each tonemark run: tonemark finds
# the display at its target, as at a log-on after the last one.
"$build/bin/interleaved_runs" "$runs" 10 "xrandr --output $output --gamma 1:1:1" "dispwin -d 1 $work/curve.cal" \
  "$work/app/tonemark /load" "${baseline[@]}" >"$work/times"

# Other work on the machine makes single runs slow now and then; the median
# shows the typical run, the mean what such delays add.
awk '{ mean[NR] = $1; median[NR] = $2 }
  END {
    printf "\n%-16s %10s %10s\n", "", "mean ms", "median ms"
    split("xrandr --gamma,dispwin .cal,tonemark /load", names, ",")
    for (i = 1; i <= 3; i++) printf "%-16s %10.2f %10.2f\n", names[i], mean[i], median[i]
    printf "tonemark / dispwin: %.2f (mean), %.2f (median); goal <= 0.50\n",
           mean[3] / mean[2], median[3] / median[2]
    printf "tonemark / xrandr:  %.2f (mean), %.2f (median); goal <= 1.00\n",
           mean[3] / mean[1], median[3] / median[1]
    if (NR > 3) {
      printf "%-16s %10.2f %10.2f\n", "baseline /load", mean[4], median[4]
      printf "tonemark / baseline: %.2f (mean), %.2f (median); goal <= 1.00\n",
             mean[3] / mean[4], median[3] / median[4]
    }
  }' "$work/times"
