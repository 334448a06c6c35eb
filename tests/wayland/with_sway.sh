#!/usr/bin/env bash
# with_sway.sh COMMAND...: runs COMMAND inside a private headless sway, with
# WAYLAND_DISPLAY and SWAYSOCK set (and DISPLAY, with SWAY_XWAYLAND=1), then
# stops sway. sway refuses to run as root, so under root sway and COMMAND run
# as the unprivileged user "tonemark-sway", made on first use, from the run's
# own folder: the checkout may lie where only root can enter (a private
# temporary folder, root's home), so COMMAND's program and the files or
# folders that the variables named in SWAY_SHARE hold are copied there first,
# and those variables then name the copies. Any other path COMMAND is given
# must be readable (and writable) by that user.
# SWAY_WORK names a folder that COMMAND may write to: it is private to this
# run, and removed afterwards unless SWAY_KEEP=1.
#
# SWAY_OUTPUTS     number of outputs, HEADLESS-1, HEADLESS-2, ... (default 1)
# SWAY_OUTPUT_MODE the outputs' size (default 1920x1080); they stand side by
#                  side from (0, 0), left to right
# SWAY_CONFIG      further lines of sway's configuration ("output HEADLESS-2
#                  scale 2")
# SWAY_XWAYLAND=1  starts Xwayland with sway and sets DISPLAY for COMMAND
# SWAY_SHARE       names of variables that hold paths COMMAND reads
#                  ("TONEMARK_RENDER TONEMARK_LANGUAGES")
# SWAY_KEYBOARD=1  gives the seat a keyboard for the whole run (wtype's
#                  virtual keyboard, idle), as a desktop has: without one, a
#                  window has the keyboard only while a wtype runs, and Qt
#                  may see keys before it sees its window activated
#
# Each run has its own XDG_RUNTIME_DIR and HOME, so parallel runs do not
# collide. COMMAND's exit code is the script's.
set -euo pipefail
user=tonemark-sway
outputs=${SWAY_OUTPUTS:-1}
mode=${SWAY_OUTPUT_MODE:-1920x1080}

as_user=()
if [[ $(id -u) == 0 ]]; then
  # Parallel first runs would race to create the user.
  (
    flock 9
    id -u "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  ) 9>/run/lock/tonemark-sway-user.lock
  # setpriv keeps the environment as it is, which the tests pass settings in.
  as_user=(setpriv --reuid="$user" --regid="$user" --init-groups)
fi

work=$(mktemp -d)
chmod 755 "$work"
source "$(dirname "${BASH_SOURCE[0]}")/../sanitizer_options.sh"
share_sanitizer_options "$work"
mkdir -m 700 "$work/runtime"
mkdir "$work/home" "$work/out"
chmod 777 "$work/out"
command=("$@")
if [[ ${#as_user[@]} -gt 0 ]]; then
  chown "$user:" "$work/runtime" "$work/home"
  mkdir "$work/shared"
  if [[ ${command[0]} == */* && -f ${command[0]} ]]; then
    cp "${command[0]}" "$work/shared/"
    command[0]=$work/shared/$(basename "${command[0]}")
  fi
  for name in ${SWAY_SHARE:-}; do
    cp -r "${!name}" "$work/shared/$name"
    export "$name=$work/shared/$name"
  done
  chmod -R a+rX "$work/shared"
  # The working folder may be one that the user cannot enter either.
  cd "$work"
fi

{
  echo "xwayland $([[ ${SWAY_XWAYLAND:-0} == 1 ]] && echo enable || echo disable)"
  width=${mode%x*}
  for i in $(seq "$outputs"); do
    echo "output HEADLESS-$i mode --custom $mode position $(((i - 1) * width)) 0"
  done
  echo "output * bg #000000 solid_color"
  echo "focus_follows_mouse no"
  echo "${SWAY_CONFIG:-}"
  # Tells the harness that the configuration has been applied, and names
  # Xwayland's display, which sway sets up at start (Xwayland itself starts
  # with its first client).
  echo "exec echo \"\$DISPLAY\" >$work/runtime/ready"
} >"$work/config"
chmod 644 "$work/config"

export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home SWAY_WORK=$work/out
unset WAYLAND_DISPLAY DISPLAY SWAYSOCK
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$outputs WLR_RENDERER=pixman \
  "${as_user[@]}" sway --config "$work/config" >"$work/sway.log" 2>&1 &
sway=$!
cleanup() {
  kill "$sway" 2>/dev/null || true
  wait "$sway" 2>/dev/null || true
  [[ ${SWAY_KEEP:-0} == 1 ]] && echo "with_sway.sh: kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 200); do
  [[ -s $work/runtime/ready ]] && break
  kill -0 "$sway" 2>/dev/null || { cat "$work/sway.log" >&2; exit 1; }
  sleep 0.05
done
[[ -s $work/runtime/ready ]] || { cat "$work/sway.log" >&2; echo "sway did not start" >&2; exit 1; }
# A full path, which holds when COMMAND moves XDG_RUNTIME_DIR (as every test
# program does).
WAYLAND_DISPLAY=$work/runtime/$(cd "$work/runtime" && ls wayland-? | head -n1)
export WAYLAND_DISPLAY
SWAYSOCK=$(ls "$work"/runtime/sway-ipc.*.sock)
export SWAYSOCK
if [[ ${SWAY_XWAYLAND:-0} == 1 ]]; then
  DISPLAY=$(cat "$work/runtime/ready")
  [[ -n $DISPLAY ]] || { cat "$work/sway.log" >&2; echo "sway started no Xwayland" >&2; exit 1; }
  export DISPLAY
fi

if [[ ${SWAY_KEYBOARD:-0} == 1 ]]; then
  "${as_user[@]}" wtype -s 86400000 &
  keyboard=$!
  for _ in $(seq 100); do
    swaymsg -t get_inputs | grep -q '"type": "keyboard"' && break
    sleep 0.05
  done
fi

status=0
"${as_user[@]}" "${command[@]}" || status=$?
[[ -z ${keyboard:-} ]] || kill "$keyboard" 2>/dev/null || true
exit "$status"
