#!/usr/bin/env bash
# Runs the window benchmark on a display of its own with a window manager:
# bench/window_display.sh BENCH_WINDOW [benchmark flags...]. Without Xvfb and
# openbox it says so and does nothing.
set -uo pipefail
bench="$1"
shift
for tool in Xvfb openbox xdpyinfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: window benchmark skipped"; exit 0; }
done
work="$(mktemp -d)"
display=":$((200 + RANDOM % 500))"
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
export DISPLAY="$display" POMELI2_HOME="$work/home" XDG_RUNTIME_DIR="$work"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
QT_QPA_PLATFORM=xcb "$bench" "$@"
