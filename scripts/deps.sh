#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
# Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n
  qt6-tools-dev qt6-l10n-tools
  libzint-dev libgtest-dev libgmock-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-wine
  clang-format
  zlib1g-dev libcups2-dev cups printer-driver-cups-pdf
  zbar-tools poppler-utils qpdf python3-reportlab
  ghostscript mupdf-tools opentype-sanitizer fonts-urw-base35 python3-fonttools
  xvfb xauth desktop-file-utils dpkg-dev
  python3 time locales procps
  "$@"
)

# The tests run a second time in the users' own locale.
test_locale=es_AR.UTF-8

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "scripts/deps.sh: run it as root, or install sudo" >&2; exit 1; }
  SUDO=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${SUDO[@]}" apt-get update -qq
  # Through env, so the setting survives sudo's cleaning of the environment.
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a spells the encoding in lower case without the hyphen (es_AR.utf8).
spelled() { sed 's/\.[Uu][Tt][Ff]-\?8$/.utf8/'; }
if ! locale -a 2>/dev/null | spelled | grep -qxF "$(spelled <<<"$test_locale")"; then
  echo "Generating the locale $test_locale"
  if ! grep -qx "$test_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$test_locale UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${SUDO[@]}" locale-gen >/dev/null
fi
