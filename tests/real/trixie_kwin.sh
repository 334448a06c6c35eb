#!/usr/bin/env bash
# trixie_kwin.sh TREE TONEMARK TONEMARK_WINDOW TONEWATCH TONEMARK_RENDER PICTURE_COMPARE:
# Debian 13's KWin 6.3 with one virtual output (Virtual-0: no make, model or
# description, no ICC capability) and our programs as its clients. The KDE
# back-end is chosen; load mode with a stored curve writes the display's
# profile and assigns it through KWin's output management, which KWin keeps
# in its output configuration; the window is fullscreen on Virtual-0 without
# decoration (KWin draws without OpenGL here and takes no screenshot: its
# scripting interface tells the geometry); while it runs the profile is off,
# and after SIGTERM it is back.
set -euo pipefail
trixie=$1
programs=("$2" "$3" "$4")
source "$(dirname "$0")/chroot_session.sh"

# The installed kwin_wayland carries a file capability that a container
# refuses to run; a plain copy must keep its name.
mkdir "$work/kwin"
cp "$trixie/usr/bin/kwin_wayland" "$work/kwin/"
chroot_start kwin env QT_LOGGING_RULES="kwin_scripting=true" \
  "$work/kwin/kwin_wayland" --virtual --no-lockscreen --socket wayland-kde --width 1920 --height 1080
wait_for_file "$work/runtime/wayland-kde" kwin
export WAYLAND_DISPLAY=wayland-kde

# kwin_script LINES: runs JavaScript in KWin, whose print() lines come back.
scripts=0
kwin_script() {
  scripts=$((scripts + 1))
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
  kwin_script 'workspace.windowList().filter(w => w.resourceClass == "tonemark-window").map(w => [w.fullScreen, w.noBorder, w.output.name, w.frameGeometry.x, w.frameGeometry.y, w.frameGeometry.width, w.frameGeometry.height, w.clientGeometry.x, w.clientGeometry.y, w.clientGeometry.width, w.clientGeometry.height].join(" ")).join(",")'
}

expect_eq "$(kwin_script 'workspace.screens.map(s => s.name + " " + s.geometry.width + "x" + s.geometry.height).join(",")')" \
          "Virtual-0 1920x1080" "KWin's outputs"

check_load "" 0
[[ -s $app/Tonemark1.icc ]] || fail "load mode wrote no Tonemark1.icc"
expect_eq "$(kept_profile)" "$app/Tonemark1.icc|ICC" "the profile KWin keeps after load mode"

start_window
for _ in $(seq 100); do [[ -n $(window_place) ]] && break; sleep 0.1; done
expect_eq "$(window_place)" "true true Virtual-0 0 0 1920 1080 0 0 1920 1080" \
          "the window: fullscreen, no border, output, frame and client geometry"
expect_eq "$(kept_profile)" "|sRGB" "the profile while the window runs"
end_window_by TERM
expect_eq "$(kept_profile)" "$app/Tonemark1.icc|ICC" "the profile after the window's end"
echo "KWin 6.3: kde chosen, load mode assigns the profile, the window fullscreen without decoration, SIGTERM puts the profile back"
