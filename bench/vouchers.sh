#!/usr/bin/env bash
# Voucher PDF benchmark: the same N vouchers of two concept lines each (one
# A4 page each) written to PDF by the program and drawn by ReportLab, in one
# run. Prints pages per processor second and per wall second and peak memory
# of both, for N/10 and N vouchers, then the program's speed over
# ReportLab's and its memory from N/10 to N vouchers. Processor seconds are
# the measure to go by on a shared machine: wall seconds count the other
# programs' turns too.
# Also printed: the same pages through Qt's PDF engine (the one QPrinter
# prints through), the preview's figures (the time to index the file and to
# paint the last, first and next pages at 100 %), and whether the PDF is
# sound (qpdf, pdffonts), when those tools are installed.
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
    -o "$driver" "$build/voucher_report/libtarquelas_voucher_report.a" \
    "$build/report_engine/libtarquelas_report_engine.a" "$build/pdf/libtarquelas_pdf.a" \
    "$build/declarations/libtarquelas_declarations.a" "$build/support/libtarquelas_support.a" \
    $(pkg-config --libs Qt6Gui) -lzint -lz
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

small=$((vouchers / 10))
"$driver" make-aux "$small" "$work/small.txt"
"$driver" make-aux "$vouchers" "$work/aux.txt"

# The value after key on a figures line ("pages 10 wall_s 0.5 ...").
figure() { awk -v key="$1" '{ for (i = 1; i < NF; i++) if ($i == key) print $(i + 1) }' <<<"$2"; }
row() { printf '%-24s %s\n' "$1" "$2"; }

echo "vouchers: $vouchers (two concept lines each), one A4 page each"
program_small="$("$driver" pdf "$work/small.txt" "$work/small.pdf" 2>/dev/null)"
program="$("$driver" pdf "$work/aux.txt" "$work/program.pdf" 2>/dev/null)"
qt="$("$driver" qt-pdf "$work/aux.txt" "$work/qt.pdf" 2>/dev/null)"
reportlab_small="$(/usr/bin/python3 "$root/bench/vouchers_reportlab.py" "$small" "$work/rl-small.pdf")"
reportlab="$(/usr/bin/python3 "$root/bench/vouchers_reportlab.py" "$vouchers" "$work/reportlab.pdf")"
row "program ($small):" "$program_small"
row "program ($vouchers):" "$program"
row "reportlab ($small):" "$reportlab_small"
row "reportlab ($vouchers):" "$reportlab"
row "qt pdf engine ($vouchers):" "$qt"
row "preview ($small):" "$("$driver" preview "$work/small.txt" 2>/dev/null)"
row "preview ($vouchers):" "$("$driver" preview "$work/aux.txt" 2>/dev/null)"

ratio() { awk -v a="$(figure "$1" "$program")" -v b="$(figure "$1" "$reportlab")" 'BEGIN { printf "%.2f", a / b }'; }
row "program / reportlab:" "$(ratio pages_per_cpu_s) per CPU second, $(ratio pages_per_wall_s) per wall second (goal: 2.5 per CPU second)"
row "program peak memory:" "$(figure peak_rss_kb "$program_small") kB at $small vouchers, $(figure peak_rss_kb "$program") kB at $vouchers"
row "reportlab peak memory:" "$(figure peak_rss_kb "$reportlab_small") kB at $small vouchers, $(figure peak_rss_kb "$reportlab") kB at $vouchers"
row "pdf size:" "program $(stat -c %s "$work/program.pdf"), qt $(stat -c %s "$work/qt.pdf"), reportlab $(stat -c %s "$work/reportlab.pdf") bytes"

if command -v qpdf >/dev/null && command -v pdffonts >/dev/null; then
  check="$(qpdf --check "$work/program.pdf" 2>&1 | grep -c 'No syntax or stream encoding errors' || true)"
  unembedded="$(pdffonts "$work/program.pdf" | tail -n +3 | awk '$(NF-4) != "yes"' | wc -l)"
  row "program pdf:" "qpdf --check $([ "$check" = 1 ] && echo sound || echo FAILED), $(pdffonts "$work/program.pdf" | tail -n +3 | wc -l) fonts, $unembedded not embedded"
fi
