#!/usr/bin/env bash
# Builds the Debian package of the program (Release, in build-deb/) and
# prints the path of the .deb on its last line.
# Usage: scripts/build-deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-shlibdeps (dpkg-dev) reads the exact library packages from the program.
scripts/deps.sh dpkg-dev >&2
build="build-deb"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARQUELAS_TESTS=OFF >&2
cmake --build "$build" -j "$(nproc)" >&2

missing=()
[ -x "$build/app/tarquelas" ] || missing+=("$build/app/tarquelas")
for t in templates/DisenoConsorcio.htm templates/DisenoTrabajador.htm; do
  [ -f "$t" ] || missing+=("$t")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Cannot package yet, missing: ${missing[*]}" >&2
  exit 1
fi

rm -f "$build"/tarquelas_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$PWD/$build"/tarquelas_*.deb
