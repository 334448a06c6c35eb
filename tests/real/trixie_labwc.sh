#!/usr/bin/env bash
# trixie_labwc.sh TREE TONEMARK TONEMARK_WINDOW TONEWATCH TONEMARK_RENDER PICTURE_COMPARE:
# Debian 13's labwc 0.8 (wlroots 0.18), headless at its own 1280 x 720, and
# our programs as its clients. The wlroots back-end is chosen; the headless
# output has no gamma table, so load mode names it with the refusal and exit
# code 1; the window covers the output with no decoration and shows the
# Welcome page (grim); SIGTERM and labwc's own Alt+F4 end it with the curve
# files as they were.
set -euo pipefail
trixie=$1
programs=("$2" "$3" "$4")
render=$5 compare=$6
source "$(dirname "$0")/chroot_session.sh"
source "$(dirname "$0")/chroot_wlroots.sh"

# No rc.xml: labwc's default key bindings, Alt+F4 among them.
mkdir "$work/labwc"
printf 'swaybg -c "#ff00ff" &\ntouch %s\n' "$work/runtime/ready" >"$work/labwc/autostart"
chmod -R a+rX "$work/labwc"
chroot_start labwc env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 labwc -C "$work/labwc"
wait_for_file "$work/runtime/ready" labwc
export WAYLAND_DISPLAY=wayland-0
expect_eq "$(chroot_run labwc --version | cut -d' ' -f1-2)" "labwc 0.8.3" "labwc's version"

# Beyond the pointer at 100, 100.
welcome_size=1280x720 welcome_pattern="0 0 90 90 1080 0 200 200 0 480 200 160 1080 480 200 160 0 667 1280 2"
welcome_match="1280x720 0 0 0 0 0"
check_load "Error: Display 1 (Headless output 1): the compositor refuses gamma control of this output (another program holds it, or the output has no gamma table). Its calibration is not on screen.
(display back-end: wlroots (wlr gamma control))"
as_user "$app/tonewatch" /uninstall

chroot_start keyboard wtype -s 86400000
wait_for_desktop
start_window
check_welcome_page
end_window_by TERM
start_window
check_welcome_page
end_window_by keys
echo "labwc 0.8: wlr chosen, headless refusal reported, window over the whole output with the Welcome page, SIGTERM and Alt+F4 end it"
