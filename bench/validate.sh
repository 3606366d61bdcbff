#!/usr/bin/env bash
# Validation benchmark: builds validate_bench (Release, its own build
# folder), generates a 1,000,000-line voucher file, a 1,000,000-line
# registry file and a registry of 20,000 consortia x 5 workers x 2
# beneficiaries, and prints for each the validation time, MB/s, peak
# memory, and the time `wc -l` takes over the same file as a reference.
# Times are the best of three runs, as wall-clock seconds and as processor
# seconds (user + system), the steadier figure on a busy machine. It
# prints figures; it never fails on them.
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

# Generates a file once; later runs reuse it (the name says what it holds).
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

# Runs a command three times; prints "wall cpu peak_kb", each the best
# (the peak the largest) of the three.
measure() {
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" "$@" >/dev/null
    cat "$work/time.txt"
  done | awk '{
      cpu = $2 + $3
      if (NR == 1 || $1 < wall) wall = $1
      if (NR == 1 || cpu < best) best = cpu
      if ($4 > peak) peak = $4
    } END { print wall, best, peak }'
}

printf '%-23s %8s %6s | %-13s | %-13s %7s %7s | %-11s %7s\n' \
  "" "" "" "wc -l" "validation" "MB/s" "peak" "x wc -l" "rejected"
printf '%-23s %8s %6s | %6s %6s | %6s %6s %7s %7s | %5s %5s %7s\n' \
  file lines MB wall cpu wall cpu wall MB wall cpu ""
for entry in voucher:vouchers-1M.txt registry:registry-1M.txt registry:registry-20000x5x2.txt; do
  kind=${entry%%:*}
  file=$work/${entry#*:}
  cat "$file" >/dev/null  # both measurements start from the page cache
  read -r wc_wall wc_cpu _ < <(measure wc -l "$file")
  read -r wall cpu peak_kb < <(measure "$driver" "$kind" "$file" "$work/app")
  rejected=$("$driver" "$kind" "$file" "$work/app" | awk '/^rejected/ {print $2}')
  awk -v name="${entry#*:}" -v lines="$(wc -l <"$file")" -v bytes="$(stat -c %s "$file")" \
    -v wcw="$wc_wall" -v wcc="$wc_cpu" -v w="$wall" -v c="$cpu" -v kb="$peak_kb" -v rej="$rejected" '
    function ratio(a, b) { return b > 0 ? a / b : 0 }
    BEGIN {
      mb = bytes / 1048576
      printf "%-23s %8d %6.1f | %6.2f %6.2f | %6.2f %6.2f %7.1f %7.1f | %5.1f %5.1f %7s\n",
        name, lines, mb, wcw, wcc, w, c, ratio(mb, w), kb / 1024, ratio(w, wcw), ratio(c, wcc), rej
    }'
done
rm -f "$work/app/TarquelasAux.txt" "$work/app/TarquelasErrores.txt" "$work/time.txt"
echo "goal: validation within 5x the wc -l time; peak memory under 50 MB for the voucher file"
echo "(validation times include starting the driver; /usr/bin/time reports to 0.01 s)"
