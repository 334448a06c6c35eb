#!/usr/bin/env bash
# gnome_load_bench.sh [BUILD_DIR]: times `tonemark /load` in a GNOME session
# whose Mutter is the stand-in (DisplayConfig on a private session bus, one
# 256-entry CRTC already at the target), against `gdbus call` setting the
# same ramp through SetCrtcGamma, in the same run, and prints the ratio.
# Builds tonemark, mutter_stand_in and interleaved_runs with the default
# preset unless BUILD_DIR already has them.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build}
runs=${BENCH_RUNS:-200}
if [[ ! -x "$build/bin/tonemark" || ! -x "$build/bin/mutter_stand_in" || ! -x "$build/bin/interleaved_runs" ]]; then
  cmake --preset default -S "$source_dir" >/dev/null
  cmake --build "$build" --target tonemark mutter_stand_in interleaved_runs -j2
fi

work=$(mktemp -d)
mutter=""
trap '[[ -n "$mutter" ]] && kill "$mutter" && wait "$mutter"; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export XDG_SESSION_TYPE=wayland
unset TONEMARK_SIM TONEMARK_BACKEND WAYLAND_DISPLAY
mkdir -p "$HOME" "$work/app" "$work/mutter"
cp "$build/bin/tonemark" "$work/app/tonemark"   # portable: data beside it, no curve: the linear ramp
"$build/bin/mutter_stand_in" "$work/mutter" DP-1:256 2>/dev/null &
mutter=$!
for _ in $(seq 200); do [[ -e "$work/mutter/address" ]] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=$(cat "$work/mutter/address")

# The linear ramp, as load mode's target for a display without a curve file.
channel=$(seq 0 255 | awk '{ printf "%s%d", (NR > 1 ? "," : ""), $1 * 256 }')
set_ramp="gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
--method org.gnome.Mutter.DisplayConfig.SetCrtcGamma 1 0 [$channel] [$channel] [$channel]"
$set_ramp >/dev/null
"$build/bin/interleaved_runs" "$runs" 10 "$set_ramp" "$work/app/tonemark /load" >"$work/times"

awk '{ mean[NR] = $1; median[NR] = $2 }
  END {
    printf "\n%-22s %10s %10s\n", "", "mean ms", "median ms"
    split("gdbus SetCrtcGamma,tonemark /load (GNOME)", names, ",")
    for (i = 1; i <= 2; i++) printf "%-22s %10.2f %10.2f\n", names[i], mean[i], median[i]
    printf "tonemark / gdbus: %.2f (mean), %.2f (median)\n", mean[2] / mean[1], median[2] / median[1]
  }' "$work/times"
