#!/usr/bin/env bash
# Builds Tonemark for this machine and starts it on the X display, passing on
# its arguments (for example /load). Without an X display it runs the
# demonstration on a private Xvfb instead (tools/demo.sh). Installs what the
# native build needs first; the Windows cross build is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages --native
cmake --preset default >/dev/null
cmake --build --preset default --target tonemark tonemark-window tonewatch tonemark_program_data x-screenshot

if [[ -n "${DISPLAY:-}" ]] && xset q >/dev/null 2>&1; then
  exec build/bin/tonemark "$@"
fi
exec tools/demo.sh
