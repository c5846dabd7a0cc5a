#!/usr/bin/env bash
# Runs the window benchmark on a display of its own with a window manager:
# bench/window_display.sh BENCH_WINDOW [benchmark flags...]. Without Xvfb and
# openbox it says so and does nothing.
set -uo pipefail
for tool in xvfb-run openbox; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: window benchmark skipped"; exit 0; }
done
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# openbox manages the display from the start; the benchmark's own window
# waits until it is active.
POMELI2_HOME="$home" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" \
  bash -c 'openbox >/dev/null 2>&1 & wm=$!; sleep 1; "$@"; status=$?; kill $wm; exit $status' bench "$@"
status=$?
# 77: the program found no display it could use.
[ "$status" = 77 ] && { echo "window benchmark skipped"; exit 0; }
exit "$status"
