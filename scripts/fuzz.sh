#!/usr/bin/env bash
# Fuzzes the project file reader: scripts/fuzz.sh [seconds] (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
bash scripts/setup.sh
bash scripts/build.sh fuzz
mkdir -p build-fuzz/corpus
cp tests/golden/*.pml build-fuzz/corpus/ 2>/dev/null || true
./build-fuzz/fuzz/fuzz_project build-fuzz/corpus -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
  2>&1 | tail -n 12
