#!/usr/bin/env bash
# window_bench_wine.sh: Tonemark.exe's window under Wine on a private
# 3840 x 2160 Xvfb against an empty Win32 window in the same run: start to
# first frame and click to new frame (see bench/window_wine/window_bench.cpp).
# Wine is not Windows: the figures are guards, not goals.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$source_dir/build-windows
cmake --preset windows -S "$source_dir" >/dev/null
cmake --build "$build" --target window_bench -j2
TONEMARK_EXE=$build/bin/Tonemark.exe EMPTY_WINDOW_EXE=$build/bin/empty_window.exe TONEMARK_XVFB_SCREEN=3840x2160 \
  bash "$source_dir/tests/loader_windows/run_on_xvfb.sh" "$build/bin/window_bench.exe"
