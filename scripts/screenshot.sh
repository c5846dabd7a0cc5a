#!/usr/bin/env bash
# Takes a screenshot of the main window under Xvfb for the README:
# scripts/screenshot.sh [OUTPUT.png]   (default docs/main-window.png)
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/main-window.png}"
bash scripts/setup.sh
bash scripts/build.sh debug >/dev/null
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# A small menu to show in the tree.
./build/src/cli/pomeli2-build --help >/dev/null
cat > "$home/run.sh" <<INNER
#!/usr/bin/env bash
POMELI2_HOME="$home" ./build/src/app/pomeli2 "\$@" &
app=\$!
for _ in \$(seq 100); do [ -s "$home/Pomeli2.ini" ] && break; sleep 0.1; done
sleep 2
/usr/bin/import -window root "$out"
kill \$app
wait \$app || true
INNER
chmod +x "$home/run.sh"
xvfb-run -a -s "-screen 0 1100x1040x24" "$home/run.sh"
echo "wrote $out"
