#!/usr/bin/env bash
# load_notifications.sh TONEMARK STAND_IN: under with_xvfb.sh, on a private
# session bus whose notification service is STAND_IN, a load-mode run that
# fails says so in exactly one desktop notification, its text escaped for a
# server that reads markup, and one that loads everything says nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 stand_in=$2
unset TONEMARK_SIM

root=$(mktemp -d)
daemon="" service=""
cleanup() {
  set +e
  for pid in $service $daemon; do
    kill "$pid"
    wait "$pid"
  done 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
export DBUS_SESSION_BUS_ADDRESS=unix:path=$root/bus
mkdir -p "$root/app" "$HOME"
cp "$program" "$root/app/tonemark"

dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
  >/dev/null 2>"$root/daemon.log" &
daemon=$!
for _ in $(seq 200); do [[ -S "$root/bus" ]] && break; sleep 0.05; done
"$stand_in" "$root/notes" >/dev/null 2>&1 &
service=$!
for _ in $(seq 200); do [[ -e "$root/notes.ready" ]] && break; sleep 0.05; done
[[ -e "$root/notes.ready" ]] || fail "the stand-in notification service did not start"
touch "$root/notes"

write_curve "$root/app/Tonemark1.lut" Gamma=20
"$root/app/tonemark" /load 2>"$root/err" || fail "a good load failed: $(cat "$root/err")"
expect_eq "$(cat "$root/err")" "" "good load: standard error"
expect_eq "$(wc -l <"$root/notes")" 0 "good load: notifications"

printf 'RampCurve v.2\r\nDP-1\r\n12x\r\n' >"$root/app/Tonemark1.lut"
set +e
"$root/app/tonemark" /load 2>"$root/err"
status=$?
set -e
expect_eq "$status" 1 "failing load: exit code"
expect_eq "$(cat "$root/err")" "Error: $root/app/Tonemark1.lut: Invalid numeric input" "failing load: standard error"
expect_eq "$(cat "$root/notes")" "Tonemark | Error: $root/app/Tonemark1.lut: Invalid numeric input" \
          "failing load: the one notification"

# A curve in a folder named "R&D <2>" reaches a server that reads markup as
# text, and standard error as it is.
mkdir "$root/R&D <2>"
cp "$program" "$root/R&D <2>/tonemark"
printf 'RampCurve v.2\r\nDP-1\r\n12x\r\n' >"$root/R&D <2>/Tonemark1.lut"
: >"$root/notes"
"$root/R&D <2>/tonemark" /load 2>"$root/err" && fail "a failing load in R&D <2> succeeded"
expect_eq "$(cat "$root/err")" "Error: $root/R&D <2>/Tonemark1.lut: Invalid numeric input" \
          "markup characters: standard error"
expect_eq "$(cat "$root/notes")" "Tonemark | Error: $root/R&amp;D &lt;2&gt;/Tonemark1.lut: Invalid numeric input" \
          "markup characters: the notification"

# A French run's warning reaches standard error and the notification in
# UTF-8, though the language file holds Windows-1252.
cp -r "$(dirname "$program")/Tonemark.languages" "$root/app/"
printf '[Settings]\r\nLanguage=French\r\n' >"$root/app/Tonemark.settings"
write_curve "$root/app/Tonemark1.lut" Gamma=20
printf '[Monitors]\r\nTonemark1.lut=TMK0001+000003EA++Gone\r\n' >"$root/app/Tonemark.monitors"
: >"$root/notes"
"$root/app/tonemark" /load 2>"$root/err" || fail "the French load failed: $(cat "$root/err")"
grep -q "L'écran 1 (.*) n'a pas d'étalonnage propre" "$root/err" || fail "French: standard error: $(cat "$root/err")"
grep -q "^Tonemark | .*L'écran 1 (.*) n'a pas d'étalonnage propre" "$root/notes" ||
  fail "French: the notification: $(cat "$root/notes")"

echo "load notifications: one for each failing run, escaped for markup, none for the good one, in UTF-8"
