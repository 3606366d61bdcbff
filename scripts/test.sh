#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
# Usage: scripts/test.sh             normal build (warnings are errors), format gate; the
#                                    tests run twice, the second time under es_AR.UTF-8
#        scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build
#        scripts/test.sh --fuzz [S]  clang + libFuzzer build; runs every harness S seconds
#                                    (default 20) from its seed corpus
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-normal}"
case "$mode" in
  normal | --sanitize | --fuzz) ;;
  *) echo "usage: $0 [--sanitize | --fuzz [SECONDS]]" >&2; exit 2 ;;
esac

extra=()
[ "$mode" != normal ] && extra+=(clang libclang-rt-14-dev)
scripts/deps.sh "${extra[@]}"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

if [ "$mode" = "--fuzz" ]; then
  exec fuzz/run.sh "${2:-20}"
fi

if [ "$mode" = "--sanitize" ]; then
  build="build-asan"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARQUELAS_SANITIZE=ON >/dev/null
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Only libraries that never call back into the program may be suppressed
  # by name: a suppression matches any frame of the allocation's stack, so
  # naming Qt here would hide leaks of the program's own objects.
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
else
  build=build
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARQUELAS_WERROR=ON >/dev/null
  if command -v clang-format >/dev/null; then
    # NUL-separated, so no file name is split or globbed.
    files=()
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      mapfile -d '' files < <(git ls-files -z '*.cpp' '*.h')
    else
      mapfile -d '' files < <(find . \( -path './build*' -o -path './fuzz/corpus-work' \) -prune -o \
        \( -name '*.cpp' -o -name '*.h' \) -print0)
    fi
    # A log of this run's own, so runs side by side do not mix theirs.
    format_log=$(mktemp "${TMPDIR:-/tmp}/tarquelas-format.XXXXXX")
    trap 'rm -f "$format_log"' EXIT
    if [ ${#files[@]} -gt 0 ] && ! clang-format --dry-run -Werror -- "${files[@]}" 2>"$format_log"; then
      echo "Formatting differs from .clang-format:"; head -n 40 "$format_log"
      exit 1
    fi
  fi
fi
cmake --build "$build" -j "$jobs"
cd "$build"
ctest --output-on-failure -j "$jobs"
if [ "$mode" = normal ]; then
  # Numbers, messages and files must not change with the users' own locale.
  echo "=== the tests again under LC_ALL=es_AR.UTF-8"
  LC_ALL=es_AR.UTF-8 LANG=es_AR.UTF-8 ctest --output-on-failure -j "$jobs"
fi
