#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
# Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n
  libzint-dev libgtest-dev libgmock-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-wine
  clang-format
  zlib1g-dev libcups2-dev cups printer-driver-cups-pdf
  zbar-tools poppler-utils qpdf ghostscript mupdf-tools python3-reportlab
  xvfb xauth desktop-file-utils dpkg-dev
  python3 time
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
