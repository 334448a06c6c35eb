#!/usr/bin/env bash
# package.sh deb|windows: makes the Linux package or the Windows installer,
# installing what it needs first.
#   deb      build-deb/packages/tonemark_<version>_<arch>.deb (prefix /usr)
#   windows  build-windows/Tonemark-<version>-setup.exe
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  deb) preset=deb ;;
  windows) preset=windows-installer ;;
  *) echo "usage: bash tools/package.sh deb|windows" >&2; exit 2 ;;
esac
tools/ensure-packages
# The Windows profile tool is built from lcms2's Debian source.
[[ "$preset" == deb ]] || tools/ensure-lcms2-source
cmake --workflow --preset "$preset"
