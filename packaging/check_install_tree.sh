#!/bin/sh
# Installs the build into a scratch folder (prefix /usr) and checks what lands there: both
# programs, the desktop entry, each icon size of the hicolor theme (a PNG of that size), the
# AppStream metadata and the manual page. Then appstreamcli validate-tree checks that the
# metadata, the desktop entry it launches and the icon that entry names fit together.
# Usage: check_install_tree.sh CMAKE BUILD_DIR SCRATCH_DIR APP_ID
set -eu
cmake=$1 build=$2 dest=$3 id=$4
rm -rf "$dest"
DESTDIR="$dest" "$cmake" --install "$build" --prefix /usr >/dev/null

status=0
fail() { echo "$*"; status=1; }
usr=$dest/usr
for program in linkcalc linkcalc-cli; do
  [ -x "$usr/bin/$program" ] || fail "missing program /usr/bin/$program"
done
for file in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/man/man1/linkcalc-cli.1.gz; do
  [ -s "$usr/$file" ] || fail "missing /usr/$file"
done
for size in 16 32 48 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ ! -s "$usr/$icon" ]; then
    fail "missing /usr/$icon"
    continue
  fi
  # PNG signature, then the IHDR chunk: width and height, 4 bytes each, big-endian.
  header=$(od -An -tx1 -N24 "$usr/$icon" | tr -d ' \n')
  expected=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
  [ "$header" = "$expected" ] || fail "/usr/$icon is not a $size x $size PNG"
done
if [ -s "$usr/share/man/man1/linkcalc-cli.1.gz" ]; then
  gzip -dc "$usr/share/man/man1/linkcalc-cli.1.gz" | grep -q '^\.TH LINKCALC-CLI 1 ' ||
    fail "the manual page is not a section 1 page of linkcalc-cli"
fi
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" 2>/dev/null ||
  fail "the desktop entry does not name the icon $id"
grep -qx "Exec=linkcalc" "$usr/share/applications/$id.desktop" 2>/dev/null ||
  fail "the desktop entry does not start linkcalc"

if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$dest" || fail "appstreamcli validate-tree failed"
else
  echo "appstreamcli not found: the tree was not validated (it is in the Debian package appstream)"
fi
[ "$status" -ne 0 ] || echo "the installed tree holds all it should"
exit "$status"
