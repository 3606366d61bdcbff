#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the program.
# With a display the window opens on FILE (or on the bundled voucher sample);
# without one, batch mode processes both bundled samples and says where the
# output went.
# Usage: scripts/run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc)"

program=build-release/app/tarquelas
if [ ! -x "$program" ]; then
  echo "Built the core libraries; the program itself is not part of this build yet."
  exit 0
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "${1:-$root/samples/vouchers.txt}"
fi

out=${TARQUELAS_OUT:-$root/out}
mkdir -p "$out"
# Batch mode works in $out as its App directory: give it the templates.
for template in templates/*.htm; do
  [ -e "$template" ] && [ ! -e "$out/$(basename "$template")" ] && cp "$template" "$out/"
done
echo "No display: processing the samples in batch mode into $out"
status=0
for sample in "${1:-}" samples/vouchers.txt samples/registry.txt; do
  [ -n "$sample" ] || continue
  echo "== $sample"
  "$program" --procesar "$sample" --directorio "$out" --trabajadores || status=$?
done
echo "Output in $out:"
ls -l "$out"
exit $status
