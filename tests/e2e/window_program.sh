#!/usr/bin/env bash
# window_program.sh TONEMARK: normal mode of the real program on a simulated
# display, run under with_xvfb.sh. tonemark starts tonemark-window from its
# folder, whose window appears over the display's rectangle; a real click on
# OK ends the session with exit code 0, the curve file and the autostart entry;
# SIGKILL of the window has its guardian put the ramp back; tonemark hands
# the run over before it looks for displays.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1
runner=""

root=$(mktemp -d)
# set +e: kill fails on a job that ended already, and errexit inside the trap
# would turn a passing run into a failed one.
trap 'set +e; jobs -p | xargs -r kill 2>/dev/null; rm -rf "$root"' EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$HOME"
export XDG_RUNTIME_DIR=$root/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
fresh_case
cp "$(dirname "$program")/tonemark-window" "$app/"
export TONEMARK_SIM=$sim
printf '[Monitor1]\nRect=0,0,1024,768\n' >"$sim/displays.ini"

# Where OK is, from the window's own layout as the scripted view reports it.
layout=$(printf 'show Panel\nshow OkButton\n' | TONEMARK_SCRIPT=1 "$exe")
bounds() { sed -n "s/^$1 .*bounds=\([-0-9,]*\).*/\1/p" <<<"$layout" | tr ',' ' '; }
read -r _ bar_top _ _ <<<"$(bounds Panel)"
read -r ok_left ok_top ok_width ok_height <<<"$(bounds OkButton)"
rm -f "$app/Tonemark.settings"

"$exe" >"$case_dir/out" 2>"$case_dir/err" &
session=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orvana Tonemark') ||
  fail "no window appeared: $(cat "$case_dir/err")"
geometry=$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | tr '\n' ' ')
expect_eq "$geometry" "X=0 Y=0 WIDTH=1024 HEIGHT=768 " "the window's place"
xdotool mousemove $((ok_left + ok_width / 2)) $((bar_top + ok_top + ok_height / 2)) click 1
set +e
timeout 30 tail --pid=$session -f /dev/null
wait $session
status=$?
set -e
expect_eq "$status" 0 "exit code after OK"
expect_eq "$(cat "$case_dir/err")" "" "messages"
expect_eq "$(head -n1 "$app/Tonemark1.lut" | tr -d '\r')" "RampCurve v.2" "the curve file"
grep -qx "Exec=\"$app/tonewatch\"" "$HOME/config/autostart/tonewatch.desktop" || fail "no autostart entry for $app/tonewatch"
# SIGKILL of the window: its guardian, the small tonemark beside it rather
# than a second copy of the toolkit's program, puts the display's ramp back.
fresh_case
cp "$(dirname "$program")/tonemark-window" "$app/"
export TONEMARK_SIM=$sim
printf '[Monitor1]\nRect=0,0,1024,768\n' >"$sim/displays.ini"
write_ramp "$sim/ramp1.txt" 'l * 200'
write_curve "$app/Tonemark1.lut" Gamma=20
ramp() { tr -s ' \n' '\n\n' <"$sim/ramp1.txt" | sed '/^$/d'; }
ramp >"$case_dir/saved"
"$exe" >"$case_dir/out" 2>"$case_dir/err" &
session=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Orvana Tonemark' >/dev/null ||
  fail "no window appeared: $(cat "$case_dir/err")"
for _ in $(seq 100); do
  ramp | cmp -s - "$case_dir/saved" || break
  sleep 0.05
done
ramp | cmp -s - "$case_dir/saved" && fail "the window changed no ramp"
# Another run's tonemark may end (or linger as a zombie) between pgrep and readlink.
guardians=$(for pid in $(pgrep -x tonemark); do readlink "/proc/$pid/exe" || true; done)
grep -qx "$app/tonemark" <<<"$guardians" || fail "no guardian runs $app/tonemark: $guardians"
kill -KILL "$session"
wait "$session" 2>/dev/null || true
for _ in $(seq 100); do
  ramp | cmp -s - "$case_dir/saved" && break
  sleep 0.05
done
ramp | cmp -s - "$case_dir/saved" || fail "the ramp was not put back after SIGKILL"
# Normal mode goes to the window's program before anything else, with the
# same arguments: even without a display, which the window reports itself.
fresh_case
printf '#!/bin/sh\necho "window $*"\n' >"$app/tonemark-window"
chmod +x "$app/tonemark-window"
export TONEMARK_SIM=$sim
set +e
out=$("$exe" -load /load 2>"$case_dir/err")
status=$?
set -e
expect_eq "$status" 0 "hand-over exit code"
expect_eq "$out" "window -load /load" "the window program's arguments"
expect_eq "$(cat "$case_dir/err")" "" "hand-over messages"
echo "window_program: ok"
