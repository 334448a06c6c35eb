#!/usr/bin/env bash
# trixie_root.sh TREE: makes TREE a Debian 13 (trixie) system holding the
# compositors that the real-desktop tests run: debootstrap's smallest variant
# from the mirror that apt here uses, then the packages below. A finished
# tree is marked by a stamp naming its packages, and is reused as it is
# while they stay the same; an unfinished one is made again.
set -euo pipefail
tree=$1
packages="kwin-wayland sway labwc grim wtype dbus gammastep jq"
stamp=$tree/.tonemark-complete

[[ $(id -u) == 0 ]] || { echo "needs root (debootstrap, chroot)"; exit 77; }
mkdir -p "$(dirname "$tree")"
exec 9>"$tree.lock"
flock 9
if [[ -f $stamp && $(cat "$stamp") == "$packages" ]]; then
  echo "reused $tree"
  exit 0
fi

# The first Debian archive in apt's sources (one-line or deb822 form).
mirror=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
  awk '/^deb /{ for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }
       /^URIs:/{ if ($2 !~ /security/) { print $2; exit } }')
mirror=${mirror:-http://deb.debian.org/debian}

start=$SECONDS
rm -rf "$tree"
debootstrap --variant=minbase trixie "$tree" "$mirror" >"$tree.log" 2>&1 || {
  tail -n 20 "$tree.log" >&2
  echo "debootstrap from $mirror failed (log: $tree.log)" >&2
  exit 1
}
echo "debootstrap: $((SECONDS - start)) s"
start=$SECONDS
chroot "$tree" /usr/bin/env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends $packages >>"$tree.log" 2>&1 || {
  tail -n 20 "$tree.log" >&2
  echo "installing the compositors failed (log: $tree.log)" >&2
  exit 1
}
chroot "$tree" apt-get clean
echo "compositors: $((SECONDS - start)) s"
echo "$packages" >"$stamp"
