# The part of waybar_tray.sh that runs inside sway, as sway's user: waybar's tray
# (a StatusNotifierWatcher and host), a private session bus, two simulated
# displays with curves, clicks through sway's seat (a virtual pointer's).
set -euo pipefail
root=$1
source "$root/curve_files.sh"
work=$SWAY_WORK app=$SWAY_WORK/app sim=$SWAY_WORK/sim
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data TONEMARK_SIM=$sim
mkdir -p "$HOME" "$app" "$sim" "$XDG_CONFIG_HOME/waybar"
cp -r "$root/app/." "$app/"
printf '[Monitor%d]\nRect=%d,0,%d,1080\nDeviceName=\\\\.\\DISPLAY%d\n' 1 0 1920 1 2 1920 3840 2 >"$sim/displays.ini"
write_curve "$app/Tonemark1.lut" Gamma=30
write_curve "$app/Tonemark2.lut" Gamma=-30
printf '[Settings]\r\nLanguage=English\r\n[Tonewatch]\r\nTray=1\r\n' >"$app/Tonemark.settings"
cat >"$XDG_CONFIG_HOME/waybar/config" <<'CONFIG'
{"layer": "top", "position": "top", "height": 32, "modules-right": ["tray"], "tray": {"icon-size": 24, "spacing": 4}}
CONFIG
printf '* { font-family: sans-serif; font-size: 13px; }\nwindow#waybar { background: #202020; }\n' \
  >"$XDG_CONFIG_HOME/waybar/style.css"

pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap cleanup EXIT
background() { "$@" & pids+=($!); }
wait_for() {  # wait_for SECONDS WHAT CONDITION
  for _ in $(seq $(($1 * 10))); do eval "$3" && return 0; sleep 0.1; done
  fail "$2"
}
# A session bus that starts nothing on demand (a portal would make folders
# under the runtime folder while sway's harness removes it).
sed "s|@ADDRESS@|unix:path=$work/bus|" "$root/mutter_session_bus.conf" >"$work/bus.conf"
background dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile
wait_for 5 "no session bus" '[[ -S $work/bus ]]'
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus

start_waybar() { background waybar >"$work/waybar.log" 2>&1; waybar_pid=$!; }
# Tonewatch runs on the simulated displays only: no display server of its own.
start_loader() { background env -u WAYLAND_DISPLAY -u DISPLAY "$app/tonewatch" "$@"; loader=$!; }
item() { busctl --user "$1" -- "org.kde.StatusNotifierItem-$loader-1" "${@:2}" 2>/dev/null; }
item_registered() {
  busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -q "StatusNotifierItem-$loader-1"
}
# The menu's labels as the item lists them on the bus (busctl writes the ellipsis in octal).
menu_labels() { item call /MenuBar com.canonical.dbusmenu GetLayout iias 0 -1 0 | grep -o '"label" s "[^"]*"' | cut -d'"' -f4; }
tooltip() { item get-property /StatusNotifierItem org.kde.StatusNotifierItem ToolTip | cut -d'"' -f4; }
ramps() { cat "$sim/ramp1.txt" "$sim/ramp2.txt" 2>/dev/null | tr -s ' \n' ' '; }
# How many pixels of a rectangle of the screen are coloured (neither grey nor
# black), or light (as a menu's background).
count_pixels() {  # count_pixels coloured|light X Y W H
  grim -g "$2,$3 $4x$5" -t ppm - | python3 -c '
import sys
data, size = sys.stdin.buffer.read(), int(sys.argv[2])
pixels = [data[i:i + 3] for i in range(len(data) - size, len(data), 3)]
print(sum(1 for p in pixels if (max(p) - min(p) > 24 if sys.argv[1] == "coloured" else min(p) > 200)))' "$1" $(($4 * $5 * 3))
}
click() { swaymsg -q seat - cursor set "$1" "$2"; swaymsg -q seat - cursor press button1; swaymsg -q seat - cursor release button1; }
# The icon, and rows of the menu (its entries are 26 pixels apart): with two
# displays, Re-apply at 87, the first pause entry (or the one that ends it) at 113.
open_menu() { click 1267 16; wait_for 10 "a click on the icon opened no menu" '(($(count_pixels light 1000 32 280 200) > 2000))'; }
entry_x=1120 reapply_y=87 pause_y=113

background "$root/virtual_pointer" >"$work/pointer.log"
wait_for 10 "no virtual pointer" 'grep -q ready "$work/pointer.log"'

# No host yet: Tonewatch runs, loads, and shows nothing.
start_loader /delay 600
wait_for 20 "the launch at start recorded no display" '[[ -f $app/Tonemark.shown ]]'
sleep 1
kill -0 "$loader" || fail "Tonewatch ended without a host"

# A waybar started after Tonewatch gets the icon.
start_waybar
wait_for 30 "waybar's watcher never listed the item" item_registered
sleep 2
grim "$root/shots/waybar_tray_bar.png"
icon=$(count_pixels coloured 1200 0 80 32)
((icon > 40)) || fail "no icon in the bar's tray: $icon coloured pixels"

# The displays and their states.
wait_for 20 "the menu never listed the watched displays" 'menu_labels | grep -q "Display 2"'
expect_eq "$(menu_labels)" "Display 1 (sim:1): calibrated
Display 2 (sim:2): calibrated
_Re-apply now
_Pause for 1 hour
Pause _until turned on again
_Calibrate\\342\\200\\246
_Quit Tonewatch" "the menu's entries"
expect_eq "$(tooltip)" "Calibration on: 2 displays" "the tooltip"
open_menu
grim "$root/shots/waybar_tray_menu.png"

# Pause for 1 hour: the linear ramp (level × 256) everywhere, and stored.
calibrated=$(ramps)
linear=$(write_ramp "$work/linear" 'l * 256'; cat "$work/linear" "$work/linear" | tr -s ' \n' ' ')
[[ $calibrated != "$linear" ]] || fail "the displays show no calibration before the pause"
click $entry_x $pause_y
wait_for 20 "Pause left a calibration" '[[ $(ramps) == "$linear" ]]'
expect_eq "$(grep -c '^PausedUntil=[0-9]\+\|^Tray=1' "$app/Tonemark.settings")" 2 "the pause and Tray=1 in the settings"
wait_for 5 "the tooltip does not say the pause" '[[ $(tooltip) == "Paused for 60 min" ]]'

# The pause holds across a restart: the launch at start keeps the linear ramp.
kill "$loader"; wait "$loader" 2>/dev/null || true
start_loader /watch 0
wait_for 30 "the restarted Tonewatch's icon never came back" item_registered
sleep 3
[[ $(ramps) == "$linear" ]] || fail "the restart during the pause loaded a curve"
expect_eq "$(menu_labels | sed -n 3,4p)" "_Re-apply now
_Turn the calibration on again" "the entries during the pause"

# Turning it on again brings the curves back.
open_menu
click $entry_x $pause_y
wait_for 20 "turning the calibration on did not bring the curves back" '[[ $(ramps) == "$calibrated" ]]'
grep -q $'^PausedUntil=\r$' "$app/Tonemark.settings" || fail "the pause's end is not in the settings"

# Re-apply now: a display that another program set gets its curve back.
write_ramp "$sim/ramp1.txt" 'l * 257'
open_menu
click $entry_x $reapply_y
wait_for 20 "Re-apply did not bring display 1's curve back" '[[ $(ramps) == "$calibrated" ]]'

# A host that restarts registers the item again.
kill "$waybar_pid"; wait "$waybar_pid" 2>/dev/null || true
start_waybar
wait_for 30 "a restarted waybar never listed the item" item_registered
kill -0 "$loader" || fail "Tonewatch ended with its host"
echo "waybar tray: the icon, its menu, pause across a restart, on again, re-apply, a late host"
