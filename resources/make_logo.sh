#!/usr/bin/env bash
# Draws the QUARN logo for the main window's header: a 210 x 68 GIF on the window's grey.
# The window's picture box is 193 x 73 pixels and clips the right edge, so everything that
# matters stays within the first 190 columns. Needs ImageMagick and the DejaVu fonts.
# Usage: make_logo.sh OUTPUT.gif
set -euo pipefail
out=${1:?usage: make_logo.sh OUTPUT.gif}
navy='rgb(37,64,143)'
amber='rgb(240,170,20)'
convert -size 210x68 xc:'rgb(224,224,224)' \
  -fill "$navy" -stroke none -draw 'circle 30,34 30,11' \
  -fill none -stroke white -strokewidth 5 -draw 'circle 28,33 28,20' \
  -stroke white -strokewidth 5 -draw 'line 34,40 44,50' \
  -fill none -stroke "$amber" -strokewidth 3 -draw "path 'M 39.6,7.7 A 28,28 0 0,1 56.3,24.4'" -draw "path 'M 44.8,2.3 A 35,35 0 0,1 61.7,19.2'" \
  -stroke none -fill "$navy" -font DejaVu-Sans-Bold -pointsize 34 -annotate +62+42 'QUARN' \
  -fill 'rgb(64,64,64)' -font DejaVu-Sans -pointsize 10 -annotate +64+58 'WIRELESS  LINKS' \
  +dither -colors 64 "gif:$out"
