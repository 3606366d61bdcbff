#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (build-fuzz/) and runs each one
# for SECONDS from its seed corpus (fuzz/corpus/<harness>/) and its saved
# crashes (fuzz/regressions/<harness>/). New inputs go to
# fuzz/corpus-work/<harness>/ (not kept in git); a crash is written to
# fuzz/corpus-work/artifacts/<harness>/ and makes the script fail.
# Usage: fuzz/run.sh [SECONDS] [HARNESS ...]
#   TARQUELAS_FUZZ_JOBS=N runs N harnesses at a time (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-20}
shift || true

build=${TARQUELAS_FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARQUELAS_FUZZ=ON -DTARQUELAS_TESTS=OFF >/dev/null
nice cmake --build "$build" --target fuzz_all -j "$(nproc)"

if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  harnesses=()
  for exe in "$build"/fuzz/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] && harnesses+=("$(basename "$exe" | sed 's/^fuzz_//')")
  done
fi
[ ${#harnesses[@]} -gt 0 ] || { echo "No fuzz harness built yet."; exit 0; }

# Scratch files on a memory file system when there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TARQUELAS_FUZZ_TMP=/dev/shm; fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# fontconfig's caches, filled on the first text a harness lays out.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}

run_one() {
  local name=$1
  local work=fuzz/corpus-work/$name artifacts=fuzz/corpus-work/artifacts/$name
  local seeds=fuzz/corpus/$name regressions=fuzz/regressions/$name
  mkdir -p "$work" "$artifacts" "$seeds" "$regressions"
  local dict=()
  [ -f "fuzz/dict/$name.dict" ] && dict=(-dict="fuzz/dict/$name.dict")
  local log=fuzz/corpus-work/$name.log
  echo "== fuzz $name: ${seconds}s"
  if nice "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 \
      -print_final_stats=1 "${dict[@]}" -artifact_prefix="$artifacts/" \
      "$work" "$seeds" "$regressions" >"$log" 2>&1; then
    echo "   $name: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs" \
      "($(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}') a second)," \
      "corpus $(ls "$work" | wc -l) files, no finding"
    return 0
  fi
  echo "!! fuzz $name found a crash; log $root/$log, input(s):"
  ls -1 "$artifacts" | sed "s|^|   $root/$artifacts/|"
  grep -E 'ERROR:|invariant broken|SUMMARY' "$log" | head -n 5 | sed 's/^/   /'
  return 1
}

jobs=${TARQUELAS_FUZZ_JOBS:-1}
status=0
pids=()
for name in "${harnesses[@]}"; do
  run_one "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
