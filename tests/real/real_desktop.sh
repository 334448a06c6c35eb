# Sourced by the real-compositor tests: one compositor from Debian's own
# packages, started headless as an unprivileged user (compositors refuse root,
# or want a session of their own) with a runtime folder and a session bus
# private to the run; everything the run started is ended at exit, on
# failure too.
#
#   real_desktop_start weston|kwin|cage|sway [WIDTH HEIGHT]
#       starts it and waits for its socket; then WAYLAND_DISPLAY (a full
#       path), XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS and HOME are its
#       user's, and $output names its output (cage's headless output is
#       1280 x 720 whatever is asked)
#   as_user COMMAND...   runs COMMAND as that user, in this environment
#   screenshot FILE      what the output shows now, as PNG, into a folder
#                        the user may write to
#   install_programs FILE...
#                        copies programs (and tonemark's languages) to $app,
#                        a portable copy of the user's: CI's clone lies in a
#                        folder only root may enter; KWin's screenshots need
#                        kwin_screenshot among them
#
# $work (readable by all) is private to the run; $work/out belongs to the
# user. Needs fail() from tests/e2e/curve_files.sh.
real_user=tonemark-sway
as_user_command=()
if [[ $(id -u) == 0 ]]; then
  # The user of with_sway.sh; parallel first runs would race to create it.
  (
    flock 9
    id -u "$real_user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$real_user"
  ) 9>/run/lock/tonemark-sway-user.lock
  as_user_command=(setpriv --reuid="$real_user" --regid="$real_user" --init-groups)
fi
as_user() { "${as_user_command[@]}" "$@"; }

work=$(mktemp -d)
chmod 755 "$work"
source "$(dirname "${BASH_SOURCE[0]}")/../sanitizer_options.sh"
share_sanitizer_options "$work"
mkdir -m 700 "$work/runtime"
mkdir "$work/home" "$work/out" "$work/app"
[[ ${#as_user_command[@]} -eq 0 ]] || chown "$real_user:" "$work/runtime" "$work/home" "$work/out"
app=$work/app
real_pids=()

real_desktop_cleanup() {
  set +e
  local pid
  for pid in "${real_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${real_pids[@]}"; do wait "$pid" 2>/dev/null; done
  # What our programs started on their own (a loader, a guardian) lives in
  # the run's runtime folder: it is found by that, and by nothing broader.
  for pid in $(grep -lsz "^XDG_RUNTIME_DIR=$work/runtime\$" /proc/[0-9]*/environ | cut -d/ -f3); do
    kill "$pid" 2>/dev/null
  done
  if [[ ${REAL_KEEP:-0} == 1 ]]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap real_desktop_cleanup EXIT

export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
export XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
unset WAYLAND_DISPLAY DISPLAY SWAYSOCK XDG_SESSION_TYPE TONEMARK_SIM TONEMARK_BACKEND TONEMARK_SCRIPT

install_programs() {
  cp "$@" "$app/"
  cp -r "$(dirname "$1")/Tonemark.languages" "$app/"
  chmod -R a+rX "$app"
  [[ ${#as_user_command[@]} -eq 0 ]] || chown -R "$real_user:" "$app"
}

# A bus of the run's own that activates nothing: no desktop service of the
# machine starts behind a test's back.
start_session_bus() {
  cat >"$work/bus.conf" <<CONF
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/runtime/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  as_user dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile >"$work/bus.log" 2>&1 &
  real_pids+=($!)
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/bus
  wait_for "the session bus" test -S "$work/runtime/bus"
}

# wait_for WHAT COMMAND...: until COMMAND succeeds, 20 s at most.
wait_for() {
  local what=$1 _
  shift
  for _ in $(seq 400); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  cat "$work"/*.log >&2
  fail "$what did not come up"
}

sway_has_keyboard() { as_user swaymsg -t get_inputs | grep -q '"type": "keyboard"'; }

real_desktop_start() {
  local kind=$1 width=${2:-1920} height=${3:-1080}
  start_session_bus
  local -a command
  case $kind in
    weston)
      output=headless
      command=(weston --backend=headless-backend.so --use-pixman --debug --idle-time=0
               --width="$width" --height="$height")
      ;;
    kwin)
      output=Virtual-0
      # The installed binary carries a file capability that a container
      # refuses to execute; a plain copy drops it, and KWin wants its name.
      mkdir "$work/kwin"
      cp /usr/bin/kwin_wayland "$work/kwin/kwin_wayland"
      chmod -R a+rX "$work/kwin"
      command=(env KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 "$work/kwin/kwin_wayland" --virtual --no-lockscreen
               --width "$width" --height "$height")
      ;;
    cage)
      output=HEADLESS-1
      # cage serves the clients of its socket for as long as its one program
      # runs: one that waits.
      command=(env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
               cage -- sleep infinity)
      ;;
    sway)
      output=HEADLESS-1
      # Super+Shift+Q closes the focused window, as in sway's own default
      # configuration.
      printf 'xwayland disable\noutput %s mode --custom %sx%s bg #000000 solid_color\nbindsym Mod4+Shift+q kill\n' \
        "$output" "$width" "$height" >"$work/sway.conf"
      chmod 644 "$work/sway.conf"
      command=(env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
               sway --config "$work/sway.conf")
      ;;
    *) fail "no compositor called $kind" ;;
  esac
  (cd "$work/out" && exec "${as_user_command[@]}" "${command[@]}") >"$work/$kind.log" 2>&1 &
  real_pids+=($!)
  real_kind=$kind
  # Its socket is the only one in the run's runtime folder.
  wait_for "$kind" compgen -G "$work/runtime/wayland-[0-9]"
  WAYLAND_DISPLAY=$(compgen -G "$work/runtime/wayland-[0-9]")
  export WAYLAND_DISPLAY
  if [[ $kind == sway ]]; then
    # The seat's keyboard for the whole run, idle, as a desktop has one:
    # without it the window has a keyboard only while a wtype runs.
    wait_for "sway's IPC socket" compgen -G "$work/runtime/sway-ipc.*.sock"
    SWAYSOCK=$(compgen -G "$work/runtime/sway-ipc.*.sock")
    export SWAYSOCK
    "${as_user_command[@]}" wtype -s 86400000 &
    real_pids+=($!)
    wait_for "a keyboard in sway" sway_has_keyboard
  fi
  # KWin offers its screenshots on the bus a while after it opens its socket.
  [[ $kind != kwin ]] || wait_for "KWin's screenshots" as_user busctl --user get-property org.kde.KWin \
    /org/kde/KWin/ScreenShot2 org.kde.KWin.ScreenShot2 Version
}

# A failed screenshot returns 1, so that a wait for what it shows goes on.
screenshot() {
  local file=$1
  case $real_kind in
    weston)
      # weston-screenshooter names its file itself, in the folder it runs in.
      local shots=$work/out/shots
      rm -rf "$shots"
      as_user mkdir "$shots" && (cd "$shots" && as_user weston-screenshooter) && mv "$shots"/*.png "$file"
      ;;
    kwin) as_user "$app/kwin_screenshot" "$file" ;;
    *) as_user grim -o "$output" "$file" ;;
  esac
}
