#!/usr/bin/env bash
# Tonewatch's cost of its notification-area icon: resident memory and CPU time
# of two loaders side by side in the same run, on one session bus, one with
# the icon registered with a real host (waybar's tray on a headless sway) and
# its menu read once, the other with /notray as the baseline. Goals: with the
# icon at most 1.5 x without and at most 2 MiB; idle CPU time the same.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target tonewatch >/dev/null

work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
cp build/bin/tonewatch "$work/"
printf '#!/bin/sh\nexit 0\n' >"$work/tonemark"
printf '[Tonewatch]\nTray=1\n' >"$work/Tonemark.settings"
cp tests/real/mutter_session_bus.conf "$work/"
chmod -R a+rX "$work"

cat >"$work/inside.sh" <<'INSIDE'
set -euo pipefail
work=$1 out=$SWAY_WORK
export HOME=$out/home XDG_CONFIG_HOME=$out/home/config
mkdir -p "$XDG_CONFIG_HOME/waybar" "$out/app" "$out/run-icon" "$out/run-plain" "$out/sim"
chmod 700 "$out/run-icon" "$out/run-plain"
cp "$work/tonewatch" "$work/tonemark" "$work/Tonemark.settings" "$out/app/"
printf '{"modules-right": ["tray"]}\n' >"$XDG_CONFIG_HOME/waybar/config"
# A bus that starts nothing on demand.
sed "s|@ADDRESS@|unix:path=$out/bus|" "$work/mutter_session_bus.conf" >"$out/bus.conf"
dbus-daemon --config-file="$out/bus.conf" --nofork --nopidfile >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -S $out/bus ]] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=unix:path=$out/bus
waybar >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do busctl --user status org.kde.StatusNotifierWatcher >/dev/null 2>&1 && break; sleep 0.1; done
run() {  # run RUNTIME ARGS...: a loader on the simulated displays only
  local runtime=$1
  shift
  env -i PATH=/usr/bin:/bin HOME="$HOME" XDG_RUNTIME_DIR="$runtime" TONEMARK_SIM="$out/sim" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent \
    "$out/app/tonewatch" /delay 2 "$@" &
  pids+=($!)
}
run "$out/run-plain" /notray
plain=$!
run "$out/run-icon"
icon=$!
for _ in $(seq 100); do
  busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -q "StatusNotifierItem-$icon-1" && break
  sleep 0.1
done
busctl --user call -- "org.kde.StatusNotifierItem-$icon-1" /MenuBar com.canonical.dbusmenu GetLayout iias 0 -1 0 \
  >/dev/null
sleep 4  # past the timed launch, which trims the working set
field() { awk -v name="$2:" '$1 == name { print $2 }' "/proc/$1/status"; }
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
report() { printf '%-34s %5s KiB  (anonymous %s, file %s)\n' "$1" "$(field "$2" VmRSS)" "$(field "$2" RssAnon)" \
  "$(field "$2" RssFile)"; }
report "tonewatch /notray" "$plain"
report "tonewatch with its icon in waybar" "$icon"
cpu_plain=$(cpu "$plain") cpu_icon=$(cpu "$icon")
sleep 20
echo "CPU ticks in 20 s idle: /notray $(($(cpu "$plain") - cpu_plain)), with the icon $(($(cpu "$icon") - cpu_icon))"
awk -v plain="$(field "$plain" VmRSS)" -v icon="$(field "$icon" VmRSS)" 'BEGIN {
  ratio = icon / plain
  printf "with icon / without: %.2f; goal <= 1.5: %s; goal <= 2 MiB: %s\n", ratio,
    (ratio <= 1.5 ? "met" : "missed"), (icon <= 2048 ? "met" : "missed")
}'
INSIDE
SWAY_OUTPUT_MODE=1280x720 tests/wayland/with_sway.sh bash "$work/inside.sh" "$work"
