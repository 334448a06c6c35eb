#!/usr/bin/env bash
# readme-pages.sh: the README's pictures of the thirteen pages, made anew
# from the demonstration's screenshots (tools/demo.sh, run by tools/start.sh
# without a display): display 1 of each whole-screen shot, at half size.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=${TONEMARK_DEMO_DIR:-build/demo}/pages
command -v convert >/dev/null || { echo "needs ImageMagick: apt-get install imagemagick" >&2; exit 1; }
[[ -f "$shots/page12.png" ]] || { echo "no screenshots in $shots: run tools/demo.sh first" >&2; exit 1; }
mkdir -p docs/pages
for page in $(seq -w 0 12); do
  convert "$shots/page$page.png" -crop 1920x1080+0+0 +repage -resize 960x540 -strip \
    "docs/pages/page$page.png"
done
echo "docs/pages/page00.png … page12.png"
