#!/usr/bin/env bash
# Builds the three presets and runs every test: natively on Linux, the same
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer with short
# runs of the fuzzers, and the Windows build under Wine. Installs what it needs
# first.
#
# The builds take the processors one after the other. The sanitizer build
# and its tests come after the Wine tests rather than beside them: under a
# compiler's load, Wine has started programs too slowly for the tests' waits.
# Their output is kept in build-asan/test.log and shown when they end.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages
tools/ensure-lcms2-source

# With the debugging information that a first tools/start.sh leaves out.
cmake --preset default -DTONEMARK_TESTS=ON -U 'CMAKE_*_FLAGS_RELWITHDEBINFO' >/dev/null
cmake --build --preset default
ctest --preset default

# The .deb, made as tools/package.sh makes it, and checked.
cmake --workflow --preset deb
bash tests/packaging/deb_package.sh "$(ls build-deb/packages/tonemark_*.deb)"

cmake --preset windows >/dev/null
cmake --build --preset windows

windows=0
ctest --preset windows || windows=$?

mkdir -p build-asan
asan=0
(cmake --preset asan >/dev/null && cmake --build --preset asan && ctest --preset asan) \
  >build-asan/test.log 2>&1 || asan=$?
if ((asan)); then
  cat build-asan/test.log
else
  sed -n '/tests passed/,$p' build-asan/test.log
fi
echo "Sanitizer build and tests: $( ((asan)) && echo FAILED || echo passed) (build-asan/test.log)"
((windows == 0 && asan == 0))
