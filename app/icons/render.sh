#!/usr/bin/env bash
# Renders the committed icon files from the drawings after a change to them:
# tavlo.svg for 32 px and up, tavlo-16.svg (laid out pixel by pixel) for 16 px,
# and the Windows icon holding 16, 32, 48 and 256. Needs rsvg-convert
# (librsvg2-bin) and ImageMagick; the build itself needs neither.
set -euo pipefail
cd "$(dirname "$0")"

rsvg-convert -w 16 -h 16 tavlo-16.svg -o tavlo-16.png
for size in 32 48 256; do
  rsvg-convert -w "$size" -h "$size" tavlo.svg -o "tavlo-$size.png"
done
convert tavlo-16.png tavlo-32.png tavlo-48.png tavlo-256.png tavlo.ico
