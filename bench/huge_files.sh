#!/usr/bin/env bash
# Huge presentation files: builds a voucher file and a registry file of
# about SIZE_MB megabytes each (default 3072), validates each with the
# validators (bench/validate_main.cpp's driver), and prints time, MB/s and
# peak memory. It also checks that counting stays right far past 2^31 bytes:
# one faulty record is planted near the end of each file, and the error
# file must name exactly the expected physical line numbers; the auxiliary
# file must hold exactly the lines that passed.
#
# The files are made by repeating the body of a 1,000,000-line file from
# samples/generate.py. A registry's record numbers have six digits, so each
# repetition restarts its numbering at 1 and is reported once as "no es
# correlativo" at its first line; those reports are expected too.
#
#   bench/huge_files.sh [work folder]      SIZE_MB=3072 by default
# The work folder needs about 2.2 x SIZE_MB free; everything made there is
# deleted at the end. Exit status 1 when a check fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
size_mb=${SIZE_MB:-3072}
work=${1:-${TMPDIR:-/tmp}/tarquelas-huge}
build=$root/build-bench-huge
mkdir -p "$work/app"
trap 'rm -rf "$work"' EXIT

for tool in /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "huge_files.sh: $tool is missing" >&2; exit 1; }
done
need_kb=$((size_mb * 1024 * 22 / 10 + 1024 * 1024))
free_kb=$(df -Pk "$work" | awk 'NR == 2 {print $4}')
if [ "$free_kb" -lt "$need_kb" ]; then
  echo "huge_files.sh: $work has $((free_kb / 1024)) MB free, needs $((need_kb / 1024)) MB" >&2
  exit 1
fi

cmake -S "$root/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target validate_bench -j2 >/dev/null
driver=$build/validate_bench
target_bytes=$((size_mb * 1024 * 1024))
failures=0

fail() {
  echo "   FAILED: $*"
  failures=$((failures + 1))
}

# split_sample SAMPLE HEADER BODY FOOTER: the first line, the lines in
# between (the part that is repeated) and the last line.
split_sample() {
  local sample=$1 header=$2 body=$3 footer=$4
  head -n 1 "$sample" >"$header"
  tail -n +2 "$sample" | head -n -1 >"$body"
  tail -n 1 "$sample" >"$footer"
}

# repeat HEADER BODY FOOTER OUT: header, the body as often as it takes to
# reach the target size, footer. Prints the number of repetitions.
repeat() {
  local header=$1 body=$2 footer=$3 out=$4
  local body_bytes copies
  body_bytes=$(stat -c %s "$body")
  copies=$(((target_bytes + body_bytes - 1) / body_bytes))
  {
    cat "$header"
    for ((i = 0; i < copies; i++)); do cat "$body"; done
    cat "$footer"
  } >"$out"
  echo "$copies"
}

# spoil FILE LINE_BYTES TYPE POSITION: changes the check digit at 1-based
# POSITION of the last record whose first character is TYPE ("" for any)
# among fixed-length lines; prints that record's 1-based line number.
spoil() {
  python3 - "$@" <<'EOF'
import os, sys
path, width, kind, pos = sys.argv[1], int(sys.argv[2]), sys.argv[3].encode(), int(sys.argv[4])
header = int(sys.argv[5])
with open(path, "r+b") as f:
    size = os.path.getsize(path)
    count = (size - header) // width          # fixed-width lines after the header
    for k in range(count - 1, 0, -1):
        off = header + k * width
        f.seek(off)
        rec = f.read(width)
        if rec[: len(kind)] == kind and len(rec.rstrip(b"\r\n")) == width - 2:
            digit = rec[pos - 1] - 48
            f.seek(off + pos - 1)
            f.write(bytes([48 + (digit + 1) % 10]))
            print(k + 2)                       # line 1 is the header
            break
EOF
}

# validate KIND FILE: runs the driver under /usr/bin/time; prints a figure line.
validate() {
  local kind=$1 file=$2
  local bytes mb
  bytes=$(stat -c %s "$file")
  mb=$(awk -v b="$bytes" 'BEGIN {printf "%.0f", b / 1048576}')
  /usr/bin/time -v -o "$work/time.txt" "$driver" "$kind" "$file" "$work/app" >"$work/driver.txt"
  local secs peak
  secs=$(awk '/^seconds/ {print $2}' "$work/driver.txt")
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
  printf '%-9s %9d MB %11d lines %8.1f s %8.1f MB/s %8.1f MB peak\n' "$kind" "$mb" \
    "$(wc -l <"$file")" "$secs" "$(awk -v m="$mb" -v s="$secs" 'BEGIN {print m / s}')" \
    "$(awk -v k="$peak" 'BEGIN {print k / 1024}')"
}

check_vouchers() {
  echo "== voucher file"
  python3 "$root/samples/generate.py" voucher --lines 1000000 --seed 7 -o "$work/sample.txt"
  split_sample "$work/sample.txt" "$work/h" "$work/b" "$work/f"
  rm "$work/sample.txt"
  local copies bad lines
  copies=$(repeat "$work/h" "$work/b" "$work/f" "$work/vouchers.txt")
  # Detail records are 549 characters plus CR LF; the C.U.I.T. ends at 24.
  bad=$(spoil "$work/vouchers.txt" 551 "" 24 "$(stat -c %s "$work/h")")
  rm "$work/h" "$work/b" "$work/f"
  lines=$(wc -l <"$work/vouchers.txt")
  validate voucher "$work/vouchers.txt"
  local expected
  expected=$(printf 'L\xEDnea %d: CUIT. \r\n' "$bad")
  [ "$(cat "$work/app/TarquelasErrores.txt")" = "$expected" ] ||
    fail "voucher error file: expected one report of line $bad, got: $(head -c 200 "$work/app/TarquelasErrores.txt" | od -c | head -3)"
  # Every line is copied but the spoiled one and the closing record.
  local aux_expected=$(($(stat -c %s "$work/vouchers.txt") - 551 - $(tail -n 1 "$work/vouchers.txt" | wc -c)))
  [ "$(stat -c %s "$work/app/TarquelasAux.txt")" -eq "$aux_expected" ] ||
    fail "voucher auxiliary file: $(stat -c %s "$work/app/TarquelasAux.txt") bytes, expected $aux_expected"
  echo "   $copies repetitions, $lines lines; spoiled line $bad reported alone, at byte $(((bad - 2) * 551 + 134))"
  rm -f "$work/vouchers.txt" "$work/app/"*
}

check_registry() {
  echo "== registry file"
  python3 "$root/samples/generate.py" registry --lines 1000000 --workers 5 --beneficiaries 2 --seed 7 \
    -o "$work/sample.txt"
  split_sample "$work/sample.txt" "$work/h" "$work/b" "$work/f"
  rm "$work/sample.txt"
  : >"$work/f"  # no trailer: its totals could not match the restarted numbering
  local copies body_lines bad
  body_lines=$(wc -l <"$work/b")
  copies=$(repeat "$work/h" "$work/b" "$work/f" "$work/registry.txt")
  # All lines are 300 characters plus CR LF; a worker's C.U.I.L. ends at 18.
  bad=$(spoil "$work/registry.txt" 302 "2" 18 302)
  rm "$work/h" "$work/b" "$work/f"
  validate registry "$work/registry.txt"
  {
    for ((k = 1; k < copies; k++)); do
      printf 'Error L\xEDnea %d: El n\xFAmero de registro no es correlativo\r\n' $((1 + k * body_lines + 1))
    done
    printf 'Error L\xEDnea %d: El C.U.I.L. del trabajador es inv\xE1lido\r\n\r\n' "$bad"
  } >"$work/expected.txt"
  cmp -s "$work/expected.txt" "$work/app/TarquelasErrores.txt" ||
    fail "registry error file differs from the expected reports: $(diff <(tr -d '\r' <"$work/expected.txt") \
      <(tr -d '\r' <"$work/app/TarquelasErrores.txt" | head -n 20) | head -n 8 | tr '\n' ' ')"
  # Lines are copied until the first report: the header and one body.
  [ "$(stat -c %s "$work/app/TarquelasAux.txt")" -eq $(((1 + body_lines) * 302)) ] ||
    fail "registry auxiliary file: $(stat -c %s "$work/app/TarquelasAux.txt") bytes, expected $(((1 + body_lines) * 302))"
  echo "   $copies repetitions of $body_lines records; $copies reports as expected, the last at line $bad," \
    "byte $(((bad - 1) * 302))"
  rm -f "$work/registry.txt" "$work/app/"*
}

echo "Huge files of about $size_mb MB in $work ($(nproc) cores)"
check_vouchers
check_registry
[ "$failures" -eq 0 ] && echo "All checks passed." || echo "$failures check(s) failed."
[ "$failures" -eq 0 ]
