#!/usr/bin/env bash
# Builds Tonemark for this machine and starts it on the X display, passing on
# its arguments (for example /load). Without an X display it runs the
# demonstration on a private Xvfb instead (tools/demo.sh). Installs only what
# building and starting need (the packages marked "start" in
# tools/packages.txt); a first configuration leaves out the tests, since their
# packages may be missing, and the debugging information, a quarter of the
# compile time; tools/test.sh takes both in again.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages --start
if [[ -f build/CMakeCache.txt ]]; then
  cmake --preset default >/dev/null
else
  cmake --preset default -DTONEMARK_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" >/dev/null
fi
cmake --build --preset default --target tonemark tonemark-window tonewatch tonemark_program_data x-screenshot

if [[ -n "${DISPLAY:-}" ]] && xset q >/dev/null 2>&1; then
  exec build/bin/tonemark "$@"
fi
exec tools/demo.sh
