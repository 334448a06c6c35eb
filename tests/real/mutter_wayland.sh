#!/usr/bin/env bash
# mutter_wayland.sh TONEMARK TONEMARK_WINDOW TONEMARK_RENDER MUTTER_SCREENCAST MUTTER_KEYS:
# Tonemark in a real GNOME Wayland session: a headless Mutter with one
# virtual monitor (Meta-0), its own session bus, PipeWire for screen casts.
# Mutter lists the virtual monitor in GetCurrentState only, without a CRTC:
# the GNOME back-end is chosen, load mode names the display with the reason
# and exits 1, and the window is fullscreen on Meta-0 showing the first page
# as tonemark-render paints it (through the preview), taken through Mutter's
# ScreenCast; keys from Mutter's virtual keyboard turn its page and close
# it, with nothing changed, as SIGTERM does. As root, everything runs as the
# unprivileged user "tonemark-mutter" (Mutter's bus admits its own user
# only), from a copy of what it needs.
set -euo pipefail
user=tonemark-mutter

if [[ -z ${MUTTER_WORK:-} ]]; then
  here=$(cd "$(dirname "$0")" && pwd)
  work=$(mktemp -d)
  chmod 755 "$work"
  source "$here/../sanitizer_options.sh"
  share_sanitizer_options "$work"
  mkdir "$work/app" "$work/home" "$work/out"
  mkdir -m 700 "$work/runtime"
  cp "$1" "$2" "$3" "$4" "$5" "$0" "$here/../e2e/curve_files.sh" "$here/mutter_session_bus.conf" "$work/app/"
  cp -r "$(dirname "$1")/Tonemark.languages" "$work/app/"
  as_user=()
  if [[ $(id -u) == 0 ]]; then
    (
      flock 9
      id -u "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
    ) 9>/run/lock/tonemark-mutter-user.lock
    chown -R "$user:" "$work"
    as_user=(setpriv --reuid="$user" --regid="$user" --init-groups)
  fi
  status=0
  MUTTER_WORK=$work "${as_user[@]}" bash "$work/app/$(basename "$0")" "$(basename "$1")" "$(basename "$2")" \
    "$(basename "$3")" "$(basename "$4")" "$(basename "$5")" || status=$?
  [[ ${MUTTER_KEEP:-0} == 1 ]] && echo "mutter_wayland.sh: kept $work" >&2 || rm -rf "$work"
  exit "$status"
fi

work=$MUTTER_WORK app=$MUTTER_WORK/app out=$MUTTER_WORK/out
program=$app/$1 render=$app/$3 screencast=$app/$4 keyboard=$app/$5
source "$app/curve_files.sh"
unset TONEMARK_SIM TONEMARK_SCRIPT TONEMARK_BACKEND DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
pids=()
cleanup() {
  set +e
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}"; wait "${pids[i]}"; done 2>/dev/null
}
trap cleanup EXIT
# until SECONDS COMMAND...: true once COMMAND succeeds, polling.
until_true() {
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# A bus of its own that starts no service on demand (the desktop's
# notification daemons would be).
sed "s|@ADDRESS@|unix:path=$XDG_RUNTIME_DIR/bus|" "$app/mutter_session_bus.conf" >"$work/bus.conf"
dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile 2>"$out/dbus.log" &
pids+=("$!")
until_true 5 test -S "$XDG_RUNTIME_DIR/bus" || fail "dbus-daemon did not start: $(cat "$out/dbus.log")"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
pipewire >"$out/pipewire.log" 2>&1 &
pids+=("$!")
until_true 5 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "PipeWire did not start: $(cat "$out/pipewire.log")"
wireplumber >"$out/wireplumber.log" 2>&1 &
pids+=("$!")
mutter --headless --wayland --no-x11 --virtual-monitor 1920x1080 >"$out/mutter.log" 2>&1 &
mutter=$!
pids+=("$mutter")
current_state() {
  gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path /org/gnome/Mutter/DisplayConfig \
    --method org.gnome.Mutter.DisplayConfig.GetCurrentState 2>/dev/null
}
until_true 20 test -S "$XDG_RUNTIME_DIR/wayland-0" || fail "Mutter offers no Wayland socket: $(cat "$out/mutter.log")"
until_true 10 current_state >/dev/null || fail "Mutter's DisplayConfig did not answer: $(cat "$out/mutter.log")"
current_state | grep -q "('Meta-0', 'MetaVendor', 'MetaVirtualMonitor'" ||
  fail "Mutter shows no virtual monitor Meta-0: $(current_state)"
export WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland

# Load mode: the back-end is chosen (it names itself under the report).
write_curve "$app/Tonemark1.lut" Gamma=30 BlackR=40
set +e
"$program" /load 2>"$out/err"
status=$?
set -e
expect_eq "$status" 1 "load: exit code"
expect_eq "$(cat "$out/err")" "Error: Display 1 (MetaVendor MetaVirtualMonitor 0x00): this display takes no gamma ramp (a virtual or remote monitor). Its calibration is not on screen.
(display back-end: GNOME)" "load: the report"

# The window shows its first page through the preview of the stored curve's
# ramp, which a simulated display gets from the same curve.
mkdir "$work/sim"
printf '[Monitor1]\n' >"$work/sim/displays.ini"
TONEMARK_SIM=$work/sim "$program" /load
# rgb PNG RAW: the picture as raw 8-bit RGB.
rgb() {
  gst-launch-1.0 -q filesrc location="$1" ! pngdec ! videoconvert ! video/x-raw,format=RGB ! filesink location="$2"
}
# pixel RAW X Y: "R G B" of a 1920-pixel-wide raw picture.
pixel() { od -An -tu1 -j $((($3 * 1920 + $2) * 3)) -N3 "$1" | xargs; }
# previewed "R G B": the colour as the preview shows it through the session's ramp.
previewed() {
  local values=($1) c shown=()
  for c in 0 1 2; do
    shown+=($((($(ramp_entry "$work/sim/ramp1.txt" $((c * 256 + values[c]))) * 255 + 32767) / 65535)))
  done
  echo "${shown[*]}"
}
[[ "$(previewed "0 0 0")" != "0 0 0" ]] || fail "the stored curve leaves black black: no preview to see"
for page in 0 1; do
  "$render" --page $page --out "$out/page$page.png"
  rgb "$out/page$page.png" "$out/page$page.rgb"
done
# Corners and edges of the page's pattern above the notice's row, a grey patch of the black-point
# page, and the bar, drawn as it is, from its top left corner.
samples=("0 0" "1919 0" "0 960" "960 10" "1919 960" "1000 700" "1360 560")
# page_differs PAGE: the first sample where Meta-0 does not show the page
# through the preview, with what it shows; nothing once it does.
page_differs() {
  timeout 20 "$screencast" Meta-0 "$out/shot.png" 2>"$out/screencast.err" || { cat "$out/screencast.err"; return; }
  rgb "$out/shot.png" "$out/shot.rgb"
  local at shown
  for at in "${samples[@]}"; do
    shown=$(pixel "$out/shot.rgb" $at)
    [[ "$shown" == "$(previewed "$(pixel "$out/page$1.rgb" $at)")" ]] || { echo "$shown at $at"; return; }
  done
  shown=$(pixel "$out/shot.rgb" 0 1027)
  [[ "$shown" == "192 192 192" ]] || echo "$shown at the bar's corner"
}
# show_page PAGE WHAT: waits until Meta-0 shows the page.
show_page() {
  local differs
  for _ in $(seq 40); do
    differs=$(page_differs "$1")
    if [[ -z "$differs" ]]; then
      cp "$out/shot.png" "$out/page$1-shown.png"  # kept with MUTTER_KEEP=1
      return
    fi
    sleep 0.25
  done
  fail "$2: Meta-0 shows ${differs}: $(cat "$out/window.err")"
}
# Mutter's virtual keyboard, from before the window starts; keys KEYSYM:STATE...
# presses and releases keys on it.
mkfifo "$work/keys"
"$keyboard" <"$work/keys" 2>"$out/keys.err" &
keyboard_pid=$!
pids+=("$keyboard_pid")
exec 4>"$work/keys"
keys() {
  kill -0 "$keyboard_pid" 2>/dev/null || fail "Mutter's virtual keyboard is gone: $(cat "$out/keys.err")"
  echo "$*" >&4
}
# calibration_files: the curves and profiles, with their times and sums.
calibration_files() {
  local file
  for file in "$app"/Tonemark*.lut "$app"/Tonemark*.icc; do
    [[ ! -e $file ]] || echo "$(stat -c %Y.%y "$file") $(cksum "$file")"
  done
}
files_before=$(calibration_files)

# Ended by keys: Ctrl+Tab turns to the next page, Alt+F4 closes the window.
"$program" >"$out/window.out" 2>"$out/window.err" &
window=$!
pids+=("$window")
show_page 0 "the first page"
keys 0xffe3:1 0xff09:1 0xff09:0 0xffe3:0
show_page 1 "Ctrl+Tab"
keys 0xffe9:1 0xffc1:1 0xffc1:0 0xffe9:0
until_true 10 eval '! kill -0 "$window" 2>/dev/null' || fail "Alt+F4 left the window open"
set +e
wait "$window"
status=$?
set -e
expect_eq "$status" 0 "the window's exit code at Alt+F4 ($(cat "$out/window.err"))"
expect_eq "$(calibration_files)" "$files_before" "the folder after Alt+F4"

# Ended by SIGTERM.
"$program" >"$out/window.out" 2>"$out/window.err" &
window=$!
pids+=("$window")
show_page 0 "the first page again"
kill -TERM "$window"
set +e
wait "$window"
status=$?
set -e
expect_eq "$status" 143 "the window's exit code at SIGTERM ($(cat "$out/window.err"))"
expect_eq "$(calibration_files)" "$files_before" "the folder after SIGTERM"
kill -0 "$mutter" || fail "Mutter ended: $(cat "$out/mutter.log")"
echo "real Mutter, headless Wayland: GNOME back-end, the virtual monitor reported," \
  "the window fullscreen on it, ended by keys and by SIGTERM"
