#!/usr/bin/env bash
# The fonts of the program's PDFs, written in batch (--pdf) from the sample:
# - every embedded font passes a strict font reader (ots-sanitize), also
#   when the font lacks tables such a reader asks for;
# - the /W widths are the embedded fonts' own advances;
# - two files with different texts (so different subsets) merged into one
#   keep a distinct name for each font program;
# - with only OpenType fonts with CFF outlines on the system, the fonts are
#   embedded as subsets and every text of the file is found by pdftotext.
# Exit 77 (skipped) when a tool is missing.
# Usage: pdf_fonts_test.sh PROGRAM SAMPLE GENERATE_PY
set -euo pipefail
program=$1 sample=$2 generate=$3
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=tests/common/script_test.sh
source "$(dirname "$0")/../common/script_test.sh"

need_tools mutool ots-sanitize qpdf pdffonts pdftotext
# Debian's Python, which python3-fonttools serves.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" -c 'import fontTools' 2>/dev/null || skip "fontTools is missing (python3-fonttools)"
cff_fonts=/usr/share/fonts/opentype/urw-base35
[ -d "$cff_fonts" ] || skip "fonts-urw-base35 is missing"
bare_font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$bare_font" ] || skip "fonts-dejavu-core is missing"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# sanitize PDF: every font embedded in PDF passes ots-sanitize; prints
# their count.
sanitize() {
  local folder count=0
  folder=$(mktemp -d "$work/fonts.XXXX")
  (cd "$folder" && mutool extract "$1" >/dev/null 2>&1)
  for font in "$folder"/font-*; do
    [ -e "$font" ] || break
    count=$((count + 1))
    ots-sanitize "$font" "$folder/sanitized" >"$folder/ots" 2>&1 ||
      fail "ots-sanitize rejects $(basename "$font") of $(basename "$1"): $(cat "$folder/ots")"
  done
  [ "$count" -gt 0 ] || fail "no embedded font in $(basename "$1")"
  echo "$count"
}

# pdf_of INPUT OUTPUT: the batch's PDF of INPUT, in a folder of its own.
pdf_of() {
  local folder
  folder=$(mktemp -d "$work/run.XXXX")
  "$program" --procesar "$1" --directorio "$folder" --pdf "$2" >"$folder/out" 2>"$folder/err" ||
    fail "the batch run on $1 failed: $(cat "$folder/err")"
}

# only_fonts DIR: a fontconfig setup that knows only the fonts in DIR.
only_fonts() {
  local conf=$work/fonts.conf
  mkdir -p "$work/fc-cache"
  cat >"$conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$1</dir><cachedir>$work/fc-cache</cachedir></fontconfig>
EOF
  echo "$conf"
}

pdf_of "$sample" "$work/a.pdf"

# Every embedded font, as a font reader sees it.
count=$(sanitize "$work/a.pdf")

"$python" "$here/pdf_fonts_check.py" widths "$work/a.pdf" || fail "the /W widths are not the fonts' own"

# Another file with other texts: its subsets hold other glyphs.
"$python" "$generate" voucher --consortia 3 --seed 21 -o "$work/other.txt"
pdf_of "$work/other.txt" "$work/b.pdf"
qpdf --empty --pages "$work/a.pdf" "$work/b.pdf" -- "$work/merged.pdf"
"$python" "$here/pdf_fonts_check.py" names "$work/merged.pdf" || fail "merged files give two subsets one name"

# Only OpenType fonts with CFF outlines (one family, so that no symbol font
# stands in for the report's): the text stays text.
mkdir "$work/cff"
ln -s "$cff_fonts"/NimbusSans-*.otf "$work/cff/"
FONTCONFIG_FILE=$(only_fonts "$work/cff") pdf_of "$sample" "$work/cff.pdf"
pdffonts "$work/cff.pdf" >"$work/cff-fonts"
grep -q 'CID Type 0C' "$work/cff-fonts" || fail "no CFF font embedded: $(cat "$work/cff-fonts")"
sanitize "$work/cff.pdf" >/dev/null
"$python" "$here/pdf_fonts_check.py" widths "$work/cff.pdf" || fail "the CFF fonts' /W widths are not their own"
if awk 'NR > 2 && ($(NF - 4) != "yes" || $(NF - 3) != "yes")' "$work/cff-fonts" | grep -q .; then
  fail "a font is not embedded as a subset: $(cat "$work/cff-fonts")"
fi
# The words of the usual file, each found in the one with CFF fonts.
pdftotext "$work/a.pdf" - | tr -s ' \f\n' '\n\n\n' | sort -u >"$work/words"
pdftotext "$work/cff.pdf" - | tr -s ' \f\n' '\n\n\n' | sort -u >"$work/cff-words"
[ "$(wc -l <"$work/words")" -gt 50 ] || fail "too few words in the PDF"
missing=$(comm -23 "$work/words" "$work/cff-words")
[ -z "$missing" ] || fail "texts missing with CFF fonts: $(echo "$missing" | head -n 12 | tr '\n' ' ')"

# A TrueType font without OS/2 and post tables: the subsets get them.
mkdir "$work/bare"
"$python" -c 'import sys; from fontTools.ttLib import TTFont
f = TTFont(sys.argv[1])
for tag in ("OS/2", "post"): del f[tag]
f.save(sys.argv[2])' "$bare_font" "$work/bare/Bare.ttf"
FONTCONFIG_FILE=$(only_fonts "$work/bare") pdf_of "$sample" "$work/bare.pdf"
sanitize "$work/bare.pdf" >/dev/null

echo "fonts: $count embedded, all accepted; widths exact; subset names distinct; CFF text found"
