#!/usr/bin/env bash
# Builds the Debian package from this build tree and checks that it declares
# what the program needs at run time.
# Usage: check_deb.sh BINARY_DIR
set -euo pipefail
binary_dir=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$binary_dir" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/tarquelas_*.deb)
info=$(dpkg-deb --info "$deb")
echo "$info" | grep -E '^ (Package|Version|Depends|Recommends):'
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
status=0
for need in libqt6widgets6 libqt6printsupport6 libzint fonts-dejavu-core xdg-utils; do
  if ! grep -q "$need" <<<"$depends"; then
    echo "missing dependency: $need" >&2
    status=1
  fi
done
contents=$(dpkg-deb --contents "$deb")
for file in ./usr/lib/tarquelas/tarquelas ./usr/lib/tarquelas/DisenoConsorcio.htm \
  ./usr/lib/tarquelas/DisenoTrabajador.htm ./usr/bin/tarquelas ./usr/share/applications/tarquelas.desktop; do
  if ! grep -qE " $file( |$)" <<<"$contents"; then
    echo "missing from the package: $file" >&2
    status=1
  fi
done
exit $status
