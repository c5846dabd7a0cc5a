#!/usr/bin/env bash
# Sets everything up, builds every program and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh debug
echo "Built: $(ls build/src/*/ 2>/dev/null | tr '\n' ' ')"
