#!/usr/bin/env bash
# Builds Tonemark for this machine and starts it. Arguments are passed on
# (for example /load). Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages
cmake --preset default >/dev/null
cmake --build --preset default

if [[ ! -x build/bin/tonemark ]]; then
  echo "Tonemark's program is not built yet in this version: only the calibration model"
  echo "and its tests exist. Run 'bash tools/test.sh' to check them."
  exit 0
fi
exec build/bin/tonemark "$@"
