#!/usr/bin/env bash
# single_session.sh TONEMARK [WINE-RUN]: one editing session per user, run
# under with_xvfb.sh, natively or (with WINE-RUN) the Windows build under Wine. A second start in normal mode while a session runs ends at
# once with exit code 0, touching neither the displays nor the curve files,
# and brings the running window back to the front; load mode still runs
# beside the session. With the scripted view, and natively with the real
# window too.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1
runner=${2:-}

root=$(mktemp -d)
# set +e: kill fails on a job that ended already, and errexit inside the trap
# would turn a passing run into a failed one.
trap 'set +e; exec 3>&- 2>/dev/null; jobs -p | xargs -r kill 2>/dev/null; rm -rf "$root"' EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$HOME"
export XDG_RUNTIME_DIR=$root/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
fresh_case
[[ -n "$runner" ]] || cp "$(dirname "$program")/tonemark-window" "$app/"
export TONEMARK_SIM=$(sim_path)
printf '[Monitor1]\nRect=0,0,1024,768\n' >"$sim/displays.ini"

# The scripted session, its input held open on a pipe.
mkfifo "$root/input"
TONEMARK_SCRIPT=1 $runner "$exe" <"$root/input" >"$case_dir/first" 2>&1 &
first=$!
exec 3>"$root/input"
echo 'type WhiteEdit -100' >&3
for _ in $(seq 300); do grep -q '^set 1 ok' "$sim/log.txt" 2>/dev/null && break; sleep 0.1; done
grep -q '^set 1 ok' "$sim/log.txt" || fail "the first session did not start"
log_lines=$(wc -l <"$sim/log.txt")

status=0
printf 'type WhiteEdit 0\nclick OkButton\n' | TONEMARK_SCRIPT=1 timeout 60 $runner "$exe" >"$case_dir/second" 2>&1 || status=$?
expect_eq "$status" 0 "the second session's exit code"
expect_eq "$(cat "$case_dir/second")" "" "the second session's output"
expect_eq "$(wc -l <"$sim/log.txt")" "$log_lines" "calls on the displays by the second session"
[[ ! -e "$app/Tonemark1.lut" ]] || fail "the second session wrote a curve file"

timeout 60 $runner "$exe" /load || fail "load mode did not run beside the session"

echo 'click OkButton' >&3
exec 3>&-
wait "$first" || fail "the first session ended with code $?"
grep -qx 'White=-100' <(tr -d '\r' <"$app/Tonemark1.lut" | sed -n '12s/^/White=/p') ||
  fail "the first session's curve was not stored: $(sed -n 12p "$app/Tonemark1.lut")"

[[ -z "$runner" ]] || { echo "single session: all cases passed"; exit 0; }

# The real window: covered by another window, it comes back to the front
# when Tonemark is started again.
rm -f "$app/Tonemark1.lut"
"$exe" >"$case_dir/out" 2>"$case_dir/err" &
session=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orvana Tonemark') || fail "no window appeared"
xmessage -name cover -geometry 1024x768+0+0 cover &
cover=$(timeout 30 xdotool search --sync --onlyvisible --classname '^cover$') || fail "no covering window"
# xwininfo lists the root window's children from the top down.
top_of_both() {
  local line top=
  while read -r line; do
    [[ -z $top && $line =~ ^(0x[0-9a-f]+) ]] || continue
    case $((BASH_REMATCH[1])) in
      "$window") top=tonemark ;;
      "$cover") top=cover ;;
    esac
  done < <(xwininfo -root -children)
  echo "$top"
}
expect_eq "$(top_of_both)" cover "the window on top before the second start"
status=0
timeout 20 "$exe" >"$case_dir/second" 2>&1 || status=$?
expect_eq "$status" 0 "the second start's exit code"
for _ in $(seq 100); do [[ $(top_of_both) == tonemark ]] && break; sleep 0.1; done
expect_eq "$(top_of_both)" tonemark "the window on top after the second start"
expect_eq "$(xdotool search --onlyvisible --name '^Orvana Tonemark' | wc -l)" 1 "calibration windows"
kill -0 "$session" || fail "the running session ended"
kill "$session"
echo "single session: all cases passed"
