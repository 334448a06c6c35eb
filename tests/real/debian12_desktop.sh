#!/usr/bin/env bash
# debian12_desktop.sh weston|kwin|cage|sway TONEMARK TONEMARK_WINDOW TONEWATCH
#     TONEMARK_PROFILE TONEMARK_RENDER CURVE_RAMP PNG_PIXELS KWIN_SCREENSHOT
# Tonemark on one of Debian 12's own compositors, started headless: the
# back-end it chooses, load mode's report and exit code with a stored curve,
# the window fullscreen on the output showing the Welcome page (previewed
# through the stored curve, since none of these outputs takes a ramp here),
# and its end by SIGTERM (and by keys where a virtual keyboard can type them)
# with the stored files as they were.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/curve_files.sh"
source "$here/real_desktop.sh"
compositor=$1 render=$6 curve_ramp=$7 png_pixels=$8
install_programs "$2" "$3" "$4" "$5" "$9"

real_desktop_start "$compositor"
screenshot "$work/out/desktop.png"
read -r width height <<<"$("$png_pixels" size "$work/out/desktop.png")"

# What an OK left: the curve beside the portable copy, and its profile.
write_curve "$app/Tonemark1.lut" Gamma=20 Black=20
[[ ${#as_user_command[@]} -eq 0 ]] || chown "$real_user:" "$app/Tonemark1.lut"
as_user "$app/tonemark-profile" --curve "$app/Tonemark1.lut" --out "$app/Tonemark1.icc" >/dev/null
"$curve_ramp" "$app/Tonemark1.lut" >"$work/ramp"
# The curves and profiles (the window keeps its settings in a file beside them).
stored() { (cd "$app" && ls Tonemark*.lut Tonemark*.icc && cat Tonemark*.lut Tonemark*.icc) | md5sum; }
before=$(stored)

# Load mode's reports are compared at once and judged at the end, so that a
# wrong report does not hide what the window does.
wrong_reports=()
expect_report() {  # expect_report ACTUAL EXPECTED WHAT
  [[ "$1" == "$2" ]] || wrong_reports+=("$3: got '$1', expected '$2'")
}
# load_report [VARIABLE=VALUE...]: load mode's messages, then its exit code.
load_report() {
  local status=0
  as_user env "$@" "$app/tonemark" /load 2>"$work/out/err" || status=$?
  cat "$work/out/err"
  echo "exit $status"
}
none_report="Error: Display 1 (DISPLAY): this desktop does not let programs set its gamma ramp; its calibration is stored in the colour profile $app/Tonemark1.icc, which the desktop's own display settings can load. Its calibration is not on screen.
(display back-end: none (no ramp interface on this Wayland desktop))
exit 1"
wlr_report="Error: Display 1 (Headless output 1): the compositor refuses gamma control of this output (another program holds it, or the output has no gamma table). Its calibration is not on screen.
(display back-end: wlroots (wlr gamma control))
exit 1"
case $compositor in
  weston) expect_report "$(load_report)" "${none_report/DISPLAY/headless}" "load mode on Weston" ;;
  kwin)
    expect_report "$(load_report)" "${none_report/DISPLAY/Virtual-0}" "load mode on KWin 5.27"
    expect_report "$(load_report TONEMARK_BACKEND=kde)" "Error: Display 1 (Virtual-0): the compositor's KDE output management is version 3, and colour profiles are assigned from version 6 (Plasma 6) on. Its calibration is not on screen.
(display back-end: KDE Plasma (KWin's output management))
exit 1" "load mode on KWin 5.27 forced onto the KDE back-end"
    ;;
  *) expect_report "$(load_report)" "$wlr_report" "load mode on $compositor" ;;
esac
expect_eq "$(stored)" "$before" "the stored files after load mode"
[[ $compositor != cage && $compositor != sway ]] || [[ -S $XDG_RUNTIME_DIR/Orvana.Tonewatch.gamma ]] ||
  fail "load mode started no loader on $compositor"

# The window: tonemark hands normal mode over to tonemark-window, in the same
# process. It is shown once the output shows its bar.
shot=$work/out/shot.png
bar_height=53  # at 96 DPI
bar_shown() { screenshot "$shot" && [[ $("$png_pixels" at "$shot" 0 $((height - 1))) == C0C0C0 ]]; }
window_gone() { ! bar_shown; }
start_window() {
  # Not through a function, which would run in a subshell: $! is the window.
  "${as_user_command[@]}" "$app/tonemark" >"$work/out/window.out" 2>"$work/out/window.err" &
  window=$!
  wait_for "the window on $compositor" bar_shown
}
# expect_page N TOP...: the output shows page N as tonemark-render paints it,
# seen through the stored curve, in bands across the whole width from each
# TOP down, height / 12 tall, where no control or text lies; and the bar's
# last row at both ends. Waits for the page (10 s at most), which keys bring
# after a while.
band_differences() {  # band_differences TOP
  "$png_pixels" differ "$shot" "$work/page.png" 0 "$1" "$width" $((height / 12)) "$work/ramp"
}
page_shown() {
  local top
  for top in "$@"; do [[ $(band_differences "$top") == 0 ]] || return 1; done
}
expect_page() {
  local page=$1 top _
  shift
  "$render" --page "$page" --width "$width" --height "$height" --out "$work/page.png"
  for _ in $(seq 100); do
    screenshot "$shot"
    page_shown "$@" && break
    sleep 0.1
  done
  cp "$shot" "$work/shown-page$page.png"  # kept with REAL_KEEP=1
  expect_eq "$("$png_pixels" size "$shot")" "$width $height" "the screenshot's size"
  expect_eq "$("$png_pixels" at "$shot" 0 $((height - 1)))$("$png_pixels" at "$shot" $((width - 1)) $((height - 1)))" \
    C0C0C0C0C0C0 "the bar's last row at both ends"
  for top in "$@"; do
    expect_eq "$(band_differences "$top")" 0 \
      "pixels of page $page on $compositor from row $top that differ from tonemark-render's through the curve"
  done
}
# expect_end STATUS HOW: the window ended with STATUS, is gone from the
# output, and left the stored files as they were.
expect_end() {
  local status=0
  wait "$window" || status=$?
  expect_eq "$status" "$1" "the window's exit code after $2"
  wait_for "the window to go after $2" window_gone
  expect_eq "$(stored)" "$before" "the stored files after $2"
}

start_window
# The Welcome page: from the top left corner (no title bar, no border), and
# above the bar and the notice's row on it.
expect_page 0 0 $((height - bar_height - 2 * height / 12))
kill -TERM "$window"
expect_end 143 SIGTERM

# Real keys where the compositor takes a virtual keyboard's: Ctrl+Tab to the
# next page, and sway's key for closing a window, which ends the session as
# Cancel does.
if [[ $compositor == sway ]]; then
  start_window
  as_user wtype -M ctrl -k Tab -m ctrl
  # The Black Point page's nine squares, the darkest levels.
  expect_page 1 $((height * 46 / 100))
  as_user wtype -M logo -M shift -k q -m shift -m logo
  expect_end 0 "sway's key for closing a window"
fi

[[ ${#wrong_reports[@]} -eq 0 ]] || fail "$(printf '%s\n' "${wrong_reports[@]}")"
