#!/usr/bin/env bash
# run_fuzzer.sh FUZZER RUNS ARTIFACTS SEEDS...: runs a libFuzzer target for a
# fixed number of inputs (TONEMARK_FUZZ_RUNS, when set, instead of RUNS),
# grown from the seed folders, with a fixed seed so that a run can be
# repeated. New inputs go to a temporary folder, never into the seeds; an
# input that fails is kept under ARTIFACTS.
set -euo pipefail
fuzzer=$1 runs=${TONEMARK_FUZZ_RUNS:-$2} artifacts=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artifacts"
"$fuzzer" -runs="$runs" -seed=1 -print_final_stats=1 \
  -artifact_prefix="$artifacts/$(basename "$fuzzer")-" "$work" "$@"
