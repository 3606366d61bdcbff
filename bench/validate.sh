#!/usr/bin/env bash
# Validation benchmark: builds validate_bench (Release, its own build
# folder), generates a 1,000,000-line voucher file, a 1,000,000-line
# registry file and a registry of 20,000 consortia x 5 workers x 2
# beneficiaries, and prints for each the validation time, MB/s, peak
# memory, and the time `wc -l` takes over the same file as a reference.
# It prints figures; it never fails on them.
#
#   bench/validate.sh [work folder]   (default: /tmp/tarquelas-bench-validate)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-${TMPDIR:-/tmp}/tarquelas-bench-validate}
build=$root/build-bench-validate
mkdir -p "$work/app"

if [ ! -x /usr/bin/time ]; then
  echo "validate.sh: /usr/bin/time is missing (Debian package 'time', see scripts/deps.sh)" >&2
  exit 1
fi

cmake -S "$root/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target validate_bench -j2 >/dev/null
driver=$build/validate_bench

# Generates a file once; later runs reuse it (the name carries the arguments).
generate() {
  local name=$1
  shift
  if [ ! -s "$work/$name" ]; then
    echo "generating $name ..." >&2
    python3 "$root/samples/generate.py" "$@" --seed 7 -o "$work/$name.part"
    mv "$work/$name.part" "$work/$name"
  fi
}

generate vouchers-1M.txt voucher --lines 1000000
generate registry-1M.txt registry --lines 1000000 --workers 5 --beneficiaries 2
generate registry-20000x5x2.txt registry --consortia 20000 --workers 5 --beneficiaries 2

# The smaller of two numbers; the second may be empty.
smaller() { awk -v a="$1" -v b="$2" 'BEGIN {print (b == "" || a < b) ? a : b}'; }

# Best wall time of three runs of a command, in seconds.
best_of_three() {
  local best=""
  for _ in 1 2 3; do
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(awk -v a="$start" -v b="$end" 'BEGIN {print b - a}')
    best=$(smaller "$took" "$best")
  done
  printf '%.3f' "$best"
}

printf '%-24s %9s %7s %9s %8s %9s %10s %8s %9s\n' \
  file lines MB wc_l_s valid_s MB/s x_wc_l peak_MB rejected
for entry in voucher:vouchers-1M.txt registry:registry-1M.txt registry:registry-20000x5x2.txt; do
  kind=${entry%%:*}
  file=$work/${entry#*:}
  cat "$file" >/dev/null  # both measurements start from the page cache
  bytes=$(stat -c %s "$file")
  lines=$(wc -l <"$file")
  wc_s=$(best_of_three wc -l "$file")
  best=""
  peak_kb=0
  rejected=""
  for _ in 1 2 3; do
    out=$(/usr/bin/time -v "$driver" "$kind" "$file" "$work/app" 2>"$work/time.txt")
    took=$(echo "$out" | awk '/^seconds/ {print $2}')
    rejected=$(echo "$out" | awk '/^rejected/ {print $2}')
    kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
    best=$(smaller "$took" "$best")
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
  done
  awk -v name="${entry#*:}" -v lines="$lines" -v bytes="$bytes" -v wc="$wc_s" -v t="$best" \
    -v kb="$peak_kb" -v rejected="$rejected" 'BEGIN {
      mb = bytes / 1048576
      printf "%-24s %9d %7.1f %9.3f %8.3f %9.1f %10.1f %8.1f %9s\n", name, lines, mb, wc, t, mb / t, t / wc, kb / 1024, rejected
    }'
done
rm -f "$work/app/TarquelasAux.txt" "$work/app/TarquelasErrores.txt" "$work/time.txt"
echo "goal: validation within 5x the wc -l time; peak memory under 50 MB for the voucher file"
