#!/usr/bin/env bash
# Re-renders the golden images of every page after an intended change of the
# patterns. Review each changed image by eye before committing it.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --build --preset default --target tonemark-render
golden=tests/paint/golden
for size in 1920x1080-96 3840x2160-144; do
  IFS=x- read -r width height ppi <<<"$size"
  for page in $(seq 0 12); do
    build/bin/tonemark-render --page "$page" --width "$width" --height "$height" --ppi "$ppi" \
      --out "$golden/page$(printf %02d "$page")-$size.png"
  done
done
du -ch "$golden"/*.png | tail -1
