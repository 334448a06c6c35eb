#!/usr/bin/env bash
# trixie_sway.sh TREE TONEMARK TONEMARK_WINDOW TONEWATCH TONEMARK_RENDER PICTURE_COMPARE:
# Debian 13's sway 1.10 (wlroots 0.18), headless, and our programs as its
# clients. The wlroots back-end is chosen; the headless output has no gamma
# table, so load mode names it with the refusal and exit code 1, and so does
# it while Tonewatch and a night-light tool (gammastep) both ask for the
# output; the window is fullscreen on the output with no decoration and shows
# the Welcome page; SIGTERM and the compositor's close key end it with the
# curve files as they were.
set -euo pipefail
trixie=$1
programs=("$2" "$3" "$4")
render=$5 compare=$6
source "$(dirname "$0")/chroot_session.sh"
source "$(dirname "$0")/chroot_wlroots.sh"

cat >"$work/sway.conf" <<CONF
xwayland disable
output HEADLESS-1 mode --custom 1920x1080 position 0 0
output * bg #ff00ff solid_color
bindsym Mod1+F4 kill
exec touch $work/runtime/ready
CONF
chmod 644 "$work/sway.conf"
chroot_start sway env HOME="$HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WLR_BACKENDS=headless \
  WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway --config "$work/sway.conf"
wait_for_file "$work/runtime/ready" sway
export WAYLAND_DISPLAY=wayland-1 SWAYSOCK
SWAYSOCK=$(ls "$work"/runtime/sway-ipc.*.sock)
swaymsg() { chroot_run env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" SWAYSOCK="$SWAYSOCK" swaymsg "$@"; }
expect_eq "$(swaymsg -t get_version -r | chroot_run jq -r .human_readable)" "1.10.1" "sway's version"

refusal="the compositor refuses gamma control of this output (another program holds it, or the output has no gamma table)"
check_load "Error: Display 1 (Headless output 1): $refusal. Its calibration is not on screen.
(display back-end: wlroots (wlr gamma control))"

# One owner per output: with Tonewatch running (load mode started it), a
# second client asks for the output too. Both are refused here, as headless
# outputs have no table; who would win on a real output cannot be shown.
[[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] || fail "load mode started no Tonewatch"
chroot_start gammastep gammastep -m wayland -O 4000 -P
for _ in $(seq 100); do grep -qs 'output(s) do not support' "$work/gammastep.log" && break; sleep 0.05; done
expect_eq "$(cat "$work/gammastep.log")" "Warning: Zero outputs support gamma adjustment.
Warning: 1/1 output(s) do not support gamma adjustment." "gammastep beside Tonewatch"
welcome_size=1920x1080 welcome_pattern="0 0 400 220 1520 0 400 220 0 806 400 160 1520 806 400 160 1040 1027 660 18"
welcome_match="1920x1080 0 0 0 0 0"
check_load "Error: Display 1 (Headless output 1): $refusal. Its calibration is not on screen.
(display back-end: wlroots (wlr gamma control))"
[[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] || fail "Tonewatch ended beside gammastep"
as_user "$app/tonewatch" /uninstall

# The window: fullscreen on HEADLESS-1, no border, the Welcome page.
chroot_start keyboard wtype -s 86400000
wait_for_desktop
view() { swaymsg -t get_tree -r | chroot_run jq -c '.. | objects | select(.app_id? == "tonemark-window")'"$1"; }
start_window
for _ in $(seq 200); do [[ -n $(view '') ]] && break; sleep 0.05; done
expect_eq "$(view ' | [.fullscreen_mode, .rect.x, .rect.y, .rect.width, .rect.height]')" "[1,0,0,1920,1080]" \
          "the window's place"
check_welcome_page
end_window_by TERM
start_window
for _ in $(seq 200); do [[ -n $(view '') ]] && break; sleep 0.05; done
end_window_by keys
echo "sway 1.10: wlr chosen, headless refusal reported (also beside Tonewatch and gammastep), window fullscreen with the Welcome page, SIGTERM and Alt+F4 end it"
