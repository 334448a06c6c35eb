#!/usr/bin/env bash
# Builds both targets and runs every test: natively on Linux, and the Windows
# build under Wine. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages
tools/ensure-lcms2-source

cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

# The .deb, made as tools/package.sh makes it, and checked.
cmake --workflow --preset deb
bash tests/packaging/deb_package.sh "$(ls build-deb/packages/tonemark_*.deb)"

cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
