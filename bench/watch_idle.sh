#!/usr/bin/env bash
# Idle cost of the watch on X11 (Xvfb): CPU time and resident memory of
# tonewatch over 60 s while it watches 3 displays whose calibration shows,
# against the previous build of tonewatch (no watch) idling beside it in the
# same run. Goals: at most 5 ms of CPU per minute; resident memory within
# 10 % of the previous build's.
#
# Xvfb has one RandR output per screen, so the 3 displays are that output
# three times over: the load run's Tonemark.shown is copied into three
# sections with identities of their own, and the watch reads the same CRTC
# once for each, as it would three outputs.
#
# The previous build is tonewatch at BASE (default: where this branch left
# main), built from `git archive` in a temporary folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tests/e2e/curve_files.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tonewatch tonemark crtc_gamma curve_ramp >/dev/null
seconds=${SECONDS_WATCHED:-60}
base=${BASE:-$(git merge-base HEAD main)}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/base"
git archive "$base" | tar -x -C "$work/base"
(cd "$work/base" && cmake --preset default >/dev/null 2>&1 && cmake --build --preset default --target tonewatch >/dev/null)

Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")

for app in new old; do
  mkdir -m 700 "$work/$app" "$work/$app/run"
  cp build/bin/tonemark "$work/$app/"
  write_curve "$work/$app/Tonemark1.lut" Gamma=20 BlackR=10 WhiteB=-30 BalanceG=5
done
cp build/bin/tonewatch "$work/new/"
cp "$work/base/build/bin/tonewatch" "$work/old/"
HOME=$work "$work/new/tonemark" /load
[[ -s $work/new/Tonemark.shown ]] || { echo "load mode left no Tonemark.shown" >&2; exit 1; }
awk '/^\[Display1\]/ { body = 1 } body { print > "'"$work/section"'" }' "$work/new/Tonemark.shown"
for n in 1 2 3; do
  sed -e "s/^\[Display1\]/[Display$n]/" -e "s/^Identity=\(.*\)/Identity=\1-$n/" "$work/section"
done >"$work/new/Tonemark.shown.new"
mv "$work/new/Tonemark.shown.new" "$work/new/Tonemark.shown"

start_loader() {
  env -i PATH=/usr/bin:/bin HOME="$work" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$work/$1/run" \
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
    "$work/$1/tonewatch" /delay 600 &
  pids+=($!)
}
start_loader new
new=${pids[-1]}
start_loader old
old=${pids[-1]}
sleep 5  # settled, past their start and its load run

cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
rss_kib() { awk '$1 == "VmRSS:" { print $2 }' "/proc/$1/status"; }
new_start=$(cpu_ns "$new")
old_start=$(cpu_ns "$old")
sleep "$seconds"
new_ms=$(awk -v a="$new_start" -v b="$(cpu_ns "$new")" -v s="$seconds" 'BEGIN { printf "%.3f", (b - a) / 1e6 * 60 / s }')
old_ms=$(awk -v a="$old_start" -v b="$(cpu_ns "$old")" -v s="$seconds" 'BEGIN { printf "%.3f", (b - a) / 1e6 * 60 / s }')
new_kib=$(rss_kib "$new")
old_kib=$(rss_kib "$old")

echo "tonewatch watching 3 displays: CPU $new_ms ms per minute, resident $new_kib KiB"
echo "previous build (no watch):     CPU $old_ms ms per minute, resident $old_kib KiB"
awk -v n="$new_ms" -v nk="$new_kib" -v ok="$old_kib" 'BEGIN {
  printf "resident memory, watch / previous build: %.3f\n", nk / ok
  printf "goal CPU <= 5 ms per minute: %s; goal memory within 10 %%: %s\n",
    (n <= 5 ? "met" : "missed"), (nk <= ok * 1.1 ? "met" : "missed")
}'
