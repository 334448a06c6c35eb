#!/usr/bin/env bash
# fuzz-long.sh [RUNS]: runs every fuzzer of the asan preset for RUNS inputs
# (default 10 million), one after the other, and reports for each the inputs
# run, the time taken and whether it found a failing input (kept under
# build-asan/fuzz-artifacts/). Build the preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
logs=build-asan/fuzz-long
mkdir -p "$logs"
status=0
for fuzzer in curve_file_fuzz language_file_fuzz settings_fuzz edid_fuzz sim_config_fuzz; do
  start=$(date +%s)
  if TONEMARK_FUZZ_RUNS=$runs ctest --preset asan -R "^$fuzzer\$" --timeout 86400 -V \
       >"$logs/$fuzzer.log" 2>&1; then
    result="no failing input"
  else
    result="FAILED (see $logs/$fuzzer.log)"
    status=1
  fi
  executed=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$logs/$fuzzer.log" | tail -1 |
             grep -o '[0-9]*$' || echo "?")
  echo "$fuzzer: $executed inputs in $(($(date +%s) - start)) s, $result"
done
exit $status
