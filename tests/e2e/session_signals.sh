#!/usr/bin/env bash
# session_signals.sh TONEMARK [CRTC_GAMMA]: an editing session that ends by a
# signal, SIGKILL included, leaves every display with the ramp it had when the
# session started; one that ends with OK keeps its ramps. On simulated
# displays, or with CRTC_GAMMA (under with_xvfb.sh) on Xvfb's real CRTC.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 crtc_gamma=${2:-}
runner=""

root=$(mktemp -d)
session_pid=""
cleanup() {
  [[ -n "$session_pid" ]] && kill -KILL "$session_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
export TONEMARK_SCRIPT=1
mkdir -p "$HOME"

# The displays' ramps as one value a line: the simulated ones, or the CRTC's.
ramps() {
  if [[ -n "$crtc_gamma" ]]; then "$crtc_gamma" get; else cat "$sim/ramp1.txt" "$sim/ramp2.txt"; fi |
    tr -s ' \n' '\n\n' | sed '/^$/d'
}

# start_session [LAUNCHER...]: the program in normal mode on the case's
# displays, started through LAUNCHER (default: every signal at its default
# action, as a terminal's foreground job has them), its script coming through
# a FIFO kept open on descriptor 3, after two displays were edited.
start_session() {
  local launcher=("$@")
  (( ${#launcher[@]} )) || launcher=(env --default-signal)
  fresh_case
  if [[ -n "$crtc_gamma" ]]; then
    write_ramp "$case_dir/start" 'l * 200'
    "$crtc_gamma" set <"$case_dir/start"
  else
    printf '[Monitor1]\n[Monitor2]\n' >"$sim/displays.ini"
    write_ramp "$sim/ramp1.txt" 'l * 200'
    write_ramp "$sim/ramp2.txt" 'l * 100'
  fi
  ramps >"$case_dir/saved"
  mkfifo "$case_dir/script"
  if [[ -n "$crtc_gamma" ]]; then
    (unset TONEMARK_SIM; exec "${launcher[@]}" "$exe" <"$case_dir/script" >"$case_dir/out" 2>"$case_dir/err") &
  else
    TONEMARK_SIM=$sim "${launcher[@]}" "$exe" <"$case_dir/script" >"$case_dir/out" 2>"$case_dir/err" &
  fi
  session_pid=$!
  exec 3>"$case_dir/script"
  printf 'type BlackEdit 40\nclick NextDisplayButton\ntype BlackEdit 30\nstate\n' >&3
  for _ in $(seq 200); do
    [[ -s "$case_dir/out" ]] && break
    sleep 0.05
  done
  [[ -s "$case_dir/out" ]] || fail "the session did not start: $(cat "$case_dir/err")"
  ramps | cmp -s - "$case_dir/saved" && fail "the session changed no ramp"
  return 0
}

# end_session: closes the script and waits for the program; sets status.
end_session() {
  exec 3>&-
  set +e
  wait "$session_pid"
  status=$?
  set -e
  session_pid=""
}

for signal in TERM INT HUP QUIT SEGV ABRT KILL; do
  start_session
  kill -s "$signal" "$session_pid"
  end_session
  (( status > 128 )) || fail "SIG$signal: the program ended with $status"
  # The guardian loads the ramps back before a catchable signal ends the
  # program; after SIGKILL it does so as soon as it finds the program gone.
  for _ in $(seq 100); do
    ramps | cmp -s - "$case_dir/saved" && break
    [[ $signal == KILL ]] || break
    sleep 0.05
  done
  ramps | cmp -s - "$case_dir/saved" || fail "SIG$signal: the saved ramps did not come back"
done

# nohup: the hang-up that the user asked to ignore neither ends the session
# nor takes its ramps away.
start_session nohup
kill -s HUP "$session_pid"
sleep 0.5
kill -0 "$session_pid" 2>/dev/null || fail "nohup: SIGHUP ended the session"
ramps | cmp -s - "$case_dir/saved" && fail "nohup: SIGHUP put the saved ramps back"
kill -s TERM "$session_pid"
end_session
ramps | cmp -s - "$case_dir/saved" || fail "nohup: SIGTERM did not put the saved ramps back"

# A guardian that does not answer keeps the session at most two seconds; it
# still puts the ramps back once it runs again and finds the session gone.
start_session
guardian=$(pgrep -P "$session_pid")
kill -s STOP "$guardian"
kill -s TERM "$session_pid"
for _ in $(seq 60); do
  kill -0 "$session_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$session_pid" 2>/dev/null && { kill -s CONT "$guardian"; fail "a stopped guardian kept the session from ending"; }
end_session
(( status > 128 )) || fail "stopped guardian: the program ended with $status"
kill -s CONT "$guardian"
for _ in $(seq 100); do
  ramps | cmp -s - "$case_dir/saved" && break
  sleep 0.05
done
ramps | cmp -s - "$case_dir/saved" || fail "stopped guardian: the saved ramps did not come back"

start_session
printf 'click OkButton\n' >&3
end_session
expect_eq "$status" 0 "OK exit code"
ramps | cmp -s - "$case_dir/saved" && fail "OK: the ramps were put back"

echo "session signals: every display got its saved ramp back"
