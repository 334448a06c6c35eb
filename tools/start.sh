#!/usr/bin/env bash
# Builds Tonemark for this machine and starts it. Arguments are passed on
# (for example /load). Without an X display it runs a demonstration on
# simulated displays instead. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages
cmake --preset default >/dev/null
cmake --build --preset default

if [[ -n "${DISPLAY:-}" ]] && xset q >/dev/null 2>&1; then
  exec build/bin/tonemark "$@"
fi
exec tools/demo.sh
