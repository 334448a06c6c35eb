#!/usr/bin/env bash
# Tonewatch on a wlroots desktop, against the stand-in compositor
# (tests/platform/wayland/stand_in_compositor), in one run:
# - the loader's resident memory (RSS) while it holds four outputs' gamma
#   controls, against wlr_gamma_client holding the same four; goal: at most
#   1.5 MiB;
# - "tonemark /load" through the running loader, against wlr_gamma_client
#   setting the same tables on a compositor of its own (interleaved runs);
# - how soon an output that appears shows its curve (the last table of the
#   gradual transition), against one "tonemark /load"; goal: at most 1.5 s.
# Usage: bash bench/wlr_loader_bench.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20}
build=$root/build
cmake --preset default >/dev/null
cmake --build --preset default --target tonemark tonewatch stand_in_compositor wlr_gamma_client interleaved_runs >/dev/null
source "$root/tests/e2e/curve_files.sh"

work=$(mktemp -d)
pids=()
cleanup() {
  [[ -x $work/app/tonewatch ]] && "$work/app/tonewatch" /uninstall || true
  exec 7>&- 8>&- || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
mkdir "$work/app" "$work/home"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
unset TONEMARK_SIM TONEMARK_BACKEND TONEMARK_SCRIPT DISPLAY
cp "$build/bin/tonemark" "$build/bin/tonewatch" "$work/app/"
cp -r "$build/bin/Tonemark.languages" "$work/app/"
for i in 1 2 3 4; do write_curve "$work/app/Tonemark$i.lut" Gamma=20; done

outputs=DP-1:1024,DP-2:1024,DP-3:1024,DP-4:1024
mkfifo "$work/commands" "$work/other"
"$build/bin/stand_in_compositor" wayland-loader "$outputs" gamma <"$work/commands" >"$work/notes" &
pids+=($!)
exec 7>"$work/commands"
"$build/bin/stand_in_compositor" wayland-other "$outputs" gamma <"$work/other" >/dev/null &
pids+=($!)
exec 8>"$work/other"
sleep 0.3

export WAYLAND_DISPLAY=wayland-loader
"$work/app/tonemark" /load || { echo "load mode failed"; exit 1; }
for i in 1 2 3 4; do grep "^set DP-$i " "$work/notes" | tail -n 1; done >"$work/tables"
calibrated=$(grep '^set DP-4 ' "$work/tables" | cut -d' ' -f3-)

# Memory while holding four outputs.
sleep 1
loader=$(pgrep -u "$(id -u)" -f "^$work/app/tonewatch" | head -n 1)
WAYLAND_DISPLAY=wayland-other "$build/bin/wlr_gamma_client" "$work/tables" hold &
client=$!
pids+=($client)
sleep 0.5
rss() { awk '$1 == "VmRSS:" { print $2 }' "/proc/$1/status"; }
loader_rss=$(rss "$loader")
client_rss=$(rss "$client")
kill "$client"

# Load mode through the loader against the minimal client.
"$build/bin/interleaved_runs" "$runs" 3 "env WAYLAND_DISPLAY=wayland-other $build/bin/wlr_gamma_client $work/tables" \
  "$work/app/tonemark /load" >"$work/times"
client_ms=$(sed -n 1p "$work/times" | cut -d' ' -f2)
load_ms=$(sed -n 2p "$work/times" | cut -d' ' -f2)

# An output that appears: from its announcement to its curve on screen.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
appears=()
for _ in $(seq 5); do
  echo "remove DP-4" >&7
  sleep 0.3
  sets=$(grep -c '^set DP-4 ' "$work/notes")
  start=$(now_ms)
  echo "add DP-4:1024" >&7
  for _ in $(seq 500); do
    if (($(grep -c '^set DP-4 ' "$work/notes") > sets)) &&
      [[ $(grep '^set DP-4 ' "$work/notes" | tail -n 1 | cut -d' ' -f3-) == "$calibrated" ]]; then
      break
    fi
    sleep 0.005
  done
  appears+=($(($(now_ms) - start)))
  sleep 0.3
done
appear_ms=$(printf '%s\n' "${appears[@]}" | sort -n | sed -n 3p)

printf '\n%-58s %10s\n' "" "median"
printf '%-58s %7s KiB\n' "tonewatch holding 4 outputs (RSS)" "$loader_rss"
printf '%-58s %7s KiB\n' "wlr_gamma_client holding 4 outputs (RSS)" "$client_rss"
printf '%-58s %8.1f ms\n' "wlr_gamma_client setting 4 tables" "$client_ms"
printf '%-58s %8.1f ms\n' "tonemark /load through the loader" "$load_ms"
printf '%-58s %7s ms   (runs: %s)\n' "an output appears: its curve on screen" "$appear_ms" "${appears[*]}"
awk -v l="$loader_rss" -v c="$client_rss" -v lm="$load_ms" -v cm="$client_ms" -v a="$appear_ms" 'BEGIN {
  printf "\nloader RSS / minimal client RSS:          %.2f   (loader %.2f MiB; goal <= 1.5 MiB)\n", l / c, l / 1024
  printf "tonemark /load / minimal client:          %.2f\n", lm / cm
  printf "output appears to curve / tonemark /load: %.2f   (%.2f s; goal <= 1.5 s)\n", a / lm, a / 1000
}'
