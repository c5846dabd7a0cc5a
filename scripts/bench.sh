#!/usr/bin/env bash
# Runs the benchmarks in a release build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release
./build-release/bench/bench_core --benchmark_repetitions="${REPETITIONS:-3}" --benchmark_report_aggregates_only=true "$@"
echo
./build-release/bench/bench_import --benchmark_repetitions="${REPETITIONS:-3}" --benchmark_report_aggregates_only=true
echo
./build-release/bench/bench_gui --benchmark_repetitions="${REPETITIONS:-3}" --benchmark_report_aggregates_only=true
echo
# The window as the user sees it: a real display, a window manager.
bash bench/window_display.sh ./build-release/bench/bench_window --benchmark_repetitions="${REPETITIONS:-3}" \
  --benchmark_report_aggregates_only=true --benchmark_filter="${WINDOW_FILTER:-.}"
echo
POMELI2_BUILD_TOOL="$PWD/build-release/src/cli/pomeli2-build" node bench/page_in_browser.mjs 10000
echo
POMELI2_BUILD_TOOL="$PWD/build-release/src/cli/pomeli2-build" node bench/tree_libraries.mjs 1000 10000
echo
POMELI2_BUILD_TOOL="$PWD/build-release/src/cli/pomeli2-build" node bench/filter_keystroke.mjs 1000 10000
echo
bash bench/build_floor.sh build-release/src/cli/pomeli2-build
echo
bash bench/site_floor.sh build-release/src/cli/pomeli2-build
