#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
# Usage: scripts/test.sh            normal build (warnings are errors)
#        scripts/test.sh --sanitize AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-normal}"
extra=()
[ "$mode" = "--sanitize" ] && extra+=(clang libclang-rt-14-dev)
scripts/deps.sh "${extra[@]}"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

if [ "$mode" = "--sanitize" ]; then
  build=build-sanitize
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARQUELAS_SANITIZE=ON >/dev/null
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Qt's own libraries hold a few allocations until exit.
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
else
  build=build
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARQUELAS_WERROR=ON >/dev/null
  if command -v clang-format >/dev/null; then
    files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
    if [ -n "$files" ] && ! clang-format --dry-run -Werror $files 2>/tmp/tarquelas-format.log; then
      echo "Formatting differs from .clang-format:"; head -n 40 /tmp/tarquelas-format.log
      exit 1
    fi
  fi
fi
cmake --build "$build" -j "$jobs"
cd "$build"
ctest --output-on-failure -j "$jobs"
