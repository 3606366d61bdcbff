#!/usr/bin/env bash
# Registry printout speed: a registry of 20,000 consortia x 5 workers x 2
# beneficiaries (about 340,000 lines) and one of half as many consortia,
# each loaded and written as Padron.html with worker pages using the
# project's templates. Prints time and peak memory of each and the ratio of
# the full file's time to the half file's (linear growth gives about 2);
# then the same number of workers in one single consortium, where each
# worker page once meant a pass over every page before it.
#
# Usage: bench/printout.sh [CONSORTIA]     (default 20000)
# Environment: BUILD_DIR (default build-release) receives the driver;
# PRINTOUT_BENCH names a driver already built instead.
set -euo pipefail
cd "$(dirname "$0")/.."

full=${1:-20000}
half=$((full / 2))
build=${BUILD_DIR:-build-release}

driver=${PRINTOUT_BENCH:-}
if [ -z "$driver" ]; then
  if [ -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -DTARQUELAS_BENCH=ON >/dev/null
  else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_TESTS=OFF -DTARQUELAS_BENCH=ON >/dev/null
  fi
  if ! cmake --build "$build" --target printout_bench >/dev/null; then
    echo "cannot build printout_bench in $build" >&2
    exit 2
  fi
  driver=$(find "$build" -type f -name printout_bench -perm -u+x | head -n1)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # consortia [workers per consortium] -> figures of one printout
  local n=$1 workers=${2:-5} dir="$work/$1-${2:-5}"
  mkdir -p "$dir"
  python3 samples/generate.py registry --consortia "$n" --workers "$workers" --beneficiaries 2 --seed 7 \
    -o "$dir/registry.txt"
  cp templates/DisenoConsorcio.htm templates/DisenoTrabajador.htm "$dir/"
  sync
  # The best of three: other work on the machine only ever adds time.
  for _ in 1 2 3; do
    "$driver" "$dir/registry.txt" "$dir" >>"$dir/figures.txt"
    rm -f "$dir/Padron.html"
  done
  local lines
  lines=$(wc -l <"$dir/registry.txt")
  awk -v n="$n" -v lines="$lines" '
    { if (!($1 in f) || ($1 ~ /_ms$/ && $2 < f[$1])) f[$1] = $2 }
    END {
      printf "%6d consortia %7d lines: total %5d ms (load %4d, write %5d), processor %5d ms, peak %4d MB (%4d MB after loading), Padron.html %4d MB, %d pages\n",
        n, lines, f["total_ms"], f["carga_ms"], f["escritura_ms"], f["cpu_ms"], f["pico_kb"] / 1024,
        f["pico_carga_kb"] / 1024, f["padron_bytes"] / 1048576, f["paginas"]
    }' "$dir/figures.txt"
}

half_line=$(run "$half")
echo "$half_line"
full_line=$(run "$full")
echo "$full_line"
ratio() {  # field pattern -> full/half
  local a b
  a=$(sed -E "s/.*$1 +([0-9]+) ms.*/\\1/" <<<"$full_line")
  b=$(sed -E "s/.*$1 +([0-9]+) ms.*/\\1/" <<<"$half_line")
  awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}
echo "full/half: elapsed $(ratio total), processor $(ratio processor) (linear: 2.00)"
echo "one consortium with all $((full * 5)) workers:"
run 1 $((full * 5))
