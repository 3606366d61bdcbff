#!/usr/bin/env bash
# The voucher PDFs as the readers an office meets take them. Three files go
# through batch mode: the sample, one whose consortium names hold every
# printable Windows-1252 character, and a generated one of 1,000 vouchers.
# Each PDF must be sound for qpdf, read by Ghostscript without a repair or
# a warning, have its fonts embedded as subsets with a Unicode map, a page
# tree of small nodes, one outline entry per voucher in page order (leading
# to the voucher's first page), page numbers, Info and XMP metadata that
# agree, and the texts found again by pdftotext and by MuPDF. Then the
# sample's bar codes read back in both symbologies, chosen by the option
# and by the settings file.
# Exit 77 (skipped) when a reader is missing (scripts/deps.sh installs them).
# Usage: pdf_conformance_test.sh PROGRAM SAMPLE GENERATOR
set -euo pipefail
program=$1 sample=$2 generator=$3

# shellcheck source=tests/common/script_test.sh
source "$(dirname "$0")/../common/script_test.sh"
# Every check is made: a failure is counted, and the count ends the test.
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

need_tools gs mutool qpdf pdffonts pdfinfo pdftotext pdftoppm zbarimg python3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# The program's settings file, the test's own.
export XDG_CONFIG_HOME=$work/config
failures=0
version=$("$program" --version | awk '{print $2}')

# Python helpers over the auxiliary file (Windows-1252, CR LF) and the PDFs.
py() { python3 - "$@"; }

# FILE.txt ONLY: the vouchers of a presentation file cut to the first ONLY,
# its last (closing) line kept.
cut_vouchers() {
  py "$1" "$2" <<'EOF'
import sys
path, only = sys.argv[1], int(sys.argv[2])
lines = open(path, 'rb').read().split(b'\r\n')
out, keys = [lines[0]], []
for line in lines[1:-2]:
    key = line[13:29]
    if not keys or keys[-1] != key:
        keys.append(key)
    if len(keys) > only:
        break
    out.append(line)
open(path, 'wb').write(b'\r\n'.join(out + lines[-2:]))
EOF
}

# IN OUT STRINGS: IN with its vouchers' consortium names replaced by pieces
# of the printable Windows-1252 characters, which go to STRINGS (UTF-8).
every_character() {
  py "$1" "$2" "$3" <<'EOF'
import sys
src, dst, strings = sys.argv[1:]
chars = bytes(b for b in range(0x21, 0x100)
              if b not in (0x7f, 0x81, 0x8d, 0x8f, 0x90, 0x9d))
pieces = [chars[i:i + 24] for i in range(0, len(chars), 24)]
lines = open(src, 'rb').read().split(b'\r\n')
out, keys = [lines[0]], []
for line in lines[1:]:
    if len(line) == 549:
        if not keys or keys[-1] != line[13:29]:
            keys.append(line[13:29])
        piece = pieces[(len(keys) - 1) % len(pieces)]
        line = line[:109] + piece.ljust(80) + line[189:]
    out.append(line)
open(dst, 'wb').write(b'\r\n'.join(out))
open(strings, 'w', encoding='utf-8').write(
    '\n'.join(p.decode('cp1252') for p in pieces) + '\n')
EOF
}

# AUX: the vouchers of an auxiliary file, one a line: the C.U.I.T. as
# printed, the consortium, the form, separated by " – " (the outline's
# titles); then the header's title line ("entity – Periodo mm/yyyy").
vouchers_of() {
  py "$1" <<'EOF'
import sys
lines = [l for l in open(sys.argv[1], 'rb').read().decode('cp1252').split('\r\n') if l]
header = lines[0]
titles, keys = [], []
for line in lines[1:]:
    if len(line) != 549:
        continue
    cuit, form = line[13:24], line[24:29]
    if not keys or keys[-1] != (cuit, form):
        keys.append((cuit, form))
        titles.append('%s-%s-%s \u2013 %s \u2013 %s' % (cuit[:2], cuit[2:10], cuit[10], line[109:189].strip(), form))
print('\n'.join(titles))
print('TITLE ' + '%s \u2013 Periodo %s/%s' % (header[8:58].strip(), header[108:110], header[110:114]))
EOF
}

check_soundness() {
  local pdf=$1 name=$2 out
  out=$(qpdf --check "$pdf" 2>&1) || fail "$name: qpdf --check: $out"
  grep -q "No syntax or stream encoding errors" <<<"$out" && ! grep -qi "warning" <<<"$out" ||
    fail "$name: qpdf --check: $out"
  # Ghostscript's own lines aside, nothing: its repairs and warnings are
  # not printed under -q.
  out=$(gs -o /dev/null -sDEVICE=nullpage -dPDFSTOPONERROR "$pdf" 2>&1) || fail "$name: Ghostscript failed: $out"
  out=$(grep -aEv '^(GPL Ghostscript .*|Copyright .*Artifex.*|This software is supplied .*|see the file COPYING .*|Processing pages [0-9]+ through [0-9]+\.|Page [0-9]+)$' <<<"$out" || true)
  [ -z "$out" ] || fail "$name: Ghostscript says: $(head -c 600 <<<"$out")"
  # every font embedded, a subset, with a Unicode map
  out=$(pdffonts "$pdf" | tail -n +3 | awk '$(NF-4) != "yes" || $(NF-3) != "yes" || $(NF-2) != "yes"')
  [ -z "$out" ] || fail "$name: fonts not embedded as subsets with a Unicode map: $out"
  # a page tree of small nodes
  qpdf --json=2 --json-key=qpdf "$pdf" >"$work/objects.json"
  out=$(py "$work/objects.json" <<'EOF'
import json, sys
objects = json.load(open(sys.argv[1]))['qpdf'][1]
for name, o in objects.items():
    v = o.get('value')
    if isinstance(v, dict) and v.get('/Type') == '/Pages' and len(v.get('/Kids', [])) > 64:
        print('%s has %d kids' % (name, len(v['/Kids'])))
EOF
  )
  [ -z "$out" ] || fail "$name: page tree: $(head -n 3 <<<"$out")"
}

# PDF NAME EXPECTED: the outline lists the expected titles in order, each
# leading to the page where its voucher's C.U.I.T. is printed, the pages
# following one another.
check_outline() {
  local pdf=$1 name=$2 expected=$3 pages=$work/pages.txt
  pdftotext "$pdf" "$pages"
  local out
  mutool show "$pdf" outline >"$work/outline.txt"
  out=$(py "$expected" "$pages" "$work/outline.txt" <<'EOF'
import re, sys
expected = [l for l in open(sys.argv[1], encoding='utf-8').read().split('\n') if l and not l.startswith('TITLE ')]
pages = open(sys.argv[2], encoding='utf-8').read().split('\f')
got = []
for line in open(sys.argv[3], encoding='utf-8').read().split('\n'):
    if not line.startswith('|'):
        continue
    title, _, target = line[1:].strip().rpartition('\t#page=')
    title = re.sub(r'\\(.)', r'\1', title.strip()[1:-1])  # mutool escapes " and \\
    got.append((title, int(target.split('&')[0])))
if [t for t, _ in got] != expected:
    print('%d entries, %d vouchers; first differing: %s' % (len(got), len(expected),
          next(((g, e) for (g, _), e in zip(got, expected) if g != e), None)))
last = 0
for title, page in got:
    cuit = title.split(' ')[0]
    if page <= last or page > len(pages) or 'CUIT: ' + cuit not in pages[page - 1]:
        print('entry %s leads to page %d' % (title, page))
        break
    last = page
EOF
  )
  [ -z "$out" ] || fail "$name: outline: $out"
  mutool show "$pdf" trailer/Root/PageLabels 2>/dev/null | grep -q "/Nums" || fail "$name: no page labels"
}

check_metadata() {
  local pdf=$1 name=$2 expected=$3 info xmp title
  info=$(pdfinfo -isodates "$pdf")
  xmp=$(pdfinfo -meta "$pdf")
  title=$(sed -n 's/^TITLE //p' "$expected")
  field() { sed -n "s/^$1: *//p" <<<"$info"; }
  [ "$(field Title)" = "$title" ] || fail "$name: Title '$(field Title)', not '$title'"
  [[ "$(field Subject)" == "Comprobantes de pago"* ]] || fail "$name: Subject '$(field Subject)'"
  [ "$(field Producer)" = "Tarquelas $version" ] || fail "$name: Producer '$(field Producer)'"
  [ -n "$(field CreationDate)" ] && [ "$(field ModDate)" = "$(field CreationDate)" ] ||
    fail "$name: dates '$(field CreationDate)' '$(field ModDate)'"
  local escaped=${title//&/&amp;}
  escaped=${escaped//</&lt;}
  escaped=${escaped//>/&gt;}
  grep -qF "<rdf:li xml:lang=\"x-default\">$escaped</rdf:li></rdf:Alt></dc:title>" <<<"$xmp" &&
    grep -qF "<pdf:Producer>Tarquelas $version</pdf:Producer>" <<<"$xmp" &&
    grep -qF "<xmp:ModifyDate>$(field ModDate)</xmp:ModifyDate>" <<<"$xmp" ||
    fail "$name: the XMP metadata do not say what Info says: $(head -c 400 <<<"$xmp")"
}

# PDF NAME STRINGS: every line of STRINGS is in the text of both readers,
# white space aside.
check_texts() {
  local pdf=$1 name=$2 strings=$3 reader out
  for reader in pdftotext mutool; do
    if [ "$reader" = pdftotext ]; then
      pdftotext "$pdf" "$work/text.txt"
    else
      mutool draw -q -F txt -o "$work/text.txt" "$pdf" 2>/dev/null
    fi
    out=$(py "$strings" "$work/text.txt" <<'EOF'
import re, sys
text = re.sub(r'\s', '', open(sys.argv[2], encoding='utf-8').read())
for s in open(sys.argv[1], encoding='utf-8').read().split('\n'):
    if s and re.sub(r'\s', '', s) not in text:
        print(repr(s))
EOF
    )
    [ -z "$out" ] || fail "$name: $reader does not find: $(head -n 5 <<<"$out")"
  done
}

# NAME INPUT: the PDF of INPUT through batch mode, and all the checks.
check_file() {
  local name=$1 input=$2 strings=$3 dir=$work/$1
  mkdir -p "$dir"
  echo "== $name"
  "$program" --procesar "$input" --directorio "$dir" --pdf "$dir/$name.pdf" >/dev/null ||
    { fail "$name: batch mode failed"; return; }
  vouchers_of "$dir/TarquelasAux.txt" >"$dir/expected.txt"
  # the outline's titles hold the consortia, the pages print "CUIT: " and the C.U.I.T.
  grep -v '^TITLE ' "$dir/expected.txt" | sed 's/^\([^ ]*\) – \(.*\) – .*$/CUIT: \1\n\2/' >>"$strings"
  check_soundness "$dir/$name.pdf" "$name"
  check_outline "$dir/$name.pdf" "$name" "$dir/expected.txt"
  check_metadata "$dir/$name.pdf" "$name" "$dir/expected.txt"
  check_texts "$dir/$name.pdf" "$name" "$strings"
  echo "   $(pdfinfo "$dir/$name.pdf" | awk '/^Pages:/ {print $2}') pages, $(grep -vc '^TITLE ' "$dir/expected.txt") vouchers"
}

printf '%s\n' "PERIODO: 03 - 2026" "TOTAL A PAGAR:" "Talón para el contribuyente" "Código de barras: " \
  "NO ABONAR EN VENTANILLA." "Lugares habilitados para el pago:" >"$work/sample-strings.txt"
check_file muestra "$sample" "$work/sample-strings.txt"

python3 "$generator" voucher --consortia 14 --seed 21 -o "$work/base.txt"
every_character "$work/base.txt" "$work/cp1252.txt" "$work/cp1252-strings.txt"
check_file cp1252 "$work/cp1252.txt" "$work/cp1252-strings.txt"

python3 "$generator" voucher --consortia 800 --seed 21 -o "$work/mil.txt"
cut_vouchers "$work/mil.txt" 1000
: >"$work/mil-strings.txt"
check_file mil "$work/mil.txt" "$work/mil-strings.txt"

# SYMBOLOGY PDF: every page's bar code reads back, in SYMBOLOGY, as the
# digits the page prints (Interleaved 2 of 5 with its leading 0).
check_bar_codes() {
  local symbology=$1 pdf=$2 name=$3 p digits read codes=0
  local pages
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  for p in $(seq 1 "$pages"); do
    digits=$(pdftotext -f "$p" -l "$p" "$pdf" - | sed -n 's/.*Código de barras: *\([0-9]*\).*/\1/p' | head -n 1)
    [ -n "$digits" ] || continue
    pdftoppm -f "$p" -l "$p" -r 300 -gray -png -singlefile "$pdf" "$work/pagina"
    read=$(zbarimg -q "$work/pagina.png" 2>/dev/null | head -n 1)
    if [ "$symbology" = code128 ]; then
      [ "$read" = "CODE-128:$digits" ] || fail "$name: page $p reads '$read', prints $digits"
    else
      [ "$read" = "I2/5:0$digits" ] || fail "$name: page $p reads '$read', prints $digits"
    fi
    codes=$((codes + 1))
  done
  [ "$codes" -gt 0 ] || fail "$name: no page shows a bar code"
  echo "   $name: $codes bar codes read"
}

echo "== bar codes"
mkdir -p "$work/barras" "$XDG_CONFIG_HOME/tarquelas"
check_bar_codes code128 "$work/muestra/muestra.pdf" "Code 128 by default"
for symbology in i2of5 code128; do
  "$program" --procesar "$sample" --directorio "$work/barras" --pdf "$work/barras/$symbology.pdf" \
    --simbologia "$symbology" >/dev/null || fail "--simbologia $symbology failed"
  check_bar_codes "$symbology" "$work/barras/$symbology.pdf" "--simbologia $symbology"
done
printf '[codigoDeBarras]\nsimbologia=i2of5\n' >"$XDG_CONFIG_HOME/tarquelas/tarquelas.conf"
"$program" --procesar "$sample" --directorio "$work/barras" --pdf "$work/barras/conf.pdf" >/dev/null ||
  fail "the settings file's i2of5 failed"
check_bar_codes i2of5 "$work/barras/conf.pdf" "the settings file's i2of5"
printf '[codigoDeBarras]\nsimbologia=qr\n' >"$XDG_CONFIG_HOME/tarquelas/tarquelas.conf"
status=0
out=$("$program" --procesar "$sample" --directorio "$work/barras" --pdf "$work/barras/mal.pdf" 2>&1) || status=$?
[ "$status" -eq 2 ] && grep -qF "«qr» de codigoDeBarras/simbologia" <<<"$out" && [ ! -e "$work/barras/mal.pdf" ] ||
  fail "an unknown symbology in the settings file: exit $status, $out"

[ "$failures" -eq 0 ] || { echo "FAILED: $failures checks" >&2; exit 1; }
echo "PASSED"
