#!/usr/bin/env bash
# The keys, the focus and the dialogs of the real window under a window
# manager, where message boxes and dialogs really take the keyboard: runs
# the test program given on Xvfb with openbox, which drives the window
# with xdotool. Exits 77 (skipped) without these tools.
set -uo pipefail
test_program="$1"
for tool in Xvfb openbox xdotool xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
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
export DISPLAY="$display" POMELI2_HOME="$work/home" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
"$test_program"
