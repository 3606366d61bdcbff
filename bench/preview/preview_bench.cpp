// The window's run on a voucher file, timed up to the first page of the
// preview: preview_bench FILE APP_DIR [QUEUE]. Prints the validation alone,
// the run's start to the first page on screen, the peak memory then and
// after going to the last page, the pages in view painted at 100 %, and the
// pages per second of printing every page into a PDF file and, given a
// print queue, into it (spooled and handed to CUPS).
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
#include "support/work_paths.h"
#include "voucher_report/fonts.h"
#include "widgets/preview_pages.h"
#include "widgets/voucher_preview.h"

namespace {

using namespace tarquelas;

// Peak resident memory of this process so far, in MB.
double peakMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  return -1;
}

struct Figures {
  qint64 firstPageMs = -1, lastPageMs = -1, at100Ms = -1, spoolMs = -1, printMs = -1;
  int at100Pages = 0;
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
  f.pages = pages.pageCount();
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
  frmGeneracionDeTarquelas window({args.at(2), [](const QString&) {}, nullptr});
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
  out << QStringLiteral("printing into a PDF file:       %1 s, %2 pages/s\n")
             .arg(f.spoolMs / 1000.0, 0, 'f', 2)
             .arg(f.spoolMs > 0 ? f.pages * 1000.0 / f.spoolMs : 0, 0, 'f', 0);
  if (f.printMs >= 0)
    out << QStringLiteral("printing into the queue:        %1 s, %2 pages/s (%3)\n")
               .arg(f.printMs / 1000.0, 0, 'f', 2)
               .arg(f.printMs > 0 ? f.pages * 1000.0 / f.printMs : 0, 0, 'f', 0)
               .arg(f.printStatus);
  out << QStringLiteral("whole run:                      %1 s; peak memory at the end %2 MB\n")
             .arg(runMs / 1000.0, 0, 'f', 2)
             .arg(peakMb(), 0, 'f', 1);
  return f.firstPageMs >= 0 ? 0 : 1;
}
