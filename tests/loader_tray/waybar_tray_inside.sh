# The part of waybar_tray.sh that runs inside sway, as sway's user.
set -euo pipefail
root=$1 shots=$2
source "$root/curve_files.sh"
work=$SWAY_WORK
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME" "$work/app" "$work/sim" "$XDG_CONFIG_HOME/waybar"
cp -r "$root/app/." "$work/app/"
app=$work/app sim=$work/sim
printf '[Monitor1]\nRect=0,0,1920,1080\nDeviceName=\\\\.\\DISPLAY1\n[Monitor2]\nRect=1920,0,3840,1080\nDeviceName=\\\\.\\DISPLAY2\n' \
  >"$sim/displays.ini"
write_curve "$app/Tonemark1.lut" Gamma=30
write_curve "$app/Tonemark2.lut" Gamma=-30
printf '[Settings]\r\nLanguage=English\r\n[Tonewatch]\r\nTray=1\r\n' >"$app/Tonemark.settings"
export TONEMARK_SIM=$sim

# A session bus that starts nothing on demand (a portal would make folders
# under the runtime folder while sway's harness removes it).
sed "s|@ADDRESS@|unix:path=$work/bus|" "$root/mutter_session_bus.conf" >"$work/bus.conf"
dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile >/dev/null 2>&1 &
bus=$!
pids=("$bus")
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 100); do [[ -S $work/bus ]] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus

cat >"$XDG_CONFIG_HOME/waybar/config" <<'CONFIG'
{"layer": "top", "position": "top", "height": 32, "modules-right": ["tray"],
 "tray": {"icon-size": 24, "spacing": 4}}
CONFIG
printf '* { font-family: sans-serif; font-size: 13px; }\nwindow#waybar { background: #202020; }\n' \
  >"$XDG_CONFIG_HOME/waybar/style.css"

start_waybar() {
  waybar >"$work/waybar.log" 2>&1 &
  waybar_pid=$!
  pids+=("$waybar_pid")
}
# Tonewatch runs on the simulated displays only: no display server of its own.
start_loader() {
  env -u WAYLAND_DISPLAY -u DISPLAY "$app/tonewatch" "$@" &
  loader=$!
  pids+=("$loader")
}
ramp() { if [[ -f $sim/ramp$1.txt ]]; then tr -s ' \n' ' ' <"$sim/ramp$1.txt" | sed 's/ $//'; fi; }
# Load mode's linear ramp: level × 256.
ramp_is() { [[ $(ramp "$1") == "$2" ]]; }
linear_ramp() { for c in 0 1 2; do for ((l = 0; l < 256; l++)); do printf "%d " $((l * 256)); done; done | sed 's/ $//'; }
wait_for() {  # wait_for SECONDS WHAT COMMAND...
  local seconds=$1 what=$2
  shift 2
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  fail "$what"
}
# The menu's entries as the item lists them on the bus: label and enabled.
menu_labels() {
  busctl --user call -- "org.kde.StatusNotifierItem-$loader-1" /MenuBar com.canonical.dbusmenu GetLayout iias 0 -1 0 \
    2>/dev/null | grep -o '"label" s "[^"]*"' | sed 's/"label" s "//; s/"$//'
}
item_registered() {
  busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems 2>/dev/null | grep -q "StatusNotifierItem-$loader-1"
}
# How many pixels of a rectangle of the screen are coloured (neither grey nor
# black), or light (as a menu's background).
count_pixels() {  # count_pixels coloured|light X Y W H
  grim -g "$2,$3 $4x$5" -t ppm "$work/part.ppm"
  python3 - "$1" "$work/part.ppm" <<'PY'
import sys
data = open(sys.argv[2], 'rb').read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace(): at += 1
    start = at
    while not data[at:at + 1].isspace(): at += 1
    fields.append(data[start:at])
pixels = [data[i:i + 3] for i in range(at + 1, len(data), 3)]
if sys.argv[1] == 'coloured':
    print(sum(1 for p in pixels if max(p) - min(p) > 24))
else:
    print(sum(1 for p in pixels if min(p) > 200))
PY
}

"$root/virtual_pointer" >"$work/pointer.log" &
pids+=($!)
wait_for 10 "no virtual pointer" grep -q ready "$work/pointer.log"

# No host yet: Tonewatch runs, loads, and shows nothing.
start_loader /delay 600
wait_for 20 "the launch at start recorded no display" test -f "$app/Tonemark.shown"
sleep 1
kill -0 "$loader" || fail "Tonewatch ended without a host"

# A waybar started after Tonewatch gets the icon.
start_waybar
wait_for 30 "waybar's watcher never listed the item" item_registered
sleep 2
grim "$work/bar.png"
[[ -z $shots ]] || cp "$work/bar.png" "$shots/waybar_tray_bar.png"
icon=$(count_pixels coloured 1200 0 80 32)
((icon > 40)) || fail "no icon in the bar's tray: $icon coloured pixels"

# The displays and their states, on the bus.
lists_display_2() { menu_labels | grep -q 'Display 2'; }
wait_for 20 "the menu never listed the watched displays" lists_display_2
labels=$(menu_labels)
expect_eq "$labels" "Display 1 (sim:1): calibrated
Display 2 (sim:2): calibrated
_Re-apply now
_Pause for 1 hour
Pause _until turned on again
_Calibrate\\342\\200\\246
_Quit Tonewatch" "the menu's entries (busctl writes the ellipsis in octal)"
expect_eq "$(busctl --user get-property "org.kde.StatusNotifierItem-$loader-1" /StatusNotifierItem \
  org.kde.StatusNotifierItem ToolTip)" '(sa(iiay)ss) "" 0 "Calibration on: 2 displays" ""' "the tooltip"

click() {  # click X Y: through sway's own seat commands
  swaymsg -q seat - cursor set "$1" "$2"
  swaymsg -q seat - cursor press button1
  swaymsg -q seat - cursor release button1
}
# The menu waybar draws below the icon: how many light pixels it has.
menu_shown() { (($(count_pixels light 1000 32 280 200) > 2000)); }
# Rows of the menu (its entries are 26 pixels apart): with two displays,
# Re-apply at 87, the first pause entry (or the one that ends it) at 113.
icon_x=1267 icon_y=16 reapply_y=87 pause_y=113 entry_x=1120
open_menu() {
  click $icon_x $icon_y
  wait_for 10 "a click on the icon opened no menu" menu_shown
}
tooltip() {
  busctl --user get-property "org.kde.StatusNotifierItem-$loader-1" /StatusNotifierItem \
    org.kde.StatusNotifierItem ToolTip | sed 's/^(sa(iiay)ss) "" 0 "//; s/" ""$//'
}

open_menu
grim "$work/menu.png"
[[ -z $shots ]] || cp "$work/menu.png" "$shots/waybar_tray_menu.png"

calibrated1=$(ramp 1) calibrated2=$(ramp 2) linear=$(linear_ramp)
[[ $calibrated1 != "$linear" && $calibrated2 != "$linear" ]] || fail "the displays show no calibration before the pause"

# Pause for 1 hour: the linear ramp everywhere, and stored.
click $entry_x $pause_y
wait_for 20 "Pause left display 1's calibration" ramp_is 1 "$linear"
wait_for 10 "Pause left display 2's calibration" ramp_is 2 "$linear"
grep -q '^PausedUntil=[0-9]\+' "$app/Tonemark.settings" || fail "the pause is not in the settings: $(cat "$app/Tonemark.settings")"
grep -q '^Tray=1' "$app/Tonemark.settings" || fail "the pause lost Tray=1"
tooltip_is() { [[ $(tooltip) == "$1" ]]; }
wait_for 5 "the tooltip does not say the pause" tooltip_is "Paused for 60 min"

# The pause holds across a restart: the launch at start keeps the linear ramp.
kill "$loader"
wait "$loader" 2>/dev/null || true
start_loader /watch 0
wait_for 30 "the restarted Tonewatch's icon never came back" item_registered
sleep 3
ramp_is 1 "$linear" || fail "the restart during the pause loaded display 1's curve"
expect_eq "$(tooltip)" "Paused for 60 min" "the tooltip after a restart during the pause"
labels=$(menu_labels)
expect_eq "$(sed -n 3,4p <<<"$labels")" "_Re-apply now
_Turn the calibration on again" "the entries during the pause"

# Turning it on again brings the curves back.
open_menu
grim "$work/paused_menu.png"
[[ -z $shots ]] || cp "$work/paused_menu.png" "$shots/waybar_tray_paused_menu.png"
click $entry_x $pause_y
wait_for 20 "turning the calibration on did not bring display 1's curve back" ramp_is 1 "$calibrated1"
wait_for 10 "turning the calibration on did not bring display 2's curve back" ramp_is 2 "$calibrated2"
grep -q $'^PausedUntil=\r$' "$app/Tonemark.settings" || fail "the pause's end is not in the settings"

# Re-apply now: a display that another program set gets its curve back.
write_ramp "$sim/ramp1.txt" 'l * 257'
open_menu
click $entry_x $reapply_y
wait_for 20 "Re-apply did not bring display 1's curve back" ramp_is 1 "$calibrated1"

# A host that restarts registers the item again.
kill "$waybar_pid"
wait "$waybar_pid" 2>/dev/null || true
start_waybar
wait_for 30 "a restarted waybar never listed the item" item_registered
kill -0 "$loader" || fail "Tonewatch ended with its host"
echo "waybar tray: the icon, its menu, pause across a restart, on again, re-apply, a late host"
