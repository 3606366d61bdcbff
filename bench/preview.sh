#!/usr/bin/env bash
# Voucher preview benchmark: a voucher file of LINES lines from
# samples/generate.py (100,000 lines are about 40,000 vouchers) run through
# the window, headless, by bench/preview/preview_bench.cpp. Prints the time
# from the start of the run to the first page on screen (and how much of it
# came after validation), peak memory with the preview open and after going
# to the last page, and the pages per second of printing every page into a
# cups-pdf print queue: handed to CUPS by the program, and, within
# PRINT_WAIT seconds (default 0: not waited for; cups-pdf takes many
# minutes over 40,000 pages), written out by cups-pdf. Then the find box:
# a C.U.I.T. from the middle of the file to its voucher in view, a name part
# that every voucher holds, the memory with those listed and after closing.
# Printing needs root (scripts/pdf-queue.sh); without it that part is left out.
# Usage: bench/preview.sh [BUILD_DIR] [LINES]   (defaults: build-bench, 100000)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
lines=${2:-100000}
wait_seconds=${PRINT_WAIT:-0}
export QT_QPA_PLATFORM=offscreen

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_BENCH=ON -DTARQUELAS_TESTS=OFF >/dev/null
cmake --build "$build" --target preview_bench >/dev/null

work=$(mktemp -d)
queue=tarquelas-banco-$$
# shellcheck source=scripts/pdf-queue.sh
source "$root/scripts/pdf-queue.sh"
trap 'pdf_queue_remove "$queue"; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/impresos"
export XDG_CONFIG_HOME=$work/config  # the preview's remembered settings
chmod 1777 "$work/impresos"
python3 "$root/samples/generate.py" voucher --lines "$lines" -o "$work/vouchers.txt"
echo "voucher file: $lines lines, $(du -m "$work/vouchers.txt" | cut -f1) MB"

status=0
pdf_queue_add "$queue" "$work/impresos" >"$work/motivo" || status=$?
if [ "$status" -ne 0 ]; then
  echo "printing left out: $(cat "$work/motivo")"
  queue=
fi

start=$(date +%s.%N)
"$build/bench/preview/preview_bench" "$work/vouchers.txt" "$work/app" $queue
if [ -n "$queue" ] && [ "$wait_seconds" -gt 0 ]; then
  if pdf_queue_wait "$queue" "$work/impresos" 1 "$wait_seconds"; then
    end=$(date +%s.%N)
    pdf=$(find "$work/impresos" -name '*.pdf' | head -n 1)
    pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
    echo "written out by cups-pdf:        $pages pages, $(python3 -c "print(f'{$pages / ($end - $start):.0f}')") pages/s from the run's start"
  else
    echo "written out by cups-pdf:        not within $wait_seconds s"
  fi
fi
