# shellcheck shell=bash
# A print queue on the PDF printer (cups-pdf), for the print test and the
# preview benchmark. Source it, then:
#   pdf_queue_add NAME OUTDIR   starts the CUPS scheduler when none runs
#                               and adds queue NAME whose printed PDFs land
#                               in OUTDIR; returns 77 with a reason on
#                               standard output when this machine cannot
#   pdf_queue_settle NAME [SECONDS]
#                               waits until no job of NAME is pending and
#                               no cups-pdf backend is writing a PDF
#   pdf_queue_remove NAME       removes the queue and stops the scheduler
#                               if pdf_queue_add started it
# Needs root (starting cupsd, lpadmin, a settings file in /etc/cups) and the
# Debian packages cups and printer-driver-cups-pdf (scripts/deps.sh).

pdf_queue_scheduler=
pdf_queue_lock=

pdf_queue_add() {
  local name=$1 outdir=$2 tool model
  # One user of the scheduler at a time on this machine: a run that started
  # cupsd stops it when done, which would pull it from under another run.
  exec {pdf_queue_lock}>/tmp/tarquelas-pdf-queue.lock
  flock "$pdf_queue_lock"
  for tool in cupsd lpadmin lpinfo lpstat; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)"; return 77; }
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "the cups-pdf printer is missing (scripts/deps.sh installs it)"; return 77; }
  [ "$(id -u)" -eq 0 ] || { echo "starting CUPS and adding a print queue need root"; return 77; }
  if ! LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; then
    cupsd -f >/dev/null 2>&1 &
    pdf_queue_scheduler=$!
    for _ in $(seq 150); do
      LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running' && break
      sleep 0.2
    done
    LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running' || { echo "the CUPS scheduler did not start"; return 1; }
  fi
  # cups-pdf:/NAME reads its settings from cups-pdf-NAME.conf.
  printf 'Out %s\nAnonDirName %s\nLabel 1\n' "$outdir" "$outdir" >"/etc/cups/cups-pdf-$name.conf"
  model=$(lpinfo -m | awk '/CUPS-PDF_opt\.ppd/ {print $1; exit}')
  [ -n "$model" ] || { echo "lpinfo -m lists no cups-pdf model"; return 1; }
  # pdftocairo keeps the fonts' text in the PDF that cups-pdf writes back.
  lpadmin -p "$name" -E -v "cups-pdf:/$name" -m "$model" -o pdftops-renderer-default=pdftocairo 2>/dev/null
}

pdf_queue_remove() {
  local name=$1
  lpadmin -x "$name" 2>/dev/null || true
  rm -f "/etc/cups/cups-pdf-$name.conf"
  if [ -n "$pdf_queue_scheduler" ]; then
    kill "$pdf_queue_scheduler" 2>/dev/null || true
    wait "$pdf_queue_scheduler" 2>/dev/null || true
  fi
  pdf_queue_scheduler=
  if [ -n "$pdf_queue_lock" ]; then exec {pdf_queue_lock}>&-; fi
  pdf_queue_lock=
}

# Waits until queue NAME is idle and OUTDIR holds at least N PDFs; at most
# SECONDS (default 60). Returns 1 on time-out.
pdf_queue_wait() {
  local name=$1 outdir=$2 n=$3 seconds=${4:-60}
  local tries=$((seconds * 5))
  for _ in $(seq "$tries"); do
    if [ -z "$(lpstat -o "$name" 2>/dev/null)" ] && [ "$(find "$outdir" -name '*.pdf' | wc -l)" -ge "$n" ]; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Waits until the scheduler holds no job of queue NAME (gone or not) and no
# cups-pdf backend runs; at most SECONDS (default 60). Returns 1 on time-out.
pdf_queue_settle() {
  local name=$1 seconds=${2:-60}
  local tries=$((seconds * 5))
  for _ in $(seq "$tries"); do
    if [ -z "$(lpstat -o "$name" 2>/dev/null)" ] && [ -z "$(LC_ALL=C lpstat -W not-completed -o 2>/dev/null | grep -F "$name-")" ] &&
      ! pgrep -x cups-pdf >/dev/null; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}
