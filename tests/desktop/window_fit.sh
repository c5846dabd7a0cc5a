#!/usr/bin/env bash
# On a screen smaller than the first size, under a real window manager: the
# window's frame, title bar included, stays within the screen at the first
# start and when it is restored from maximised; the check's window opens
# beside the editor where there is room, else over it, never off the screen;
# the export's proposed name takes the chosen type's extension. Needs Xvfb,
# openbox, xdotool and xwininfo; exits 77 (skipped) without them.
set -uo pipefail
app="$1"
fail() { echo "$*"; exit 1; }
screen_w=1400 screen_h=1000
source "$(dirname "$0")/desktop_session.sh"

# The program runs in a folder that holds a folder named as the proposed
# export name, which once kept the dialog from adding the extension.
mkdir -p "$work/run/site" "$work/proj"
run_dir="$work/run"
# "x y width height" of the frame the window manager put around a window.
frame_of() {
  local parent
  parent="$(xwininfo -tree -id "$1" | awk '/Parent window id/ {print $4}')"
  xwininfo -id "$parent" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                                 /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
within_screen() {
  local x y w h
  read -r x y w h <<<"$1"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le "$screen_h" ]
}
toggle_maximised() {
  local x y w h
  read -r x y w h <<<"$(frame_of "$window")"
  xdotool mousemove "$((x + 100))" "$((y + 8))" click --repeat 2 --delay 80 1
  sleep 1
}
wait_for() {
  local found=""
  for _ in $(seq 50); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)"
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
# Runs the check from the tools menu and gives its window's frame.
check_frame() {
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+t
  sleep 0.5
  xdotool key l
  local check
  check="$(wait_for '^リンクの確認$')"
  [ -n "$check" ] || fail "the check window did not appear"
  sleep 0.7
  frame_of "$check"
  xdotool windowactivate --sync "$check" key Escape
  sleep 0.5
}

# The first start: 1000 x 1000 asked for, on a 1000 px high screen.
start
editor="$(frame_of "$window")"
within_screen "$editor" || fail "first start: the frame $editor reaches off the screen"

# No room beside the editor: the check opens over it, within the screen.
check="$(check_frame)"
within_screen "$check" || fail "check over the editor: frame $check off the screen"
# Room on the right: it opens there, beside the editor.
xdotool windowsize --sync "$window" 600 700
xdotool windowmove --sync "$window" 1 20
sleep 0.5
read -r ex ey ew eh <<<"$(frame_of "$window")"
check="$(check_frame)"
read -r cx cy cw ch <<<"$check"
within_screen "$check" || fail "check beside the editor: frame $check off the screen"
[ "$cx" -ge $((ex + ew)) ] || fail "the check ($check) covers the editor ($ex $ey $ew $eh)"
# The editor maximised: over it, within the screen.
toggle_maximised
maximised || fail "the window did not maximise"
check="$(check_frame)"
within_screen "$check" || fail "check over the maximised editor: frame $check off the screen"
toggle_maximised

# The export proposes the project's name with the first type, JSON.
xdotool windowactivate --sync "$window" key --clearmodifiers ctrl+s
[ -n "$(wait_for '^名前を付けて保存$')" ] || fail "no save dialog"
sleep 0.5
xdotool type --delay 20 "$work/proj/site.pml"
xdotool key Return
sleep 1
[ -f "$work/proj/site.pml" ] || fail "the project was not saved"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+f
sleep 0.5
xdotool key e
[ -n "$(wait_for '^名前を付けて保存$')" ] || fail "no export dialog"
sleep 0.5
xdotool key Return
sleep 1
[ -f "$work/proj/site.json" ] || fail "the export with the proposed name wrote no site.json: $(ls "$work/proj" | tr '\n' ' ')"
stop

# Kept larger than the screen and closed maximised: restored, it fits.
printf '[window]\nsize=@Size(1000 1000)\nmaximized=true\n' >"$POMELI2_HOME/window.ini"
start
maximised || fail "the window did not start maximised"
toggle_maximised
maximised && fail "the window did not restore"
restored="$(frame_of "$window")"
within_screen "$restored" || fail "restored from maximised: the frame $restored reaches off the screen"
stop
echo "the frames stayed within the screen; the export wrote site.json"
