#!/usr/bin/env bash
# Re-apply latency of tonewatch: from a RandR mode change on Xvfb, with the
# CRTC's ramp reset just before it, to the curve's ramp back in the CRTC.
# It includes the loader's one-second settle delay and a whole load-mode run.
# Baseline in the same run: that load-mode run alone, started directly from
# the same reset ramp. Goal: latency at most 1.5 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tests/e2e/curve_files.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tonewatch tonemark crtc_gamma curve_ramp >/dev/null
runs=${RUNS:-5}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
xrandr --newmode bench-800 40 800 840 968 1056 600 601 605 628
xrandr --addmode screen bench-800

mkdir -m 700 "$work/app" "$work/run"
cp build/bin/tonewatch build/bin/tonemark "$work/app/"
write_curve "$work/app/Tonemark1.lut" Gamma=20 BlackR=10 WhiteB=-30 BalanceG=5
build/bin/curve_ramp "$work/app/Tonemark1.lut" >"$work/target"
write_ramp "$work/identity" 'l * 257'

now() { date +%s.%N; }
reset_ramp() { build/bin/crtc_gamma set <"$work/identity"; }
# Seconds from $1 until the CRTC holds the curve's ramp.
seconds_to_target() {
  local held
  held=$(build/bin/crtc_gamma wait <"$work/target") || { echo "the curve did not come back" >&2; exit 1; }
  awk -v a="$1" -v b="$held" 'BEGIN { printf "%.3f", b - a }'
}
mean() { awk '{ sum += $1 } END { printf "%.3f", sum / NR }'; }

direct=()
for ((i = 0; i < runs; i++)); do
  reset_ramp
  start=$(now)
  HOME=$work "$work/app/tonemark" /load
  direct+=("$(seconds_to_target "$start")")
done

env -i PATH=/usr/bin:/bin HOME="$work" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$work/run" \
  DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus" "$work/app/tonewatch" /delay 600 &
pids+=($!)
seconds_to_target "$(now)" >/dev/null
sleep 1

reapply=()
modes=(bench-800 1024x768)
for ((i = 0; i < runs; i++)); do
  reset_ramp
  start=$(now)
  xrandr --output screen --mode "${modes[i % 2]}"
  reapply+=("$(seconds_to_target "$start")")
  sleep 0.5
done

direct_mean=$(printf '%s\n' "${direct[@]}" | mean)
reapply_mean=$(printf '%s\n' "${reapply[@]}" | mean)
reapply_worst=$(printf '%s\n' "${reapply[@]}" | sort -n | tail -n1)
echo "tonemark /load alone, reset ramp to curve:        ${direct[*]} s (mean $direct_mean s)"
echo "tonewatch, mode change to curve back in the CRTC: ${reapply[*]} s (mean $reapply_mean s)"
awk -v r="$reapply_mean" -v d="$direct_mean" -v w="$reapply_worst" 'BEGIN {
  printf "re-apply / load alone: %.2f\n", r / d
  printf "goal <= 1.5 s: %s (worst %.3f s)\n", (w <= 1.5 ? "met" : "missed"), w
}'
