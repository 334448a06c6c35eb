#!/usr/bin/env bash
# Restore time of the watch on X11 (Xvfb): from another program's ramp
# (xrandr --gamma) to the calibration back in the CRTC, with the default
# period of 3 s. Each round replaces the ramp at a random moment of the
# period. Baseline in the same run: the re-load alone ("tonemark /load
# /reapply <identity>" from the same replaced ramp). Goal: at most 3.5 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tests/e2e/curve_files.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tonewatch tonemark crtc_gamma curve_ramp >/dev/null
runs=${RUNS:-8}

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

mkdir -m 700 "$work/app" "$work/run"
cp build/bin/tonewatch build/bin/tonemark "$work/app/"
write_curve "$work/app/Tonemark1.lut" Gamma=20 BlackR=10 WhiteB=-30 BalanceG=5
build/bin/curve_ramp "$work/app/Tonemark1.lut" >"$work/target"

now() { date +%s.%N; }
replace_ramp() { xrandr --output screen --gamma 0.6:0.6:0.6; }
# Seconds from $1 until the CRTC holds the curve's ramp.
seconds_to_target() {
  local held
  held=$(build/bin/crtc_gamma wait <"$work/target") || { echo "the calibration did not come back" >&2; exit 1; }
  awk -v a="$1" -v b="$held" 'BEGIN { printf "%.3f", b - a }'
}
stats() { sort -n | awk '{ v[NR] = $1; s += $1 } END { printf "mean %.3f s, worst %.3f s", s / NR, v[NR] }'; }

env -i PATH=/usr/bin:/bin HOME="$work" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$work/run" \
  DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
  "$work/app/tonewatch" /delay 600 &
pids+=($!)
seconds_to_target "$(now)" >/dev/null
for _ in $(seq 100); do [[ -s $work/app/Tonemark.shown ]] && break; sleep 0.05; done
identity=$(sed -n 's/^Identity=//p' "$work/app/Tonemark.shown" | head -n1)

restore=()
for ((i = 0; i < runs; i++)); do
  # Past the 10 s in which a quick replacement counts toward giving the
  # display up, then a random moment of the period.
  sleep "$(awk -v seed="$RANDOM" 'BEGIN { srand(seed); printf "%.2f", 10.5 + rand() * 3 }')"
  start=$(now)
  replace_ramp
  restore+=("$(seconds_to_target "$start")")
done
kill "${pids[-1]}"

reload=()
for ((i = 0; i < runs; i++)); do
  replace_ramp
  start=$(now)
  HOME=$work "$work/app/tonemark" /load /reapply "$identity" 2>/dev/null
  reload+=("$(seconds_to_target "$start")")
done

echo "the re-load alone (tonemark /load /reapply):     ${reload[*]} s ($(printf '%s\n' "${reload[@]}" | stats))"
echo "tonewatch, replaced ramp to calibration back:    ${restore[*]} s ($(printf '%s\n' "${restore[@]}" | stats))"
printf '%s\n' "${restore[@]}" | sort -n | tail -n1 | awk -v r="$(printf '%s\n' "${reload[@]}" | awk '{ s += $1 } END { print s / NR }')" '{
  printf "worst restore / re-load alone: %.2f\n", $1 / r
  printf "goal <= 3.5 s: %s (worst %.3f s)\n", ($1 <= 3.5 ? "met" : "missed"), $1
}'
