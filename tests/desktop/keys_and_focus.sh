#!/usr/bin/env bash
# The keys, the focus and the dialogs of the real window under a window
# manager, where message boxes and dialogs really take the keyboard: runs
# the test program given, which drives the window with xdotool. Needs Xvfb,
# openbox, xdotool and xwininfo; exits 77 (skipped) without them.
set -uo pipefail
test_program="$1"
. "$(dirname "$0")/x_session.sh"
QT_QPA_PLATFORM=xcb "$test_program"
