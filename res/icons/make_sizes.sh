#!/usr/bin/env bash
# Scales the drawn 32 x 32 icon to the hicolor theme's sizes: averaged
# below 32, whole pixels above (the icon is pixel art).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  if [ "$size" -le 32 ]; then filter=box; else filter=point; fi
  /usr/bin/convert pomeli2.png -filter "$filter" -resize "${size}x${size}" "hicolor/${size}x${size}/pomeli2.png"
done
