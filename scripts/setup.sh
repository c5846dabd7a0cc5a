#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, skipping what is
# already there. Run as root (or with sudo available).
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

APT_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  chromium firefox-esr
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-ipafont-gothic fonts-ipafont-mincho xvfb xauth imagemagick
  openbox xdotool x11-utils poppler-utils appstream
  openjdk-17-jre-headless
  libcmark-gfm-dev libcmark-gfm-extensions-dev libgumbo-dev libexpat1-dev nlohmann-json3-dev
)
# Node.js comes with the machine image; a bare Debian gets its own.
if ! command -v node >/dev/null 2>&1; then APT_PACKAGES+=(nodejs npm); fi

missing=()
for pkg in "${APT_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser tests' packages, exactly as locked. No install scripts: the
# HTML checker's would fetch a Java of its own, and it runs on the one above.
if [ ! -d tests/browser/node_modules ] || [ tests/browser/package-lock.json -nt tests/browser/node_modules ]; then
  (cd tests/browser && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
