#!/usr/bin/env bash
# Sets everything up, builds every program and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh debug
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the editor's window." >&2
fi
exec ./build/src/app/pomeli2 "$@"
