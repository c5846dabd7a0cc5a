# Sourced by the desktop tests: a display of their own on Xvfb with the
# openbox window manager, and a fresh program folder in "$work". Exits 77
# (skipped) when a tool is missing; everything started here, and "$app_pid"
# when the test set it, ends with the test.
for tool in Xvfb openbox xdotool xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done

work="$(mktemp -d)"
display=":$((200 + RANDOM % 500))"
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
export DISPLAY="$display" POMELI2_HOME="$work/home" XDG_RUNTIME_DIR="$work"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
