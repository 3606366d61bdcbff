#!/usr/bin/env bash
# Renders the window's 16 x 16 button pictures from their drawings (needs
# rsvg-convert, Debian librsvg2-bin). The PNGs are kept in the tree so a
# build needs no renderer; run this again after editing a drawing.
set -euo pipefail
cd "$(dirname "$0")"
for name in procesar salir; do
  rsvg-convert -w 16 -h 16 "$name.svg" -o "$name.png"
done
