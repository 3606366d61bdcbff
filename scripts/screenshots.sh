#!/usr/bin/env bash
# Remakes the pictures of the user guide from the bundled samples:
#   docs/ventana-resumen.png  the window on a virtual display (Xvfb), with the
#                             path of a copy of samples/vouchers.txt typed in
#   docs/ventana-padron.png   the same with samples/registry.txt
#   docs/vista-previa.png     the program's preview of samples/vouchers.txt,
#                             named on the command line, at its second page
#   docs/buscar-comprobante.png  the same preview after finding "parana"
#                             (Ctrl+F, Enter) with the list of those found (F4)
#   docs/comprobante.png      the first voucher page of samples/vouchers.txt
#                             with a bar code (batch mode to PDF, pdftoppm)
#   docs/padron.png           page 1 of the registry printout of
#   docs/padron-trabajador.png  samples/registry.txt with worker pages and its
#                             page 2 (a worker page), printed by headless Chromium
# Usage: scripts/screenshots.sh          (TARQUELAS_BUILD=DIR to reuse a build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/deps.sh xvfb xauth xdotool imagemagick poppler-utils zbar-tools chromium >&2
build=${TARQUELAS_BUILD:-build-release}  # any configured build folder will do
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target tarquelas >/dev/null
program=$repo/$build/app/tarquelas

# A short, steady folder: its path shows in the window picture.
work=/tmp/tarquelas
rm -rf "$work"
mkdir -p "$work/presentaciones"
cp samples/vouchers.txt samples/registry.txt "$work/presentaciones/"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
export XDG_CONFIG_HOME=$work/config  # the preview's remembered settings start afresh
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p docs

echo "== voucher page"
mkdir -p "$work/comprobantes"
QT_QPA_PLATFORM=offscreen "$program" --procesar samples/vouchers.txt \
  --directorio "$work/comprobantes" --pdf "$work/comprobantes.pdf" >/dev/null
# The first page whose bar code reads, so the picture shows one.
pages=$(pdfinfo "$work/comprobantes.pdf" | awk '/^Pages:/ {print $2}')
page=1
for p in $(seq 1 "$pages"); do
  pdftoppm -f "$p" -l "$p" -r 150 -png -singlefile "$work/comprobantes.pdf" "$work/pagina"
  if zbarimg -q "$work/pagina.png" >/dev/null 2>&1; then page=$p; break; fi
done
pdftoppm -f "$page" -l "$page" -r 80 -png -singlefile "$work/comprobantes.pdf" docs/comprobante

echo "== registry printout page"
mkdir -p "$work/padron"
cp templates/DisenoConsorcio.htm templates/DisenoTrabajador.htm "$work/padron/"
QT_QPA_PLATFORM=offscreen "$program" --procesar samples/registry.txt \
  --directorio "$work/padron" --trabajadores >/dev/null
chromium --headless --no-sandbox --disable-gpu --no-pdf-header-footer \
  --print-to-pdf="$work/padron.pdf" "file://$work/padron/Padron.html" 2>/dev/null
pdftoppm -f 1 -l 1 -r 80 -png -singlefile "$work/padron.pdf" docs/padron
pdftoppm -f 2 -l 2 -r 80 -png -singlefile "$work/padron.pdf" docs/padron-trabajador

echo "== window"
# Started without a file, so nothing is processed; the typed path is
# recognised and its summary shown, as a user would see it. There is no
# window manager on the virtual display, so the window is given the focus.
cat >"$work/window.sh" <<'SCRIPT'
set -eu
program=$1 file=$2 picture=$3
"$program" &
pid=$!
wid=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
sleep 1
xdotool windowfocus --sync "$wid"
xdotool type --delay 5 "$file"
sleep 1
import -window "$wid" "$picture"
kill "$pid"
SCRIPT
for shot in vouchers.txt:ventana-resumen.png registry.txt:ventana-padron.png; do
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$work/window.sh" "$program" "$work/presentaciones/${shot%%:*}" "$repo/docs/${shot#*:}" 2>/dev/null
done

echo "== print preview"
# A file named on the command line is processed at once and its vouchers
# shown in the preview. A copy of the program runs it, so the working
# files land beside the copy and not in the build folder.
mkdir -p "$work/programa"
cp "$program" "$work/programa/tarquelas"
# The preview of the sample's vouchers after some steps: each a key, or
# "type:TEXT" for text typed into the focused box.
cat >"$work/preview.sh" <<'SCRIPT'
set -eu
program=$1 file=$2 picture=$3
shift 3
"$program" "$file" &
pid=$!
xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
sleep 3
wid=$(xdotool search --onlyvisible --pid "$pid" | tail -n 1)
xdotool windowfocus --sync "$wid"
for step in "$@"; do
  case "$step" in
    type:*) xdotool type --delay 20 "${step#type:}" ;;
    *) xdotool key "$step"; sleep 1 ;;
  esac
done
import -window "$wid" "$picture"
kill "$pid"
SCRIPT
preview() {
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$work/preview.sh" "$work/programa/tarquelas" "$work/presentaciones/vouchers.txt" "$@" 2>/dev/null
}
# The second page, which has a bar code.
preview "$repo/docs/vista-previa.png" Next

echo "== finding a voucher"
preview "$repo/docs/buscar-comprobante.png" ctrl+f type:parana Return F4

ls -l docs/*.png
