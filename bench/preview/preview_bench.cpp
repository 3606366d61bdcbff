// The window's run on a voucher file, timed up to the first page of the
// preview: preview_bench FILE APP_DIR [QUEUE]. Prints the validation alone,
// the run's start to the first page on screen, the peak memory then and
// after going to the last page, the pages in view painted at 100 %, and the
// pages per second of printing every page into a PDF file and, given a
// print queue, into it (spooled and handed to CUPS); the find box's answer
// for a C.U.I.T. from the middle of the file (to its voucher in view) and
// for a name part every voucher holds, the memory with those matches listed
// and the memory once the preview is closed.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "declarations/validators.h"
#include "report_engine/fonts.h"
#include "support/varias.h"
#include "support/work_paths.h"
#include "voucher_report/voucher_index.h"
#include "voucher_report/voucher_report.h"
#include "widgets/preview_pages.h"
#include "widgets/voucher_preview.h"

namespace {

using namespace tarquelas;

// Peak resident memory of this process so far, in MB.
double memoryMb(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  const QByteArray name(field);
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(name)) return line.mid(name.size()).trimmed().split(' ').first().toDouble() / 1024;
  return -1;
}

double peakMb() { return memoryMb("VmHWM:"); }
// Resident memory now.
double nowMb() { return memoryMb("VmRSS:"); }

struct Figures {
  qint64 firstPageMs = -1, lastPageMs = -1, at100Ms = -1, spoolMs = -1, printMs = -1;
  int at100Pages = 0;
  double at400Ms = -1, peak400Mb = -1;
  double findOneMs = -1, findAllMs = -1, nowFoundMb = -1, peakFoundMb = -1, nowOpenMb = -1;
  qint64 vouchers = 0, foundAll = 0;
  int foundPage = -1;
  double peakOpenMb = -1, peakLastMb = -1;
  int pages = 0;
  QString printStatus;
};

// Waits for the preview's first painted page, then goes to the last page,
// prints when asked, and closes it.
void measure(VoucherPreview& preview, const QElapsedTimer& clock, const QString& queue, Figures& f) {
  PreviewPages& pages = preview.pages();
  f.firstPageMs = clock.elapsed();
  f.peakOpenMb = peakMb();
  f.nowOpenMb = nowMb();
  f.pages = pages.pageCount();
  const voucher::VoucherIndex& index = preview.report().index();
  f.vouchers = index.voucherCount();
  const voucher::VoucherKeys& middle = index.voucher(f.vouchers / 2).keys;
  const QString cuit = QString::fromLatin1(formatearCUIT(QByteArrayView(middle.cuit.data(), 11)));
  QElapsedTimer finding;
  finding.start();
  preview.find(cuit);
  preview.findNext();
  pages.viewport()->repaint();
  f.findOneMs = double(finding.nsecsElapsed()) / 1e6;
  f.foundPage = pages.currentPage();
  finding.restart();
  preview.find(QStringLiteral("consorcio"));
  f.findAllMs = double(finding.nsecsElapsed()) / 1e6;
  f.foundAll = qint64(preview.found().size());
  for (QAction* action : preview.findChildren<QAction*>())
    if (action->text() == QStringLiteral("Lista")) action->trigger();
  preview.repaint();
  f.nowFoundMb = nowMb();
  f.peakFoundMb = peakMb();
  QElapsedTimer step;
  step.start();
  pages.setCurrentPage(pages.pageCount() - 1);
  pages.viewport()->repaint();
  f.lastPageMs = step.elapsed();
  f.peakLastMb = peakMb();
  pages.setZoom(1.0);  // a new zoom paints the pages in view afresh
  step.restart();
  pages.viewport()->repaint();
  f.at100Ms = step.elapsed();
  f.at100Pages = int(pages.visiblePages().size());
  // At the largest zoom, two pages side by side, turning through ten spreads.
  pages.setMode(PreviewPages::Mode::TwoPages);
  pages.setZoom(PreviewPages::kMaxZoom);
  step.restart();
  for (int spread = 0; spread < 10; ++spread) {
    pages.setCurrentPage(pages.stepFrom(pages.currentPage(), -1));
    pages.viewport()->repaint();
  }
  f.at400Ms = step.elapsed() / 10.0;
  f.peak400Mb = peakMb();
  pages.setMode(PreviewPages::Mode::Continuous);
  QTemporaryDir spool;
  QPrinter file;
  file.setOutputFileName(spool.filePath(QStringLiteral("paginas.pdf")));
  step.restart();
  (void)preview.print(file);
  f.spoolMs = step.elapsed();
  if (!queue.isEmpty()) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    step.restart();
    const Status printed = preview.print(printer);
    f.printMs = step.elapsed();
    f.printStatus = printed.isOk() ? QStringLiteral("ok") : printed.description();
  }
  preview.reject();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() < 3) {
    std::fputs("usage: preview_bench FILE APP_DIR [QUEUE]\n", stderr);
    return 2;
  }
  registerProgramFonts();
  QTextStream out(stdout);

  QTemporaryDir scratch;
  QElapsedTimer clock;
  clock.start();
  (void)validarArchivoTarquelas(args.at(1), WorkPaths::inDirectory(scratch.path()), noProgress());
  const qint64 validationMs = clock.elapsed();

  Figures f;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* preview = qobject_cast<VoucherPreview*>(QApplication::activeModalWidget());
    if (preview == nullptr || preview->pages().pagesPainted() == 0 || f.firstPageMs >= 0) return;
    measure(*preview, clock, args.size() > 3 ? args.at(3) : QString(), f);
  });
  poll.start(5);
  frmGeneracionDeTarquelas window({args.at(2), [](const QString&) { return true; }, nullptr});
  clock.restart();
  window.Form_Load(args.at(1));
  const qint64 runMs = clock.elapsed();

  out << QStringLiteral("pages:                          %1\n").arg(f.pages);
  out << QStringLiteral("validation alone:               %1 s\n").arg(validationMs / 1000.0, 0, 'f', 2);
  out << QStringLiteral("run start to first page shown:  %1 s (%2 s after validation)\n")
             .arg(f.firstPageMs / 1000.0, 0, 'f', 2)
             .arg((f.firstPageMs - validationMs) / 1000.0, 0, 'f', 2);
  out << QStringLiteral("peak memory, preview open:      %1 MB\n").arg(f.peakOpenMb, 0, 'f', 1);
  out << QStringLiteral("going to the last page:         %1 ms\n").arg(f.lastPageMs);
  out << QStringLiteral("peak memory, after last page:   %1 MB\n").arg(f.peakLastMb, 0, 'f', 1);
  out << QStringLiteral("pages in view painted at 100 %: %1 ms for %2 pages\n")
             .arg(f.at100Ms)
             .arg(f.at100Pages);
  out << QStringLiteral("two pages at 400 %:             %1 ms a spread, peak memory %2 MB\n")
             .arg(f.at400Ms, 0, 'f', 1)
             .arg(f.peak400Mb, 0, 'f', 1);
  out << QStringLiteral("printing into a PDF file:       %1 s, %2 pages/s\n")
             .arg(f.spoolMs / 1000.0, 0, 'f', 2)
             .arg(f.spoolMs > 0 ? f.pages * 1000.0 / f.spoolMs : 0, 0, 'f', 0);
  if (f.printMs >= 0)
    out << QStringLiteral("printing into the queue:        %1 s, %2 pages/s (%3)\n")
               .arg(f.printMs / 1000.0, 0, 'f', 2)
               .arg(f.printMs > 0 ? f.pages * 1000.0 / f.printMs : 0, 0, 'f', 0)
               .arg(f.printStatus);
  out << QStringLiteral(
             "find a C.U.I.T. from the middle:  %1 ms to its voucher in view (page %2 of %3, %4 vouchers)\n")
             .arg(f.findOneMs, 0, 'f', 1)
             .arg(f.foundPage + 1)
             .arg(f.pages)
             .arg(f.vouchers);
  out << QStringLiteral("find every voucher (\"consorcio\"): %1 ms, %2 found\n")
             .arg(f.findAllMs, 0, 'f', 1)
             .arg(f.foundAll);
  out << QStringLiteral("memory, preview open:           %1 MB now\n").arg(f.nowOpenMb, 0, 'f', 1);
  out << QStringLiteral("memory, all found and listed:   %1 MB now, %2 MB peak\n")
             .arg(f.nowFoundMb, 0, 'f', 1)
             .arg(f.peakFoundMb, 0, 'f', 1);
  out << QStringLiteral("memory, preview closed:         %1 MB now\n").arg(nowMb(), 0, 'f', 1);
  out << QStringLiteral("whole run:                      %1 s; peak memory at the end %2 MB\n")
             .arg(runMs / 1000.0, 0, 'f', 2)
             .arg(peakMb(), 0, 'f', 1);
  return f.firstPageMs >= 0 ? 0 : 1;
}
