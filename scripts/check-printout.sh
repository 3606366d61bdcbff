#!/usr/bin/env bash
# Prints the registry printout of a registry file with headless Chromium and
# checks that the PDF has one page per consortium page and per worker page.
# A valid registry file is its own auxiliary file (validation copies every
# line), so the file is loaded as it is. Leaves Padron.html, padron.pdf and a
# screenshot (padron.png) in the output folder.
#
# Usage: scripts/check-printout.sh [REGISTRY] [OUTDIR]
#   REGISTRY  default samples/registry.txt
#   OUTDIR    default build-check-printout/
# Environment: BUILD_DIR (default build) holds or receives the printout_bench
# driver; PRINTOUT_BENCH names a driver already built instead.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

registry=$(realpath "${1:-samples/registry.txt}")
out=$(realpath -m "${2:-build-check-printout}")
build=${BUILD_DIR:-build}

scripts/deps.sh chromium poppler-utils >&2

driver=${PRINTOUT_BENCH:-}
if [ -z "$driver" ]; then
  if [ -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -DTARQUELAS_BENCH=ON >/dev/null
  else
    cmake -S . -B "$build" -G Ninja -DTARQUELAS_BENCH=ON >/dev/null
  fi
  if ! cmake --build "$build" --target printout_bench >/dev/null; then
    echo "cannot build printout_bench in $build" >&2
    exit 2
  fi
  driver=$(find "$build" -type f -name printout_bench -perm -u+x | head -n1)
fi

rm -rf "$out"
mkdir -p "$out"
cp templates/DisenoConsorcio.htm templates/DisenoTrabajador.htm "$out/"
"$driver" "$registry" "$out" | tee "$out/figures.txt"
expected=$(awk '$1 == "paginas" { print $2 }' "$out/figures.txt")

chrome() {
  local profile
  profile=$(mktemp -d)
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" "$@" 2>/dev/null
  rm -rf "$profile"
}
chrome --no-pdf-header-footer --print-to-pdf="$out/padron.pdf" "file://$out/Padron.html" >/dev/null
chrome --window-size=1100,1500 --screenshot="$out/padron.png" "file://$out/Padron.html" >/dev/null

pages=$(pdfinfo "$out/padron.pdf" | awk '$1 == "Pages:" { print $2 }')
size=$(pdfinfo "$out/padron.pdf" | awk -F': *' '$1 == "Page size" { print $2 }')
echo "pdf pages $pages (expected $expected), page size $size"
echo "screenshot $out/padron.png"
status=0
if [ "$pages" != "$expected" ]; then
  echo "FAIL: the printed printout has $pages pages, not $expected" >&2
  status=1
fi
# The text as printed: accents read as Windows-1252, no placeholder left.
pdftotext -layout "$out/padron.pdf" "$out/padron.txt"
if ! grep -q "Padrón de consorcios" "$out/padron.txt"; then
  echo "FAIL: \"Padrón de consorcios\" is not in the printed text (character set?)" >&2
  status=1
fi
if grep -q "<@@\|@@>" "$out/padron.txt"; then
  echo "FAIL: a placeholder survived into the printed text" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "OK"
exit "$status"
