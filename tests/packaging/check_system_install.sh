#!/usr/bin/env bash
# A system install as its users meet it: the program's folder is read-only
# for them, so the program works in ~/.local/share/tarquelas, copies the
# installed templates there once and then leaves the user's edits alone.
# Installs the build into a scratch prefix and runs the real program on the
# registry sample as an ordinary user (nobody, when run as root).
# Usage: check_system_install.sh BINARY_DIR SOURCE_DIR
set -euo pipefail
binary_dir=$1 source_dir=$2

root=$(mktemp -d /tmp/tarquelas-system.XXXXXX)
chmod 755 "$root"
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
cmake --install "$binary_dir" --prefix "$root/usr" >/dev/null
chmod -R a-w "$root/usr"
cp "$source_dir/samples/registry.txt" "$root/registry.txt"
chmod 644 "$root/registry.txt"
home=$root/home
mkdir -p "$home"

drop=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$home"
  drop=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# A clean environment, so HOME alone decides the data folder; a sanitizer
# build keeps its options.
as_user() {
  "${drop[@]}" env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@"
}
fail() { echo "FAIL: $*" >&2; exit 1; }

data=$home/.local/share/tarquelas
program_dir=$root/usr/lib/tarquelas

as_user "$root/usr/bin/tarquelas" --procesar "$root/registry.txt" --trabajadores >/dev/null 2>&1 ||
  fail "the first run did not process the sample"
[ -s "$data/Padron.html" ] || fail "no Padron.html in the user's data folder"
for t in DisenoConsorcio.htm DisenoTrabajador.htm; do
  cmp -s "$program_dir/$t" "$data/$t" || fail "$t was not copied to the user's data folder"
done
for f in Padron.html TarquelasAux.txt; do
  [ ! -e "$program_dir/$f" ] || fail "$f was written into the program's folder"
done

# The user edits the consortium page design; the next run uses the edit and
# keeps it.
as_user sh -c "printf '<!-- editado por el usuario -->\r\n' >> '$data/DisenoConsorcio.htm'"
as_user "$root/usr/bin/tarquelas" --procesar "$root/registry.txt" >/dev/null 2>&1 ||
  fail "the second run did not process the sample"
grep -q 'editado por el usuario' "$data/DisenoConsorcio.htm" || fail "the edited template was replaced"
grep -q 'editado por el usuario' "$data/Padron.html" || fail "the printout ignored the edited template"
echo "system install: ok"
