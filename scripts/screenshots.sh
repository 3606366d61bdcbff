#!/usr/bin/env bash
# Remakes the pictures of the user guide from the bundled samples:
#   docs/ventana-resumen.png  the window on a virtual display (Xvfb), with the
#                             path of a copy of samples/vouchers.txt typed in
#   docs/comprobante.png      page 1 of the vouchers of samples/vouchers.txt
#                             (batch mode to PDF, then pdftoppm)
#   docs/padron.png           page 1 of the registry printout of
#                             samples/registry.txt with worker pages, printed
#                             by headless Chromium
# Usage: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/deps.sh xvfb xauth xdotool imagemagick poppler-utils chromium >&2
build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarquelas >/dev/null
program=$repo/$build/app/tarquelas

# A short, steady folder: its path shows in the window picture.
work=/tmp/tarquelas
rm -rf "$work"
mkdir -p "$work/presentaciones"
cp samples/vouchers.txt samples/registry.txt "$work/presentaciones/"
trap 'rm -rf "$work"' EXIT
mkdir -p docs

echo "== voucher page"
QT_QPA_PLATFORM=offscreen "$program" --procesar samples/vouchers.txt \
  --directorio "$work/comprobantes" --pdf "$work/comprobantes.pdf"
pdftoppm -f 1 -l 1 -r 80 -png -singlefile "$work/comprobantes.pdf" docs/comprobante

echo "== registry printout page"
QT_QPA_PLATFORM=offscreen "$program" --procesar samples/registry.txt \
  --directorio "$work/padron" --trabajadores
chromium --headless --no-sandbox --disable-gpu --no-pdf-header-footer \
  --print-to-pdf="$work/padron.pdf" "file://$work/padron/Padron.html" 2>/dev/null
pdftoppm -f 1 -l 1 -r 80 -png -singlefile "$work/padron.pdf" docs/padron

echo "== window"
# Started without a file, so nothing is processed; the path typed into the
# box is recognised and its summary shown, as a user would see it.
cat >"$work/window.sh" <<SCRIPT
set -eu
"$program" &
pid=\$!
wid=\$(xdotool search --sync --onlyvisible --pid \$pid | head -n 1)
sleep 1
xdotool type --delay 5 "$work/presentaciones/vouchers.txt"
sleep 1
import -window "\$wid" "$repo/docs/ventana-resumen.png"
kill \$pid
SCRIPT
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/window.sh"

ls -l docs/*.png
