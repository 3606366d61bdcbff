#!/usr/bin/env bash
# Builds the Debian package, shows its control data, installs it into a
# clean Debian root (debootstrap, from the mirror apt already uses) and runs
# the installed program there in batch mode, as an ordinary user, on the
# bundled samples. Prints how long it took.
# Without debootstrap or a reachable mirror it installs the package on this
# machine instead (and says so), then removes it again.
# Usage: scripts/check-package.sh [--host]   (--host: skip the clean root)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
elapsed() { echo "   ($(( $(date +%s) - started )) s so far)"; }

scripts/deps.sh debootstrap >&2
deb=$(scripts/build-deb.sh | tail -n 1)
echo "== Package: $deb"; elapsed
dpkg-deb --info "$deb"
echo "== Contents"
dpkg-deb --contents "$deb" | awk '{print $6, $7, $8}'

# The first Debian mirror and the suite apt is set up with here.
debian_mirror() {
  local uri
  uri=$(grep -hoE '^(URIs:|deb)[[:space:]]+[^[:space:]]*debian[^[:space:]]*' \
          /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk '{print $2}' | grep -v -e security -e '\[' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}
# shellcheck disable=SC1091
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# What is run with the installed program, inside the clean root or here:
# batch mode on both samples, once into a named folder and once into the
# App directory, which for a system install is the user's data folder.
smoke_test() {
  cat <<'SCRIPT'
set -eu
export QT_QPA_PLATFORM=offscreen
cd "$HOME"
out=$(mktemp -d)
echo "-- tarquelas --help"
tarquelas --help
echo "-- tarquelas --procesar vouchers.txt --directorio $out --pdf $out/tarquelas.pdf"
tarquelas --procesar /tmp/tarquelas-samples/vouchers.txt --directorio "$out" --pdf "$out/tarquelas.pdf"
echo "-- tarquelas --procesar registry.txt --trabajadores (App directory)"
tarquelas --procesar /tmp/tarquelas-samples/registry.txt --trabajadores
ls -l "$out" "$HOME/.local/share/tarquelas"
test -s "$out/tarquelas.pdf"
test -s "$HOME/.local/share/tarquelas/Padron.html"
test -s "$HOME/.local/share/tarquelas/DisenoConsorcio.htm"
test -s "$HOME/.local/share/tarquelas/DisenoTrabajador.htm"
echo "-- installed program works for an ordinary user"
SCRIPT
}

remove_clean_root() {
  [ -n "$root" ] || return 0
  umount "$root/proc" 2>/dev/null || true
  rm -rf --one-file-system "$root"
  root=""
}

# Makes a clean root in $root; false when debootstrap or the mirror fails.
make_clean_root() {
  local mirror
  command -v debootstrap >/dev/null || return 1
  mirror=$(debian_mirror)
  root=$(mktemp -d /tmp/tarquelas-root.XXXXXX)
  chmod 755 "$root"  # mktemp's 0700 would shut the ordinary user out of /
  trap remove_clean_root EXIT
  echo "== debootstrap $suite from $mirror into $root"
  # A log of this run's own, kept only when debootstrap fails.
  local log
  log=$(mktemp /tmp/tarquelas-debootstrap.XXXXXX)
  if ! debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$log" 2>&1; then
    echo "debootstrap failed (log: $log)"
    return 1
  fi
  rm -f "$log"
  elapsed
}

check_in_clean_root() {
  mount -t proc proc "$root/proc"  # the program finds its folder through /proc/self/exe
  cp "$deb" "$root/tmp/tarquelas.deb"
  mkdir -p "$root/tmp/tarquelas-samples"
  cp samples/vouchers.txt samples/registry.txt "$root/tmp/tarquelas-samples/"
  echo "== apt-get install ./tarquelas.deb in the clean root"
  # Inside the clean root, so it goes with it.
  local log=$root/tmp/tarquelas-apt.log
  if ! chroot "$root" sh -c 'apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/tarquelas.deb' \
      >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "installing the package into the clean root failed"
    exit 1
  fi
  elapsed
  chroot "$root" useradd -m usuario
  echo "== running the installed program as an ordinary user"
  smoke_test | chroot "$root" su - usuario -s /bin/sh
}

check_on_this_machine() {
  echo "== NOT a clean root: installing the package on this machine with apt"
  local had_it=no
  dpkg-query -W -f='${Status}' tarquelas 2>/dev/null | grep -q 'install ok installed' && had_it=yes
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  mkdir -p /tmp/tarquelas-samples
  cp samples/vouchers.txt samples/registry.txt /tmp/tarquelas-samples/
  local made_user=no
  id usuario >/dev/null 2>&1 || { useradd -m usuario; made_user=yes; }
  smoke_test | su - usuario -s /bin/sh
  [ "$had_it" = yes ] || apt-get remove -y -qq tarquelas >/dev/null
  [ "$made_user" = no ] || userdel -r usuario 2>/dev/null || true
  rm -rf /tmp/tarquelas-samples
}

root=""
if [ "${1:-}" != --host ] && make_clean_root; then
  check_in_clean_root
  remove_clean_root
  where="a clean $suite root (debootstrap)"
else
  remove_clean_root
  check_on_this_machine
  where="this machine (apt install ./$(basename "$deb"))"
fi
echo "== Package checked in $where in $(( $(date +%s) - started )) s"
