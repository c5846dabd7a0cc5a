# Sourced by the desktop tests: a display of its own (Xvfb) with a real
# window manager (openbox), a fresh program folder in "$work", and the
# program started and closed as a user would.
# Needs Xvfb, openbox, xdotool, xwininfo and xprop; exits 77 (skipped)
# without them. Set screen_w and screen_h before sourcing for another size.
for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done

# What the desktop bus library keeps to its end is no leak of ours.
export LSAN_OPTIONS="suppressions=$(realpath "$(dirname "${BASH_SOURCE[0]}")")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

work="$(mktemp -d)"
display=":$((200 + RANDOM % 500))"
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 "${screen_w:-1600}x${screen_h:-1200}x24" -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
export DISPLAY="$display" POMELI2_HOME="$work/home" XDG_RUNTIME_DIR="$work"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

# Starts the program "$app" (in the folder $run_dir when set) and waits for
# its window: $window.
[ -n "${app:-}" ] && app="$(realpath "$app")"
window=""
start() {
  (cd "${run_dir:-.}" && exec "$app" "$@" >/dev/null 2>&1) &
  app_pid=$!
  window=""
  for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --name ' - Pomeli Pomeli Version 2.0$' 2>/dev/null | head -n 1)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the window did not appear"; exit 1; }
  sleep 0.7
}
maximised() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ; }
stop() {
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
  # A loaded machine or a sanitizer build may take a while to close; a close
  # request that arrived too early is sent again.
  for i in $(seq 300); do
    kill -0 "$app_pid" 2>/dev/null || break
    if [ "$i" = 50 ]; then xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true; fi
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then echo "the window did not close"; exit 1; fi
  app_pid=""
}
