#!/usr/bin/env bash
# kde_keep.sh TONEMARK TONEMARK_WINDOW TONEWATCH STAND_IN_COMPOSITOR: on KDE Plasma
# 6, KWin keeps the calibration from the colour profile assigned to each
# output through its output management. OK writes TonemarkN.icc beside the
# curve files and assigns it (the source set to ICC); load mode assigns it
# again where KWin lost it, also when Tonewatch runs it at log-on; /uninstall
# takes Tonemark's profiles off and leaves others alone; a session takes an
# assigned Tonemark profile off while it runs and puts it back on Cancel, and
# after a killed session load mode assigns it again; load mode writes a
# missing profile first; a compositor whose output management is older than
# version 6 is named as the reason when the back-end is forced, by load mode and
# in OK's message box, else load mode of the "none" back-end names the profiles
# (and, where liblcms2 cannot make them, why).
# The stand-in compositor notes "profile <output> <source> <path>"
# whenever an output's profile changes (source 0 sRGB, 1 ICC).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../e2e/curve_files.sh"
program=$1 window=$2 loader=$3 compositor=$4
unset TONEMARK_SIM TONEMARK_BACKEND WAYLAND_DISPLAY DISPLAY
export XDG_SESSION_TYPE=wayland

source "$here/private_home.sh"
export XDG_RUNTIME_DIR=$root/run
# No Mutter answers: KWin's output management decides.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$root/no-bus DBUS_SYSTEM_BUS_ADDRESS=unix:path=$root/no-bus
app=$root/app
mkdir -p "$app" "$HOME" "$root/bin" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$program" "$window" "$loader" "$app/"
cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
printf '#!/bin/sh\necho "$@" >"%s/opened"\n' "$root" >"$root/bin/xdg-open"
chmod +x "$root/bin/xdg-open"
export PATH=$root/bin:$PATH

# start_kwin NAME OUTPUTS [VERSION]: the stand-in compositor with KWin's
# output management (version 14 unless given) and windows, noting its events
# in $kde/notes until stop_kwin or the next start_kwin.
start_kwin() {
  kde=$root/$1
  mkdir -p "$kde"
  mkfifo "$kde/commands"
  "$compositor" "wayland-$1" "$2" "kde=${3:-14}" windows <"$kde/commands" >"$kde/notes" 2>"$kde/log" &
  kwin_pid=$!
  pids+=("$kwin_pid")
  exec 6>"$kde/commands"
  for _ in $(seq 200); do grep -q '^ready$' "$kde/notes" && break; sleep 0.05; done
  grep -q '^ready$' "$kde/notes" || fail "the stand-in compositor did not start"
  export WAYLAND_DISPLAY=wayland-$1
}
stop_kwin() {
  exec 6>&-
  wait "$kwin_pid"
}
# profile_of OUTPUT: "<source> <path>" as KWin holds it.
profile_of() {
  awk -v output="$1" '$1 == "profile" && $2 == output { held = $3 " " $4 } END { print held }' "$kde/notes"
}
run() {
  set +e
  "$app/tonemark" "$@" 2>"$root/err"
  status=$?
  set -e
}
ok_session() {
  printf 'type BlackEdit 40\nclick OkButton\n' | TONEMARK_SCRIPT=1 "$app/tonemark-window" >/dev/null 2>"$root/err"
}

start_kwin ok DP-1,HDMI-A-1
ok_session || fail "OK failed: $(cat "$root/err")"
expect_eq "$(cat "$root/err")" "" "OK: messages"
for n in 1 2; do [[ -s "$app/Tonemark$n.icc" ]] || fail "OK wrote no Tonemark$n.icc"; done
expect_eq "$(profile_of DP-1)" "1 $app/Tonemark1.icc" "OK: DP-1's profile"
expect_eq "$(profile_of HDMI-A-1)" "1 $app/Tonemark2.icc" "OK: HDMI-A-1's profile"
run /load
expect_eq "$status/$(cat "$root/err")" "0/" "load with the profiles assigned"
stop_kwin
expect_eq "$(grep '^apply' "$kde/notes")" "apply DP-1=$app/Tonemark1.icc:1 HDMI-A-1=$app/Tonemark2.icc:1" \
          "OK assigned both in one configuration; load mode left them alone"

# KWin lost them (a new monitor, another user's settings): load mode assigns
# them again; so does Tonewatch's run of it at log-on.
start_kwin lost DP-1,HDMI-A-1=/usr/share/color/icc/other.icc
run /load
expect_eq "$status/$(cat "$root/err")" "0/" "load: exit code and messages"
expect_eq "$(profile_of DP-1)/$(profile_of HDMI-A-1)" "1 $app/Tonemark1.icc/1 $app/Tonemark2.icc" \
          "load: the profiles assigned again"
stop_kwin
start_kwin logon DP-1,HDMI-A-1
"$app/tonewatch" 2>"$root/loader-err" &
pids+=("$!")
for _ in $(seq 100); do [[ "$(profile_of DP-1)" == "1 $app/Tonemark1.icc" ]] && break; sleep 0.05; done
expect_eq "$(profile_of DP-1)" "1 $app/Tonemark1.icc" "log-on: Tonewatch's load assigned DP-1's profile"
"$app/tonewatch" /uninstall

# /uninstall takes Tonemark's profiles off and leaves another one alone.
start_kwin other DP-1=$app/Tonemark1.icc,HDMI-A-1=/usr/share/color/icc/other.icc
run /uninstall
expect_eq "$status/$(cat "$root/err")" "0/" "/uninstall: exit code and messages"
expect_eq "$(profile_of DP-1)|$(profile_of HDMI-A-1)" "0 |1 /usr/share/color/icc/other.icc" "/uninstall: the profiles"
stop_kwin

# A session shows the edited calibration without the stored one under it:
# the assigned Tonemark profile is off while it runs, and back after Cancel.
start_kwin session DP-1=$app/Tonemark1.icc,HDMI-A-1=/usr/share/color/icc/other.icc
mkfifo "$kde/script"
TONEMARK_SCRIPT=1 "$app/tonemark-window" <"$kde/script" >"$kde/out" 2>"$root/err" &
session=$!
exec 3>"$kde/script"
printf 'type BlackEdit 40\nstate\n' >&3
for _ in $(seq 200); do [[ -s "$kde/out" ]] && break; sleep 0.05; done
expect_eq "$(profile_of DP-1)|$(profile_of HDMI-A-1)" "0 |1 /usr/share/color/icc/other.icc" "session: DP-1's profile off"
exec 3>&-
wait "$session" || fail "the session failed: $(cat "$root/err")"
expect_eq "$(cat "$root/err")" "" "Cancel: messages"
expect_eq "$(profile_of DP-1)" "1 $app/Tonemark1.icc" "Cancel: DP-1's profile back"
# A session killed outright leaves it off; the next load mode (at log-on at
# the latest) assigns it again.
TONEMARK_SCRIPT=1 "$app/tonemark-window" <"$kde/script" >"$kde/killed-out" 2>"$root/err" &
session=$!
exec 3>"$kde/script"
printf 'state\n' >&3
for _ in $(seq 200); do [[ -s "$kde/killed-out" ]] && break; sleep 0.05; done
kill -KILL "$session"
wait "$session" || true
exec 3>&-
expect_eq "$(profile_of DP-1)" "0 " "killed: DP-1's profile still off"
run /load
expect_eq "$status/$(cat "$root/err")/$(profile_of DP-1)" "0//1 $app/Tonemark1.icc" "killed: load assigns it again"
stop_kwin

# Curves stored before there were profiles (under X11): load mode writes each
# profile as OK does and assigns it, though tonemark binds neither Qt nor lcms2.
expect_eq "$(readelf -d "$app/tonemark" | grep -c 'NEEDED.*\(Qt\|lcms\)' || true)" 0 "tonemark's libraries"
vcgt() {
  iccdump -v 3 -t vcgt "$1" | sed -n '/channel #0/,$p'
}
mkdir "$root/by-ok"
mv "$app/Tonemark1.icc" "$app/Tonemark2.icc" "$root/by-ok/"
start_kwin before DP-1,HDMI-A-1
run /load
expect_eq "$status/$(cat "$root/err")" "0/" "curves without profiles: load's exit code and messages"
expect_eq "$(profile_of DP-1)/$(profile_of HDMI-A-1)" "1 $app/Tonemark1.icc/1 $app/Tonemark2.icc" \
          "curves without profiles: the profiles assigned"
stop_kwin
[[ -n "$(vcgt "$root/by-ok/Tonemark1.icc")" ]] || fail "iccdump read no vcgt"
for n in 1 2; do expect_eq "$(vcgt "$app/Tonemark$n.icc")" "$(vcgt "$root/by-ok/Tonemark$n.icc")" "load's Tonemark$n.icc"; done

# KWin before Plasma 6 assigns no profile: load mode says so for each display
# (OK's message: kde_keeper_test.cpp).
start_kwin old DP-1 5
reason="the compositor's KDE output management is version 5, and colour profiles are assigned from version 6 (Plasma 6) on"
TONEMARK_BACKEND=kde run /load
expect_eq "$status" 1 "old compositor: load's exit code"
expect_eq "$(head -1 "$root/err")" "Error: Display 1 (Maker Model (DP-1)): $reason. Its calibration is not on screen." \
          "old compositor: load's report"
# OK says so in a message box over the compositor (its text:
# kde_keeper_test.cpp); Return closes it, and the session ends well.
TONEMARK_BACKEND=kde TONEMARK_SCRIPT=1 "$app/tonemark-window" <<<'click OkButton' >/dev/null 2>"$root/err" &
session=$!
for _ in $(seq 200); do grep -q '^window ' "$kde/notes" && break; sleep 0.05; done
echo "press return" >&6
status=0
wait "$session" || status=$?
shown=$(grep '^window \|^no window' "$kde/notes" | sed 's/ [0-9.]*$//')
expect_eq "$status/$shown/$(cat "$root/err")" "0/window Orvana Tonemark/" \
          "old compositor: OK's message box (its caption, without the version), its exit code"
# Unforced, that desktop gets the "none" back-end: load mode writes the
# missing profile and names it for the desktop's own settings.
rm "$app/Tonemark1.icc"
run /load
expect_eq "$status" 1 "none: load's exit code"
expect_eq "$(head -1 "$root/err")" "Error: Display 1 (Maker Model (DP-1)): this desktop does not let programs set its gamma ramp; its calibration is stored in the colour profile $app/Tonemark1.icc, which the desktop's own display settings can load. Its calibration is not on screen." \
          "none: load's report"
expect_eq "$(vcgt "$app/Tonemark1.icc")" "$(vcgt "$root/by-ok/Tonemark1.icc")" "none: load's Tonemark1.icc"
# The profile is made with liblcms2, opened when needed: one that cannot be
# loaded is named with the loader's reason, one that lacks a function with
# that function.
mkdir "$root/empty-lcms" "$root/stub-lcms"
: >"$root/empty-lcms/liblcms2.so.2"
c++ -shared -x c++ /dev/null -o "$root/stub-lcms/liblcms2.so.2"
unwritten="Error: Display 1 (Maker Model (DP-1)): this desktop does not let programs set its gamma ramp; $app/Tonemark1.icc could not be written: the colour profile could not be made: liblcms2.so.2"
rm "$app/Tonemark1.icc"
LD_LIBRARY_PATH=$root/empty-lcms run /load
[[ "$(head -1 "$root/err")" == "$unwritten cannot be loaded ($root/empty-lcms/liblcms2.so.2: "*"). Its calibration is not on screen." ]] ||
  fail "unloadable liblcms2: load's report: $(head -1 "$root/err")"
LD_LIBRARY_PATH=$root/stub-lcms run /load
expect_eq "$(head -1 "$root/err")" "$unwritten lacks the function cmsxyY2XYZ. Its calibration is not on screen." \
          "liblcms2 without its functions: load's report"
stop_kwin
echo "KDE keeps the calibration: OK assigns the profiles, load mode and Tonewatch assign them again (writing those missing), /uninstall takes them off, a session sets them aside until Cancel; without KWin's profiles load mode writes them and names them"
