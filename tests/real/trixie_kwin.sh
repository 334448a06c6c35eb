#!/usr/bin/env bash
# trixie_kwin.sh TREE TONEMARK TONEMARK_WINDOW TONEWATCH TONEMARK_RENDER PICTURE_COMPARE TONEMARK_PROFILE:
# Debian 13's KWin 6.3 with one virtual output (Virtual-0: no make, model or
# description, no ICC capability) and our programs as its clients. The KDE
# back-end is chosen: KWin would answer a profile assigned to that output as
# applied and keep it in its output configuration, but the output would not
# take it; so load mode assigns none and names the display with exit code 1
# (and writes a missing profile first); the window is fullscreen on
# Virtual-0 without decoration (KWin draws without OpenGL here and takes no
# screenshot: its scripting interface tells the geometry); SIGTERM ends it
# with KWin's profile as it was.
set -euo pipefail
trixie=$1
programs=("$2" "$3" "$4")
profile_writer=$7
source "$(dirname "$0")/chroot_session.sh"

# The installed kwin_wayland carries a file capability that a container
# refuses to run; a plain copy must keep its name.
mkdir "$work/kwin"
cp "$trixie/usr/bin/kwin_wayland" "$work/kwin/"
chroot_start kwin env QT_LOGGING_RULES="kwin_scripting=true" \
  "$work/kwin/kwin_wayland" --virtual --no-lockscreen --socket wayland-kde --width 1920 --height 1080
wait_for_file "$work/runtime/wayland-kde" kwin
export WAYLAND_DISPLAY=wayland-kde
# Its scripting interface comes a little after its socket.
for _ in $(seq 200); do
  chroot_run dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
    org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1 && break
  sleep 0.05
done

# kwin_script EXPRESSION: its value, as JavaScript in KWin prints it. Each
# script has a name of its own (KWin loads a name once), counted in a file
# since callers take the output in a subshell.
echo 0 >"$work/scripts"
kwin_script() {
  local scripts=$(($(cat "$work/scripts") + 1))
  echo "$scripts" >"$work/scripts"
  printf '%s\n' "$1" | sed "s/^/print(\"probe$scripts \" + /; s/\$/);/" >"$work/probe$scripts.js"
  chmod 644 "$work/probe$scripts.js"
  local id
  id=$(chroot_run dbus-send --session --print-reply=literal --dest=org.kde.KWin /Scripting \
         org.kde.kwin.Scripting.loadScript string:"$work/probe$scripts.js" string:"probe$scripts" | awk '{ print $2 }')
  chroot_run dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" org.kde.kwin.Script.run >/dev/null
  local _
  for _ in $(seq 100); do grep -q "js: probe$scripts " "$work/kwin.log" && break; sleep 0.05; done
  sed -n "s/^js: probe$scripts //p" "$work/kwin.log"
}
# The profile that KWin keeps for Virtual-0 (and loads at the next log-on).
kept_profile() {
  chroot_run jq -r '.[] | select(.name == "outputs") | .data[] | "\(.iccProfilePath // "")|\(.colorProfileSource // "")"' \
    "$XDG_CONFIG_HOME/kwinoutputconfig.json"
}
window_place() {
  kwin_script 'workspace.windowList().filter(w => w.resourceClass == "tonemark-window").map(w => [w.fullScreen, w.output.name, w.frameGeometry.x, w.frameGeometry.y, w.frameGeometry.width, w.frameGeometry.height, w.clientGeometry.x, w.clientGeometry.y, w.clientGeometry.width, w.clientGeometry.height].join(" ")).join(",")'
}

expect_eq "$(kwin_script 'workspace.screens.map(s => s.name + " " + s.geometry.width + "x" + s.geometry.height).join(",")')" \
          "Virtual-0 1920x1080" "KWin's outputs"

# The profile as OK writes it beside the curve: load mode leaves the output
# (no ICC capability) without it.
"$profile_writer" --curve "$app/Tonemark1.lut" --out "$app/Tonemark1.icc" >/dev/null
chown "$real_uid:$real_gid" "$app/Tonemark1.icc"
as_user "$app/tonemark" /load 2>/dev/null || true
expect_eq "$(kept_profile)" "|sRGB" "the profile KWin keeps after load mode"

start_window
for _ in $(seq 100); do [[ -n $(window_place) ]] && break; sleep 0.1; done
expect_eq "$(window_place)" "true Virtual-0 0 0 1920 1080 0 0 1920 1080" \
          "the window: fullscreen, output, frame and client geometry (the same: no decoration)"
end_window_by TERM
expect_eq "$(kept_profile)" "|sRGB" "the profile after the window's end"

refusal="Error: Display 1 (Virtual-0): KWin takes no colour profile on this output. Its calibration is not on screen.
(display back-end: KDE Plasma (KWin's output management))"
check_load "$refusal"
rm "$app/Tonemark1.icc"
check_load "$refusal"
[[ -s $app/Tonemark1.icc ]] || fail "load mode wrote no missing Tonemark1.icc"
echo "KWin 6.3: kde chosen, load mode names the virtual output as taking no profile (writing a missing one) and assigns none; the window fullscreen without decoration; SIGTERM leaves the profile as it was"
