#!/usr/bin/env bash
# The keys, the focus and the dialogs of the real window under a window
# manager, where message boxes and dialogs really take the keyboard: runs
# the test program given, which drives the window with xdotool. Needs Xvfb,
# openbox, xdotool, xwininfo and xprop; exits 77 (skipped) without them.
set -uo pipefail
test_program="$1"
source "$(dirname "$0")/desktop_session.sh"
QT_QPA_PLATFORM=xcb "$test_program"
