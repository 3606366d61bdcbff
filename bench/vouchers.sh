#!/usr/bin/env bash
# Voucher PDF benchmark: N vouchers of two concept lines each written to PDF
# by the program's report engine, beside the same page drawn by ReportLab.
# Prints pages per second and peak memory of both, and the engine's peak
# memory for a tenth of N, to show whether memory grows with the vouchers;
# then the preview's figures: the time to index the file and to paint the
# last, first and next pages at 100 %, and peak memory.
# Usage: bench/vouchers.sh [BUILD_DIR] [VOUCHERS]   (defaults: build, 10000)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
vouchers="${2:-10000}"
export QT_QPA_PLATFORM=offscreen

driver="$build/bench/vouchers/vouchers_bench"
if ! cmake --build "$build" --target vouchers_bench >/dev/null 2>&1 || [ ! -x "$driver" ]; then
  # Not in the build tree yet: link the driver against the built libraries.
  cmake --build "$build" --target tarquelas_voucher_report >/dev/null
  driver="$build/vouchers_bench"
  g++ -std=c++20 -O2 -fPIC -I"$root" $(pkg-config --cflags Qt6Gui) "$root/bench/vouchers/vouchers_bench.cpp" \
    -o "$driver" "$build/voucher_report/libtarquelas_voucher_report.a" "$build/support/libtarquelas_support.a" \
    $(pkg-config --libs Qt6Gui) -lzint
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

small=$((vouchers / 10))
"$driver" make-aux "$small" "$work/small.txt"
"$driver" make-aux "$vouchers" "$work/aux.txt"

echo "vouchers: $vouchers (two concept lines each), one A4 page each"
printf '%-22s %s\n' "engine ($small):" "$("$driver" pdf "$work/small.txt" "$work/small.pdf" 2>/dev/null)"
printf '%-22s %s\n' "engine ($vouchers):" "$("$driver" pdf "$work/aux.txt" "$work/engine.pdf" 2>/dev/null)"
printf '%-22s %s\n' "preview ($small):" "$("$driver" preview "$work/small.txt" 2>/dev/null)"
printf '%-22s %s\n' "preview ($vouchers):" "$("$driver" preview "$work/aux.txt" 2>/dev/null)"
printf '%-22s %s\n' "reportlab ($small):" "$(/usr/bin/python3 "$root/bench/vouchers_reportlab.py" "$small" "$work/rl-small.pdf")"
printf '%-22s %s\n' "reportlab ($vouchers):" "$(/usr/bin/python3 "$root/bench/vouchers_reportlab.py" "$vouchers" "$work/reportlab.pdf")"
printf '%-22s %s / %s bytes\n' "pdf size:" "$(stat -c %s "$work/engine.pdf")" "$(stat -c %s "$work/reportlab.pdf")"
