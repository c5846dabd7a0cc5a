#!/usr/bin/env bash
# Configures and builds one variant: scripts/build.sh [debug|release|sanitize|fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."

variant="${1:-debug}"
jobs="$(nproc)"
case "$variant" in
  debug)    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug ;;
  release)  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPOMELI2_TESTS=OFF ;;
  sanitize) cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPOMELI2_SANITIZE=ON -DPOMELI2_BENCH=OFF ;;
  fuzz)     CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMELI2_SANITIZE=ON \
              -DPOMELI2_FUZZ=ON -DPOMELI2_TESTS=OFF -DPOMELI2_BENCH=OFF -DPOMELI2_GUI=OFF ;;
  *) echo "unknown variant: $variant" >&2; exit 2 ;;
esac >/dev/null
dir=build
case "$variant" in release) dir=build-release ;; sanitize) dir=build-sanitize ;; fuzz) dir=build-fuzz ;; esac
cmake --build "$dir" -j "$jobs"
