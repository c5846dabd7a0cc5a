#!/usr/bin/env bash
# Under a real window manager the window's frame and client area differ: the
# window must come back where it was closed, with its size, start after
# start, and maximised when it was closed maximised; a second start must
# hand over to the first. Needs Xvfb, openbox, xdotool
# and xwininfo; exits 77 (skipped) without them.
set -uo pipefail
app="$1"
source "$(dirname "$0")/desktop_session.sh"

client_position() { xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'; }
client_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# A double click on the title bar, just above the client area, maximises
# and restores.
toggle_maximised() {
  read -r x y <<<"$(client_position)"
  xdotool mousemove "$((x + 100))" "$((y - 10))" click --repeat 2 --delay 80 1
  sleep 1
}
start
xdotool windowmove --sync "$window" 200 150
xdotool windowsize --sync "$window" 800 700
sleep 0.5
first="$(client_position)"
[ "$(client_size)" = 800x700 ] || { echo "resized to $(client_size)"; exit 1; }
stop
saved="$(cut -f1,2 "$POMELI2_HOME/Pomeli2.ini")"
[ "$saved" = "$(printf '200\t150')" ] || { echo "saved frame position: $saved"; exit 1; }

for run in $(seq 10); do
  start
  now="$(client_position)"
  [ "$now" = "$first" ] || { echo "start $run: client at $now, first at $first"; exit 1; }
  [ "$(client_size)" = 800x700 ] || { echo "start $run: size $(client_size)"; exit 1; }
  if [ "$run" = 10 ]; then
    # A second start hands over and ends; the first keeps running.
    "$app" >/dev/null 2>&1 || { echo "the second start failed"; exit 1; }
    kill -0 "$app_pid" || { echo "the first instance ended"; exit 1; }
  fi
  stop
  saved="$(cut -f1,2 "$POMELI2_HOME/Pomeli2.ini")"
  [ "$saved" = "$(printf '200\t150')" ] || { echo "start $run saved $saved"; exit 1; }
done

# Closed maximised, it starts maximised, and restores to its size.
start
toggle_maximised
maximised || { echo "the window did not maximise"; exit 1; }
stop
start
maximised || { echo "the window did not start maximised"; exit 1; }
toggle_maximised
maximised && { echo "the window did not restore"; exit 1; }
[ "$(client_size)" = 800x700 ] || { echo "restored to $(client_size)"; exit 1; }
[ "$(client_position)" = "$first" ] || { echo "restored at $(client_position)"; exit 1; }
stop
echo "the window stayed at $first (client), 800x700, through 10 starts, and came back maximised"
