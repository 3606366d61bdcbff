#include "printing/printer_pages.h"

#include <QPrintEngine>
#include <QPrinter>
#include <algorithm>

#include "printing/print_queue.h"

namespace tarquelas {

namespace {

// Where Qt's print dialog leaves the CUPS options of its own tabs (page set,
// pages per sheet, banners), as name and value pairs. Qt names this key
// only in a private header (QCUPSSupport's PPK_CupsOptions): QPrinter has no
// public call for these options, and CUPS cannot see them, as they live in
// the dialog's QPrinter until the job is sent. So the key's value is
// written here; an unknown key gives an empty list, never a fault.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

const char* sidesOf(QPrinter::DuplexMode duplex) {
  switch (duplex) {
    case QPrinter::DuplexNone: return "one-sided";
    case QPrinter::DuplexShortSide: return "two-sided-short-edge";
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide: break;
  }
  return "two-sided-long-edge";
}

// The queue job printer's settings give.
QueueJob jobOf(QPrinter& printer) {
  QueueJob job;
  job.queue = printer.printerName();
  if (!printer.docName().isEmpty()) job.title = printer.docName();
  job.copies = printer.copyCount();
  job.collate = printer.collateCopies();
  job.sides = sidesOf(printer.duplex());
  const QStringList dialogOptions = printer.printEngine()->property(kCupsOptions).toStringList();
  for (qsizetype i = 0; i + 1 < dialogOptions.size(); i += 2)
    job.options.append({dialogOptions.at(i).toUtf8(), dialogOptions.at(i + 1).toUtf8()});
  return job;
}

}  // namespace

PageRange requestedPages(const QPrinter& printer, int currentPage, int pageCount) {
  PageRange range{0, pageCount - 1};
  if (printer.printRange() == QPrinter::CurrentPage) {
    range = {currentPage, currentPage};
  } else if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    range = {printer.fromPage() - 1, printer.toPage() > 0 ? printer.toPage() - 1 : pageCount - 1};
  }
  return {std::max(range.first, 0), std::min(range.last, pageCount - 1)};
}

Status printPages(const VoucherReport& report, QPrinter& printer, PageRange range, Progress& progress) {
  return printPages(report, printer, range.count() > 0 ? PageSet{range} : PageSet{}, progress);
}

Status printPages(const VoucherReport& report, QPrinter& printer, const PageSet& pages, Progress& progress) {
  if (pageCount(pages) == 0) return Status::ok();
  if (!printer.outputFileName().isEmpty())
    return printToFile(report, printer.outputFileName(), pages, printer.copyCount(), progress);
  return printToQueue(report, jobOf(printer), pages, progress);
}

}  // namespace tarquelas
