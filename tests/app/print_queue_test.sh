#!/usr/bin/env bash
# Printing into a real print system: a CUPS queue on the PDF printer
# (cups-pdf) gets the sample's vouchers once through the preview's print
# path, once through --imprimir and once through --imprimir --cuit; each
# printed PDF must hold one page per voucher (of the consortium asked for),
# the texts and the bar codes of the program's own PDF. --pdf --cuit must
# give those pages too. A voucher found by its C.U.I.T. and printed alone
# ("Imprimir este comprobante") must give exactly its own page, texts and
# bar code. A queue that does not exist is said so; a stopped one is told
# before printing and still gets the job; one that refuses jobs says so.
# Then a queue that disappears while the pages are painted must
# give the error prompt, and nothing may come out of it.
# Starts the CUPS scheduler when none runs; that, adding a queue and its
# cups-pdf settings in /etc/cups, needs root (scripts/pdf-queue.sh). Exit
# 77 (skipped) otherwise.
# Usage: print_queue_test.sh PROGRAM PRINT_WITH_PREVIEW SAMPLE
set -euo pipefail
program=$1 driver=$2 sample=$3

# shellcheck source=tests/common/script_test.sh
source "$(dirname "$0")/../common/script_test.sh"

need_tools pdfinfo pdftotext pdftoppm zbarimg qpdf
# shellcheck source=scripts/pdf-queue.sh
source "$(dirname "$0")/../../scripts/pdf-queue.sh"

queue=tarquelas-prueba-$$
work=$(mktemp -d)
out=$work/impresos
mkdir -m 1777 "$out"
trap 'pdf_queue_remove "$queue"; rm -rf "$work"' EXIT
status=0
pdf_queue_add "$queue" "$out" >"$work/motivo" || status=$?
[ "$status" -ne 77 ] || skip "$(cat "$work/motivo")"
[ "$status" -eq 0 ] || fail "$(cat "$work/motivo")"

# The reference: the program's own PDF of the sample, and its auxiliary file.
QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work" --pdf "$work/referencia.pdf" >/dev/null
pages=$(pdfinfo "$work/referencia.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -gt 1 ] || fail "the reference PDF has $pages pages"

newest_pdf() {
  find "$out" -name '*.pdf' -printf '%T@ %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-
}

wait_for_pdfs() {
  pdf_queue_wait "$queue" "$out" "$1" 180 || fail "no printed PDF number $1 after 180 s"
}

# Lines that name what a page prints, blanks squeezed.
key_lines() {
  pdftotext "$1" - 2>/dev/null | tr -s ' ' | grep -E 'CUIT: |CONSORCIO: |TOTAL A PAGAR|VENCIMIENTO: |Código de barras: ' | sort
}

# The pages of the reference that show C.U.I.T. $1 (printed form), as a
# qpdf page list.
pages_of() {
  local p list=()
  for p in $(seq 1 "$pages"); do
    if pdftotext -f "$p" -l "$p" "$work/referencia.pdf" - 2>/dev/null | grep -q "CUIT: $1 "; then list+=("$p"); fi
  done
  [ ${#list[@]} -gt 0 ] || fail "no page of the reference shows $1"
  (IFS=,; echo "${list[*]}")
}

# Checks pdf against the reference PDF, or against the reference's pages
# given as a qpdf page list.
check_printed() {
  local pdf=$1 what=$2 reference=$work/referencia.pdf expected=$pages
  echo "== $what: $(basename "$pdf")"
  if [ $# -gt 2 ]; then
    reference=$work/parte.pdf
    qpdf "$work/referencia.pdf" --pages "$work/referencia.pdf" "$3" -- "$reference" || fail "qpdf $3"
    expected=$(pdfinfo "$reference" | awk '/^Pages:/ {print $2}')
  fi
  local got
  got=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ "$got" = "$expected" ] || fail "$what: $got pages, $expected expected"
  diff <(key_lines "$reference") <(key_lines "$pdf") || fail "$what: the texts differ"
  local codes=0 p digits read
  for p in $(seq 1 "$got"); do
    digits=$(pdftotext -f "$p" -l "$p" "$pdf" - 2>/dev/null | sed -n 's/.*Código de barras: *\([0-9]*\).*/\1/p' | head -n 1)
    [ -n "$digits" ] || continue
    pdftoppm -f "$p" -l "$p" -r 150 -gray -png -singlefile "$pdf" "$work/pagina" 2>/dev/null
    read=$(zbarimg -q --raw "$work/pagina.png" 2>/dev/null | head -n 1)
    # The digits as shown (Code 128); a settings file that chooses
    # Interleaved 2 of 5 pads an odd count of them with a leading zero.
    [ "$read" = "$digits" ] || [ "$read" = "0$digits" ] || fail "$what: page $p bar code reads '$read', shows $digits"
    codes=$((codes + 1))
  done
  [ "$codes" -gt 0 ] || fail "$what: no page shows a bar code"
  echo "   $got pages, texts as in the program's PDF, $codes bar codes read"
}

# Two consortia of two vouchers and of one, given with dashes and without.
mkdir "$work/cuit"
QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/cuit" --pdf "$work/cuit.pdf" \
  --cuit 30-91546667-9,33650855464 >/dev/null || fail "--pdf --cuit failed"
check_printed "$work/cuit.pdf" "--pdf --cuit" "$(pages_of 30-91546667-9),$(pages_of 33-65085546-4)"

"$driver" "$work/TarquelasAux.txt" "$queue" || fail "printing from the preview failed"
wait_for_pdfs 1
check_printed "$(newest_pdf)" "preview"

mkdir "$work/lote"
QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/lote" --imprimir "$queue" >/dev/null ||
  fail "--imprimir failed"
[ ! -e "$work/lote/Tarquelas.pdf" ] || fail "--imprimir also wrote Tarquelas.pdf"
wait_for_pdfs 2
check_printed "$(newest_pdf)" "--imprimir"

mkdir "$work/lote-cuit"
QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/lote-cuit" --imprimir "$queue" \
  --cuit 33658753067 >/dev/null || fail "--imprimir --cuit failed"
wait_for_pdfs 3
check_printed "$(newest_pdf)" "--imprimir --cuit" "$(pages_of 33-65875306-7)"

echo "== one voucher found by its C.U.I.T. and printed alone"
# The sample's seventh page: the first voucher of C.U.I.T. 30-91546667-9.
"$driver" "$work/TarquelasAux.txt" "$queue" --buscar 30-91546667-9 || fail "printing one voucher failed"
wait_for_pdfs 4
one=$(newest_pdf)
[ "$(pdfinfo "$one" | awk '/^Pages:/ {print $2}')" = 1 ] || fail "one voucher: not exactly one page printed"
diff <(pdftotext -f 7 -l 7 "$work/referencia.pdf" - | tr -s ' ' | grep -E 'CUIT: |CONSORCIO: |TOTAL A PAGAR|Código de barras: ' | sort) \
  <(key_lines "$one" | grep -v VENCIMIENTO) || fail "one voucher: not the texts of page 7"
digits=$(pdftotext "$one" - | sed -n 's/.*Código de barras: *\([0-9]*\).*/\1/p' | head -n 1)
pdftoppm -r 150 -gray -png -singlefile "$one" "$work/uno"
read=$(zbarimg -q --raw "$work/uno.png" 2>/dev/null | head -n 1)
[ -n "$digits" ] && { [ "$read" = "$digits" ] || [ "$read" = "0$digits" ]; } || fail "one voucher: bar code reads '$read', shows '$digits'"
echo "   1 page, the texts and bar code of page 7"

echo "== a queue that does not exist"
status=0
said=$(QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/lote" --imprimir no-hay-tal-cola 2>&1 >/dev/null) || status=$?
[ "$status" -eq 2 ] || fail "exit status $status, not 2: $said"
[ "$said" = "No existe la cola de impresión «no-hay-tal-cola»." ] || fail "not said so: $said"

# A stopped queue takes the jobs and holds them: the user is told before
# printing, from the preview and from --imprimir, and the jobs come out
# once the queue is started.
echo "== a stopped queue"
stopped="La cola «$queue» está detenida: el trabajo quedará en espera."
cupsdisable "$queue"
said=$("$driver" "$work/TarquelasAux.txt" "$queue" 2>&1) || fail "printing from the preview failed: $said"
grep -qxF "$stopped" <<<"$said" || fail "the preview did not tell: $said"
mkdir "$work/detenida"
said=$(QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/detenida" --imprimir "$queue" 2>&1 >/dev/null) ||
  fail "--imprimir failed: $said"
[ "$said" = "$stopped" ] || fail "--imprimir did not tell: $said"
[ "$(lpstat -o "$queue" | wc -l)" -eq 2 ] || fail "the two jobs are not waiting in the queue"
cupsenable "$queue"
wait_for_pdfs 6
check_printed "$(newest_pdf)" "a stopped queue, once started"

echo "== a queue that refuses jobs"
cupsreject "$queue"
status=0
said=$(QT_QPA_PLATFORM=offscreen "$program" --procesar "$sample" --directorio "$work/detenida" --imprimir "$queue" 2>&1 >/dev/null) || status=$?
cupsaccept "$queue"
[ "$status" -eq 2 ] || fail "exit status $status, not 2: $said"
grep -qF "No se pudo imprimir en $queue: la cola no acepta trabajos" <<<"$said" || fail "not said so: $said"

echo "== a queue that disappears while printing"
status=0
prompt=$("$driver" "$work/TarquelasAux.txt" "$queue" --quitar-cola 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "exit status $status, not 1: $prompt"
grep -q "Se ha detectado el siguiente error:" <<<"$prompt" || fail "no error prompt: $prompt"
grep -q "No se pudo imprimir en $queue: " <<<"$prompt" || fail "the prompt gives no reason: $prompt"
echo "   $(tail -n 1 <<<"$prompt")"
# Whatever the scheduler still had of the job is over before the count.
pdf_queue_settle "$queue" 120 || fail "the print system still works on a job after 120 s"
[ "$(find "$out" -name '*.pdf' | wc -l)" -eq 6 ] || fail "something was printed after all"
echo "PASSED"
