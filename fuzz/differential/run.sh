#!/usr/bin/env bash
# Builds the core of a baseline commit with its namespace renamed, then the
# differential runner against it, and runs it:
#   fuzz/differential/run.sh BASELINE_COMMIT STEPS [SEED...]
# One process per seed, side by side.
set -euo pipefail
cd "$(dirname "$0")/../.."
commit="$1" steps="$2"
shift 2
base="build-baseline"
rm -rf "$base/src"
mkdir -p "$base/src"
git archive "$commit" | tar -x -C "$base/src"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$base/src" -B "$base/build" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DPOMELI2_TESTS=OFF \
  -DPOMELI2_BENCH=OFF -DPOMELI2_GUI=OFF -DCMAKE_CXX_FLAGS="-Dpomeli2=pomeli2_baseline" >/dev/null
cmake --build "$base/build" --target pomeli2core
cmake -S . -B build-differential -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DPOMELI2_TESTS=OFF -DPOMELI2_BENCH=OFF \
  -DPOMELI2_GUI=OFF -DPOMELI2_BASELINE_SOURCE="$PWD/$base/src" -DPOMELI2_BASELINE_BUILD="$PWD/$base/build" >/dev/null
cmake --build build-differential --target fuzz_differential
status=0
pids=()
for seed in "${@:-1}"; do
  ./build-differential/fuzz/differential/fuzz_differential "$steps" "$seed" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
