#!/usr/bin/env bash
# wlr_loader.sh TONEMARK TONEWATCH STAND_IN_COMPOSITOR: Tonewatch keeps the
# calibration on a wlroots desktop (the stand-in compositor), holding each
# output's gamma control: "tonemark /load" starts it when none runs and
# loads through it; it loads an output that appears and one that another
# program took over; a calibration session takes the outputs over from it and
# hands them back, after OK with the new curve (starting a loader again when
# it ended meanwhile), after Cancel or a crash with the old one; a refusing output is reported by name with exit code 1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tonemark=$1 tonewatch=$2 stand_in=$3
source "$here/../../e2e/curve_files.sh"

root=$(mktemp -d)
stand_in_pid=
cleanup() {
  [[ -x $root/app/tonewatch ]] && "$root/app/tonewatch" /uninstall || true
  exec 7>&- || true
  [[ -z $stand_in_pid ]] || wait "$stand_in_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
mkdir -m 700 "$root/runtime"
mkdir "$root/app" "$root/home"
export XDG_RUNTIME_DIR=$root/runtime WAYLAND_DISPLAY=wayland-wlr HOME=$root/home
export XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
export DBUS_SESSION_BUS_ADDRESS=unix:path=$root/no-bus
unset TONEMARK_SIM TONEMARK_BACKEND TONEMARK_SCRIPT DISPLAY
app=$root/app
cp "$tonemark" "$tonewatch" "$app/"
cp -r "$(dirname "$tonemark")/Tonemark.languages" "$app/"
write_curve "$app/Tonemark1.lut" Gamma=20

mkfifo "$root/commands"
"$stand_in" wayland-wlr DP-1:1024,DP-2:256 gamma <"$root/commands" >"$root/notes" &
stand_in_pid=$!
exec 7>"$root/commands"
for _ in $(seq 100); do grep -q ready "$root/notes" && break; sleep 0.02; done

count() { grep -c "^$1\$" "$root/notes" || true; }
# The last table the output showed, as one line of entries.
last_table() { grep "^set $1 " "$root/notes" | tail -n 1 | cut -d' ' -f3-; }
# wait_for COUNT LINE: until LINE has come COUNT times, 3 s at most.
wait_for() {
  for _ in $(seq 150); do (($(count "$2") >= $1)) && return 0; sleep 0.02; done
  fail "no '$2' (the ${1}th)"
}
settle() { sleep 0.5; }

# No loader runs: load mode starts one, loads through it and ends; the
# tables stay, since the loader holds the controls.
"$app/tonemark" /load 2>"$root/err" || fail "load mode: $(cat "$root/err")"
[[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] || fail "no loader runs after load mode"
settle
expect_eq "$(count 'restored DP-1')" 0 "tables given back after load mode"
calibrated=$(last_table DP-1)
expect_eq "$(wc -w <<<"$calibrated")" 3072 "DP-1's table size"
linear=$(last_table DP-2)
expect_eq "$(cut -d' ' -f129 <<<"$linear")" 32768 "DP-2's linear table, level 128"
[[ $(cut -d' ' -f513 <<<"$calibrated") != 32768 ]] || fail "DP-1 shows no curve"

# Another program takes DP-1 over: a second later the loader has it back,
# with its curve.
held=$(count 'held DP-1')
echo "fail DP-1" >&7
wait_for $((held + 1)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$calibrated" "DP-1's table after it was taken over"

# An output appears: it gets its curve (the linear one: it has no file).
echo "add HDMI-A-1:512" >&7
wait_for 1 'held HDMI-A-1'
for _ in $(seq 150); do [[ -n $(last_table HDMI-A-1) ]] && break; sleep 0.02; done
expect_eq "$(wc -w <<<"$(last_table HDMI-A-1)")" 1536 "the new output's table"

# A session takes the outputs over and hands them back: after Cancel the old
# curve, after OK the new one.
# Each session takes DP-1 once, and the loader takes it back once.
held=$(count 'held DP-1')
printf 'up GammaUpDown\nup GammaUpDown\nclick CancelButton\n' | TONEMARK_SCRIPT=1 "$app/tonemark" >/dev/null
wait_for $((held + 2)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$calibrated" "DP-1 after Cancel"

printf 'up GammaUpDown\nup GammaUpDown\nclick OkButton\n' | TONEMARK_SCRIPT=1 "$app/tonemark" >/dev/null
session=$(last_table DP-1)
[[ $session != "$calibrated" ]] || fail "the session changed nothing"
wait_for $((held + 4)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$session" "DP-1 after OK"

# A session that is killed: the old curve again.
mkfifo "$root/script"
TONEMARK_SCRIPT=1 "$app/tonemark" <"$root/script" >/dev/null &
session_pid=$!
exec 8>"$root/script"
printf 'up GammaUpDown\nup GammaUpDown\nup GammaUpDown\n' >&8
wait_for $((held + 5)) 'held DP-1'
sleep 0.3
kill -9 "$session_pid"
wait "$session_pid" 2>/dev/null || true
exec 8>&-
wait_for $((held + 6)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$session" "DP-1 after a killed session"

# The loader ends during a session: OK starts another, which takes the
# outputs over with the new curve once the session has ended.
loader_pid() {
  for process in /proc/[0-9]*; do
    [[ $(readlink "$process/exe" 2>/dev/null) != "$app/tonewatch" ]] || echo "${process#/proc/}"
  done
}
mkfifo "$root/ok-script"
held=$(count 'held DP-1')
TONEMARK_SCRIPT=1 "$app/tonemark" <"$root/ok-script" >/dev/null 2>"$root/err" 7>&- &
session_pid=$!
exec 8>"$root/ok-script"
printf 'down GammaUpDown\n' >&8
wait_for $((held + 1)) 'held DP-1'
ended=$(loader_pid)
[[ -n $ended ]] || fail "no loader runs before the session's OK"
kill -9 $ended
printf 'click OkButton\n' >&8
exec 8>&-
status=0
wait "$session_pid" || status=$?
expect_eq "$status/$(cat "$root/err")" "0/" "OK after the loader ended: exit code and messages"
session=$(last_table DP-1)
wait_for $((held + 2)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$session" "DP-1 after OK once the loader had ended"
[[ -n $(loader_pid) ]] || fail "no loader runs after OK"

# No loader runs: the session takes the outputs itself, and OK starts one,
# which takes them over with the new curve once the session has ended.
"$app/tonewatch" /uninstall
wait_for 1 'restored HDMI-A-1'
held=$(count 'held DP-1')
printf 'down GammaUpDown\nclick OkButton\n' | TONEMARK_SCRIPT=1 "$app/tonemark" >/dev/null
session=$(last_table DP-1)
wait_for $((held + 2)) 'held DP-1'
settle
expect_eq "$(last_table DP-1)" "$session" "DP-1 after OK with no loader running"

# An output that refuses gamma control: named with the reason, exit code 1.
echo "add HEADLESS-1:0" >&7
wait_for 1 'refused HEADLESS-1'
status=0
"$app/tonemark" /load 2>"$root/err" || status=$?
expect_eq "$status" 1 "load mode's exit code with a refusing output"
expect_eq "$(head -n 1 "$root/err")" \
  "Error: Display 4 (Maker Model (HEADLESS-1)): the compositor refuses gamma control of this output (another program holds it, or the output has no gamma table). Its calibration is not on screen." \
  "load mode's report"
# A compositor that gives an output to the newest client (wlroots 0.16): a
# loader that load mode or OK started never takes an output over from its
# starter, nor a session from the loader.
"$app/tonewatch" /uninstall
exec 7>&-
wait "$stand_in_pid"
"$stand_in" wayland-handover DP-1:256 handover <"$root/commands" >"$root/notes" &
stand_in_pid=$!
exec 7>"$root/commands"
for _ in $(seq 100); do grep -q ready "$root/notes" && break; sleep 0.02; done
export WAYLAND_DISPLAY=wayland-handover
"$app/tonemark" /load 2>"$root/err" || fail "load mode under the handover rule: $(cat "$root/err")"
"$app/tonewatch" /uninstall
printf 'up GammaUpDown\nclick OkButton\n' | TONEMARK_SCRIPT=1 "$app/tonemark" >/dev/null
wait_for 3 'held DP-1'
settle
expect_eq "$(count 'taken DP-1')" 0 "outputs taken over under the handover rule"

# A compositor whose wl_output is older than version 4 names no output: load
# mode and the loader still agree on each output's name.
"$app/tonewatch" /uninstall
exec 7>&-
wait "$stand_in_pid"
"$stand_in" wayland-unnamed DP-1:256 gamma wl_output=3 <"$root/commands" >"$root/notes" &
stand_in_pid=$!
exec 7>"$root/commands"
for _ in $(seq 100); do grep -q ready "$root/notes" && break; sleep 0.02; done
export WAYLAND_DISPLAY=wayland-unnamed
"$app/tonemark" /load 2>"$root/err" || fail "load mode with unnamed outputs: $(cat "$root/err")"
expect_eq "$(wc -w <<<"$(last_table DP-1)")" 768 "the unnamed output's table"

# A loader started before the session set WAYLAND_DISPLAY reaches no
# compositor: load mode has one with its own environment take its place.
"$app/tonewatch" /uninstall
env -u WAYLAND_DISPLAY "$app/tonewatch" /noload &
for _ in $(seq 150); do [[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.socket ]] && break; sleep 0.02; done
held=$(count 'held DP-1')
"$app/tonemark" /load 2>"$root/err" || fail "load mode beside a loader without a compositor: $(cat "$root/err")"
[[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] || fail "no loader holds the outputs after load mode"
expect_eq "$(count 'held DP-1')" $((held + 1)) "DP-1 taken by the loader that load mode started"
echo "wlr loader: loads, outputs that appear or are taken over, sessions handed back, refusals, unnamed outputs, a loader started too early"
