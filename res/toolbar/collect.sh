#!/usr/bin/env bash
# Takes the toolbar's icons from the Tango icon theme (public domain; Debian
# package tango-icon-theme) and draws the two frame set icons that Tango
# lacks. The results are committed; run this only to make them anew.
set -euo pipefail
cd "$(dirname "$0")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download tango-icon-theme >/dev/null 2>&1 && dpkg-deb -x tango-icon-theme_*.deb x)
tango="$work/x/usr/share/icons/Tango"
# toolbar name  Tango icon
while read -r name icon; do
  for size in 16 22 24 32; do
    mkdir -p "$size"
    cp "$tango/${size}x${size}/$icon.png" "$size/$name.png"
  done
  for size in 48 64; do
    mkdir -p "$size"
    /usr/bin/convert "$tango/32x32/$icon.png" -filter Lanczos -resize "${size}x${size}" "$size/$name.png"
  done
done <<'LIST'
new actions/document-new
open actions/document-open
save actions/document-save
html mimetypes/text-html
images mimetypes/image-x-generic
cut actions/edit-cut
copy actions/edit-copy
paste actions/edit-paste
help apps/help-browser
about status/dialog-information
preview apps/internet-web-browser
undo actions/edit-undo
redo actions/edit-redo
LIST
python3 draw_frames.py
