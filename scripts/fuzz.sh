#!/usr/bin/env bash
# Fuzzes the project file reader and random editing sessions:
# scripts/fuzz.sh [seconds per target] (default 60). The core is built with
# coverage instrumentation, so the edges reported are the core's. Each
# target's corpus is kept in fuzz-corpus/ (outside the build folder, so that
# a clean build keeps it) and grows from run to run; an input that runs
# longer than a second is a failure.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
bash scripts/setup.sh
bash scripts/build.sh fuzz
status=0
for target in fuzz_project fuzz_session; do
  corpus="fuzz-corpus/$target"
  # A corpus of earlier runs kept in the build folder moves to its lasting place.
  if [ -d "build-fuzz/corpus-$target" ] && [ ! -d "$corpus" ]; then
    mkdir -p fuzz-corpus && mv "build-fuzz/corpus-$target" "$corpus"
  fi
  mkdir -p "$corpus" build-fuzz/artifacts
  # A project file may be long. A session's every byte is a step, some of
  # them saves: sessions of 20 steps let the fuzzer try thousands a second
  # (corpus inputs longer than that are cut when read).
  max_len=8192
  if [ "$target" = fuzz_project ]; then cp tests/golden/*.pml tests/golden/session/*.pml "$corpus"/ 2>/dev/null || true; fi
  if [ "$target" = fuzz_session ]; then max_len=20; fi
  log="$(mktemp)"
  echo "== $target for ${seconds} s"
  if ./build-fuzz/fuzz/$target "$corpus" -max_total_time="$seconds" -max_len="$max_len" -timeout=1 -print_final_stats=1 \
       -artifact_prefix=build-fuzz/artifacts/ >"$log" 2>&1; then :; else status=1; tail -n 40 "$log"; fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec|slowest_unit_time_sec|peak_rss_mb)' "$log" || true
  rm -f "$log"
done
exit $status
