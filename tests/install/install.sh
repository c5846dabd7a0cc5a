#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs what was installed,
# with nothing taken from the source tree; then builds the Debian package
# and runs the command-line tool from its contents.
# Usage: install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$(cd "$2" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"; [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*"; exit 1; }

prefix="$work/prefix"
id=io.github.pomeli2.Pomeli2   # the desktop entry's name
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/pomeli2 bin/pomeli2-build share/pomeli2/help.html share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml share/mime/packages/pomeli2.xml share/man/man1/pomeli2-build.1; do
  [ -s "$prefix/$f" ] || fail "$f not installed"
done
for image in plus minus linkto otherw scroll; do
  cmp -s "$prefix/share/pomeli2/images/$image.gif" "$source/res/images/$image.gif" || fail "$image.gif"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/pomeli2.png" ] || fail "icon $size"
done
grep -q '^MimeType=application/x-pomeli2-project;$' "$prefix/share/applications/$id.desktop" || fail "desktop MIME type"
grep -q '<glob pattern="\*.pml"/>' "$prefix/share/mime/packages/pomeli2.xml" || fail "MIME glob"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/$id.desktop"; fi
# The software-centre entry is valid, alone and with the desktop entry it names.
command -v appstreamcli >/dev/null || fail "appstreamcli missing (scripts/setup.sh installs appstream)"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.txt" 2>&1 \
  || { cat "$work/as.txt"; fail "metainfo not valid"; }
appstreamcli validate-tree --no-net "$prefix" >"$work/as.txt" 2>&1 \
  || { cat "$work/as.txt"; fail "metainfo and desktop entry do not agree"; }
if command -v man >/dev/null; then man -l "$prefix/share/man/man1/pomeli2-build.1" 2>&1 | grep -q "pomeli2-build" || fail "man page"; fi

# The installed tool builds a project and copies its own images.
mkdir -p "$work/site"
"$prefix/bin/pomeli2-build" "$source/tests/pages/example.pml" -o "$work/site/menu.html" --copy-images \
  || fail "pomeli2-build"
cmp -s "$work/site/plus.gif" "$prefix/share/pomeli2/images/plus.gif" || fail "copied image"
# Without its images it says so, rather than taking the source tree's.
mv "$prefix/share/pomeli2/images" "$work/images-away"
if "$prefix/bin/pomeli2-build" "$source/tests/pages/example.pml" -o "$work/site/menu.html" --copy-images \
     2>"$work/err.txt"; then fail "copied images it does not have"; fi
grep -q "not installed" "$work/err.txt" || fail "no message about the images"
mv "$work/images-away" "$prefix/share/pomeli2/images"

# The installed editor starts (offscreen) and seeds its program folder.
export POMELI2_HOME="$work/home" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
"$prefix/bin/pomeli2" >/dev/null 2>&1 &
app=$!
for _ in $(seq 100); do [ -s "$POMELI2_HOME/Pomeli2.ini" ] && break; sleep 0.1; done
[ -s "$POMELI2_HOME/Pomeli2.ini" ] || fail "the editor did not start"
for image in plus minus linkto otherw scroll; do
  cmp -s "$POMELI2_HOME/$image.gif" "$prefix/share/pomeli2/images/$image.gif" || fail "seeded $image.gif"
done
kill "$app"; wait "$app" 2>/dev/null || true; app=""

# The Debian package: its dependencies, and its tool run from its contents.
if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null) || fail "cpack"
  deb="$(ls "$work"/pomeli2_*.deb)"
  depends="$(dpkg-deb -f "$deb" Depends)"
  for lib in libqt6widgets6 libqt6network6 libqt6printsupport6 libc6; do
    echo "$depends" | grep -q "$lib" || fail "the package does not depend on $lib: $depends"
  done
  dpkg-deb -x "$deb" "$work/deb"
  "$work/deb/usr/bin/pomeli2-build" --version | grep -q "2.0" || fail "packaged pomeli2-build"
  [ -s "$work/deb/usr/share/pomeli2/images/plus.gif" ] || fail "packaged images"
  [ -s "$work/deb/usr/share/metainfo/$id.metainfo.xml" ] || fail "packaged metainfo"
  echo "package: $(basename "$deb"), Depends: $depends"
fi
echo "installed and ran from $prefix"
