#!/usr/bin/env bash
# file_faults.sh TOOL ROUNDS: interrupted writes of curve and settings files.
# Each round starts from a complete file, then either kills a writer that
# rewrites the file without pause after a random delay, or lets one write
# with room for a random number of bytes only (a full disk), its writes
# ending in an error or in SIGXFSZ. Afterwards the file must be one complete
# version, byte for byte. Prints how often the writer died with its
# temporary file written but not yet renamed.
set -euo pipefail
tool=$1 rounds=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for kind in curve settings; do
  ref=$root/ref-$kind
  mkdir -p "$ref"
  "$tool" "$kind" "$ref/v0" 0
  "$tool" "$kind" "$ref/v1" 1
  cmp -s "$ref/v0" "$ref/v1" && fail "$kind: the two versions are alike"
  size=$(stat -c %s "$ref/v1")
  killed_in_window=0 full=0
  for ((round = 1; round <= rounds; round++)); do
    dir=$root/$kind-$round
    mkdir "$dir"
    file=$dir/target
    cp "$ref/v0" "$file"
    if ((round % 2)); then
      "$tool" "$kind" "$file" 1 0 &
      writer=$!
      sleep "0.00$((RANDOM % 10))$((RANDOM % 10))"
      kill -KILL "$writer"
      wait "$writer" 2>/dev/null || true
      # A temporary file left behind: the writer died inside its window.
      if compgen -G "$dir/target.*.tmp" >/dev/null; then killed_in_window=$((killed_in_window + 1)); fi
    else
      # Every other time SIGXFSZ is ignored, and the write fails with EFBIG.
      room=$((RANDOM % size))
      ignore=$((round % 4 == 0))
      # The braces also silence the shell's note of a writer ended by SIGXFSZ.
      if { (if ((ignore)); then trap '' XFSZ; fi; exec prlimit --fsize=$room "$tool" "$kind" "$file" 1 1) \
             >/dev/null 2>&1; } 2>/dev/null; then
        fail "$kind: a write into $room bytes reported success"
      fi
      full=$((full + 1))
    fi
    if ! cmp -s "$file" "$ref/v0" && ! cmp -s "$file" "$ref/v1"; then
      fail "$kind round $round: the file is no complete version"
    fi
    rm -rf "$dir"
  done
  echo "$kind: $rounds rounds, every file complete; $killed_in_window writers killed between" \
    "creating the temporary file and the rename, $full writes into a full disk"
done
