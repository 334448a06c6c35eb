# Sourced by the Wayland test scripts: a private folder $root, removed at exit,
# holding HOME and the XDG folders; the processes whose PIDs a script adds to
# `pids` are ended first.
root=$(mktemp -d)
pids=()
cleanup() {
  set +e
  for pid in "${pids[@]}"; do kill "$pid"; wait "$pid"; done 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$HOME"
