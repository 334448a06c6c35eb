#!/usr/bin/env bash
# Resident set size (RSS) of tonewatch while it waits, against redshift idling
# as a daemon in the same run; redshift is only a yardstick. Goal: tonewatch
# at most 1.5 MiB and at most half of redshift.
#
# tonewatch runs from a temporary folder with a stand-in tonemark that does
# nothing, on a private D-Bus daemon standing in for the system bus, watching
# the RandR configuration of an Xvfb; redshift drives the RandR gamma of the
# same Xvfb, with a fixed location.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

needed=()
for package in redshift xvfb dbus-daemon; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || needed+=("$package")
done
if ((${#needed[@]})); then
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${needed[@]}" >/dev/null
fi
cmake --preset default >/dev/null
cmake --build --preset default --target tonewatch >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/run" "$work/home"
cp build/bin/tonewatch "$work/"
printf '#!/bin/sh\nexit 0\n' >"$work/tonemark"
chmod +x "$work/tonemark"

dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" 2>/dev/null &
pids+=($!)
# Xvfb picks a free display number itself and writes it to the file.
Xvfb -displayfd 3 -noreset -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -S $work/bus && -s $work/display ]] && break; sleep 0.1; done
display=$(head -n1 "$work/display")

delay=3
env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/run" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus" \
  DISPLAY=":$display" "$work/tonewatch" /delay $delay &
loader=$!
pids+=($loader)
env -i PATH=/usr/bin:/bin HOME="$work/home" DISPLAY=":$display" \
  redshift -m randr -l 52.5:13.4 >/dev/null 2>&1 &
redshift=$!
pids+=($redshift)

field() { awk -v name="$2:" '$1 == name { print $2 }' "/proc/$1/status"; }
report() {
  printf '%-44s %6s KiB  (anonymous %s, file %s)\n' "$1" "$(field "$2" VmRSS)" \
    "$(field "$2" RssAnon)" "$(field "$2" RssFile)"
}

sleep 1
report "tonewatch, waiting for its timed launch" $loader
sleep $((delay + 1))
report "tonewatch, waiting after the timed launch" $loader
report "redshift, idling as a daemon" $redshift

loader_kib=$(field $loader VmRSS)
redshift_kib=$(field $redshift VmRSS)
awk -v loader="$loader_kib" -v redshift="$redshift_kib" 'BEGIN {
  ratio = loader / redshift
  printf "tonewatch / redshift: %.2f\n", ratio
  printf "goal <= 1.5 MiB: %s; goal <= 0.5 x redshift: %s\n",
    (loader <= 1536 ? "met" : "missed"), (ratio <= 0.5 ? "met" : "missed")
}'
