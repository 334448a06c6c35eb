#!/usr/bin/env bash
# first-start.sh TREE [CHECKOUT]: a newcomer's first start on a fresh Debian 12,
# measured: TREE becomes a bookworm system (debootstrap's smallest variant from
# the mirror apt here uses, with git and the release's update sources), and
# inside it `git clone` of CHECKOUT (default: this one) and `bash
# tools/start.sh` run as on a machine without a display, until the
# demonstration's last screenshot. Prints the seconds that took and what apt
# downloaded. Needs root. The fresh system is kept in TREE.base and copied
# for each run.
set -euo pipefail
tree=$1
checkout=$(realpath "${2:-$(dirname "$0")/..}")
[[ $(id -u) == 0 ]] || { echo "needs root (debootstrap, chroot)"; exit 77; }

mirror=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
  awk '/^deb /{ for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }
       /^URIs:/{ if ($2 !~ /security/) { print $2; exit } }')
mirror=${mirror:-http://deb.debian.org/debian}

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
base=$tree.base
if [[ ! -f $base/.complete ]]; then
  rm -rf "$base"
  debootstrap --variant=minbase --include=git,ca-certificates bookworm "$base" "$mirror" >"$tree.log" 2>&1 || {
    tail -n 20 "$tree.log" >&2
    exit 1
  }
  touch "$base/.complete"
fi
rm -rf "$tree"
cp -a "$base" "$tree"
cat >"$tree/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
# What the newcomer clones from: the checkout's branch, as a repository of its own.
git clone -q --bare "$checkout" "$tree/checkout.git"
for target in proc dev dev/pts; do
  if [[ $target == proc ]]; then mount -t proc proc "$tree/proc"; else mount --bind "/$target" "$tree/$target"; fi
  mounted+=("$tree/$target")
done

# Each line of output with the seconds since the clone began.
chroot "$tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 bash -c '
  start=$(date +%s%N)
  {
    git clone -q /checkout.git /root/tonemark
    cd /root/tonemark && bash tools/start.sh
  } 2>&1 | while IFS= read -r line; do
    tenths=$((($(date +%s%N) - start) / 100000000))
    printf "%5d.%d %s\n" $((tenths / 10)) $((tenths % 10)) "$line"
  done' | tee "$tree.start.log"
echo "clone to last screenshot: $(awk '/page 12: screenshot taken/ { print $1 " s" }' "$tree.start.log")"
echo "downloaded: $(grep -o 'Need to get [^ ]* [kMG]*B' "$tree.start.log" | tail -n1 | cut -d' ' -f4-)"
