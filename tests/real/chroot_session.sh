# Sourced by the tests that run a real compositor from the Debian 13 tree
# that trixie_root.sh made. The compositor runs inside the tree, our
# programs on this host, both as the user "tonemark-real" (the same uid on
# both sides, so sockets and the session bus accept either). $work is a
# folder bound at the same path inside the tree, holding XDG_RUNTIME_DIR
# ($work/runtime), HOME and whatever both sides exchange. Processes added
# to `pids` are ended at exit, then $work goes.
#
# Needs: $trixie, the tree; $programs, the programs to copy into $app (a
# folder of the user's, with the language files). Provides: as_user CMD (on
# the host), chroot_run CMD (in the tree), chroot_start NAME CMD (in the
# background, its output in $work/NAME.log), wait_for_file, and the helpers
# of curve_files.sh.
set -euo pipefail
real_user=tonemark-real
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/curve_files.sh"

[[ $(id -u) == 0 ]] || { echo "needs root (chroot and mounts)"; exit 77; }
[[ -f $trixie/.tonemark-complete ]] || fail "no Debian 13 tree at $trixie (trixie_root.sh makes it)"

(
  flock 9
  id -u "$real_user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$real_user"
  # The same name for the uid inside the tree, which D-Bus and KWin look up.
  for file in passwd group; do
    sed -i "/^$real_user:/d" "$trixie/etc/$file"
    getent "$file" "$real_user" >>"$trixie/etc/$file"
  done
) 9>/run/lock/tonemark-real-user.lock
real_uid=$(id -u "$real_user") real_gid=$(id -g "$real_user")

work=$(mktemp -d /tmp/tonemark-real.XXXXXX)
chmod 755 "$work"
source "$(dirname "${BASH_SOURCE[0]}")/../sanitizer_options.sh"
share_sanitizer_options "$work"
mkdir -m 700 "$work/runtime"
mkdir "$work/home" "$work/app"
app=$work/app
cp "${programs[@]}" "$app/"
cp -r "$(dirname "${programs[0]}")/Tonemark.languages" "$app/"
chown -R "$real_uid:$real_gid" "$work/runtime" "$work/home" "$app"
mkdir -p "$trixie$work"
pids=()
# stop_process PID: ends a process of ours; for a chroot_start, its
# namespace's first process (unshare itself waits it out, ignoring
# SIGTERM), with which the namespace ends.
stop_process() {
  local target=$1 signal=TERM caught _
  [[ $(cat "/proc/$1/comm" 2>/dev/null) == unshare ]] && target=$(cat "/proc/$1/task/$1/children" 2>/dev/null)
  # A namespace's first process gets only the signals it catches (and
  # SIGKILL): one that does not catch SIGTERM (wtype) is killed at once.
  caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/${target:-0}/status" 2>/dev/null || true)
  [[ -n $caught ]] && (((0x$caught >> 14) & 1)) || signal=KILL
  [[ -n $target ]] && kill -$signal $target 2>/dev/null
  for _ in $(seq 40); do kill -0 "$1" 2>/dev/null || break; sleep 0.05; done
  [[ -n $target ]] && kill -KILL $target 2>/dev/null
  wait "$1" 2>/dev/null
}
real_cleanup() {
  set +e
  local pid
  # A Tonewatch that load mode started runs on the host.
  as_user "$app/tonewatch" /uninstall 2>/dev/null
  for pid in "${pids[@]}"; do stop_process "$pid"; done
  rmdir "$trixie$work"
  [[ ${REAL_KEEP:-0} == 1 ]] && echo "kept $work" >&2 || rm -rf "$work"
}
trap real_cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
export XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/bus
unset TONEMARK_SIM TONEMARK_BACKEND TONEMARK_SCRIPT DISPLAY WAYLAND_DISPLAY SWAYSOCK

# setpriv keeps the environment, which carries the settings above.
as_user() { setpriv --reuid="$real_uid" --regid="$real_gid" --clear-groups "$@"; }

# chroot_run CMD...: CMD in the tree as the user, in mount and PID
# namespaces of its own: when it ends, or its unshare is killed, every
# process that it started ends and every mount goes.
chroot_command=(unshare --mount --propagation private --pid --fork --kill-child sh -c '
  tree=$1 work=$2; shift 2
  mount -t proc proc "$tree/proc" && mount --rbind /dev "$tree/dev" && mount --bind "$work" "$tree$work" &&
    exec chroot "$tree" "$@"' sh "$trixie" "$work"
  env PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8
  setpriv --reuid="$real_uid" --regid="$real_gid" --clear-groups)
chroot_run() { "${chroot_command[@]}" "$@"; }

# chroot_start NAME CMD...: chroot_run in the background, its output in
# $work/NAME.log; $! is its unshare, added to `pids` (stop_process ends it).
chroot_start() {
  local name=$1; shift
  (exec "${chroot_command[@]}" "$@" >"$work/$name.log" 2>&1) &
  pids+=("$!")
}

# wait_for_file FILE NAME: until FILE exists, up to 20 s (a busy machine
# starts KWin slowly); else the log of what chroot_start started as NAME.
wait_for_file() {
  local _
  for _ in $(seq 400); do [[ -e $1 ]] && return 0; sleep 0.05; done
  cat "$work/$2.log" >&2
  fail "$2 made no $1"
}

# The session bus that the compositor and our programs share.
chroot_start bus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
wait_for_file "$work/runtime/bus" bus

# A stored curve for display 1: what load mode loads and a window must leave
# as it was.
write_curve "$app/Tonemark1.lut" Gamma=20
chown "$real_uid:$real_gid" "$app/Tonemark1.lut"
export XDG_SESSION_TYPE=wayland

# check_load REPORT [STATUS]: load mode's report on standard error and its
# exit code (1 unless given).
check_load() {
  local status=0
  as_user "$app/tonemark" /load 2>"$work/load.err" || status=$?
  expect_eq "$status|$(cat "$work/load.err")" "${2:-1}|$1" "load mode's exit code and report"
}

stored_files() { (cd "$app" && find . -maxdepth 1 -type f \( -name '*.lut' -o -name '*.icc' \) | sort | xargs md5sum); }

# start_window: the calibration window, as a user starts it; its PID in
# $window.
start_window() {
  stored=$(stored_files)
  as_user "$app/tonemark" >"$work/window.log" 2>&1 &
  window=$!
  pids+=("$window")
}

# end_window_by TERM|keys: ends the window by SIGTERM or by the compositor's
# close key (Alt+F4), and checks that it ended as a Cancel does, the files
# beside the program as they were. The key goes again each second: a window
# that is slow to start (under the sanitizers) may not have the focus yet.
end_window_by() {
  [[ $1 == keys ]] || kill -TERM "$window"
  local status=0 tick
  for tick in $(seq 0 199); do
    kill -0 "$window" 2>/dev/null || break
    [[ $1 == keys ]] && ((tick % 20 == 0)) && chroot_run wtype -M alt -k F4 -m alt
    sleep 0.05
  done
  kill -0 "$window" 2>/dev/null && fail "the window outlived $1 by 10 s"
  wait "$window" || status=$?
  # A second wtype's keyboard makes Qt say that it knows no keymap of its.
  expect_eq "$status|$(sed '/^qt.qpa.wayland: unknown keymap format/d' "$work/window.log")" "${end_status[$1]}|" \
    "the end by $1: exit code and messages"
  expect_eq "$(stored_files)" "$stored" "the end by $1: the files beside the program"
}
declare -A end_status=([TERM]=143 [keys]=0)
