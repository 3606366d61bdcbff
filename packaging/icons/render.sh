#!/usr/bin/env bash
# Renders the program icon's PNG sizes from tarquelas.svg (needs rsvg-convert,
# Debian librsvg2-bin). The PNGs are kept in the tree so a build needs no
# renderer; run this again after editing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" tarquelas.svg -o "tarquelas-$size.png"
done
