#include "widgets/page_printing.h"

#include <cups/cups.h>

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>

#include "support/system_reason.h"
#include "voucher_report/voucher_report.h"

namespace tarquelas {

namespace {

// Qt's print engine could not be used as it is: its abort() does nothing,
// so a cancelled job would still reach the printer, and it never looks at
// what the queue answered. The pages go to a spool file instead and the
// job is handed to CUPS here.

// Where Qt's print dialog leaves the CUPS options of its own tabs (page set,
// pages per sheet, banners), as name and value pairs.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Writes pages, copies times over, as a PDF into file.
Status writePages(const VoucherReport& report, QFileDevice& file, const PageSet& pages, int copies,
                  Progress& progress) {
  return report.writePdf(file, pages, copies, Progress::Stage::PrintingPages, progress);
}

const char* sidesOf(QPrinter::DuplexMode duplex) {
  switch (duplex) {
    case QPrinter::DuplexNone: return "one-sided";
    case QPrinter::DuplexShortSide: return "two-sided-short-edge";
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide: break;
  }
  return "two-sided-long-edge";
}

// Hands the spool file to the queue with the printer's settings.
Status submit(QPrinter& printer, const QString& queue, const QString& spoolPath) {
  cups_option_t* options = nullptr;
  int count = 0;
  const auto add = [&](const QByteArray& name, const QByteArray& value) {
    count = cupsAddOption(name.constData(), value.constData(), count, &options);
  };
  add("media", "A4");
  add("sides", sidesOf(printer.duplex()));
  if (printer.copyCount() > 1) {
    add("copies", QByteArray::number(printer.copyCount()));
    add("Collate", printer.collateCopies() ? "True" : "False");
  }
  const QStringList dialogOptions = printer.printEngine()->property(kCupsOptions).toStringList();
  for (qsizetype i = 0; i + 1 < dialogOptions.size(); i += 2)
    add(dialogOptions.at(i).toUtf8(), dialogOptions.at(i + 1).toUtf8());
  const QString title = printer.docName().isEmpty() ? QString::fromUtf16(u"Tarquelas") : printer.docName();
  // An instance ("cola/copia") names the queue before the slash.
  const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  const int job = cupsPrintFile(name.constData(), QFile::encodeName(spoolPath).constData(),
                                title.toUtf8().constData(), count, options);
  cupsFreeOptions(count, options);
  if (job > 0) return Status::ok();
  const ipp_status_t error = cupsLastError();
  QString reason = QString::fromUtf8(cupsLastErrorString());
  if (const QString server = unreachablePrintServer(); !server.isEmpty()) {
    reason = QStringLiteral("no se puede conectar con el servidor de impresión «%1»").arg(server);
  } else if (error == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
    reason = QStringLiteral("la cola no acepta trabajos");
  } else if (!QPrinterInfo::availablePrinterNames().contains(queue)) {
    reason = QStringLiteral("la cola de impresión ya no existe");
  }
  return Status::error(QStringLiteral("No se pudo imprimir en %1: %2").arg(queue, reason));
}

Status printToQueue(const VoucherReport& report, QPrinter& printer, const PageSet& range,
                    Progress& progress) {
  const QString queue = printer.printerName();
  if (const QString missing = missingQueueDescription(queue); !missing.isEmpty())
    return Status::error(missing);
  QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/tarquelas-XXXXXX.pdf"));
  if (!spool.open())
    return Status::error(
        fileErrorDescription(QStringLiteral("crear"), spool.fileTemplate(), fileReason(spool)));
  Status status = writePages(report, spool, range, 1, progress);
  spool.close();
  if (status.isOk()) status = submit(printer, queue, spool.fileName());
  return status;
}

Status printToFile(const VoucherReport& report, const QPrinter& printer, const PageSet& range,
                   Progress& progress) {
  QSaveFile file(printer.outputFileName());
  if (!file.open(QIODevice::WriteOnly))
    return Status::error(fileErrorDescription(QStringLiteral("escribir"), file.fileName(), fileReason(file)));
  const Status status = writePages(report, file, range, std::max(1, printer.copyCount()), progress);
  if (!status.isOk()) {
    file.cancelWriting();
    return status;
  }
  if (!file.commit())
    return Status::error(fileErrorDescription(QStringLiteral("escribir"), file.fileName(), fileReason(file)));
  return Status::ok();
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
  if (!printer.outputFileName().isEmpty()) return printToFile(report, printer, pages, progress);
  return printToQueue(report, printer, pages, progress);
}

Status printToQueue(const VoucherReport& report, const QString& queue, Progress& progress) {
  return printToQueue(report, queue,
                      report.pageCount() > 0 ? PageSet{{0, report.pageCount() - 1}} : PageSet{}, progress);
}

Status printToQueue(const VoucherReport& report, const QString& queue, const PageSet& pages,
                    Progress& progress) {
  if (const QString missing = missingQueueDescription(queue); !missing.isEmpty())
    return Status::error(missing);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(queue);
  printer.setDocName(QString::fromUtf16(u"Tarquelas"));
  return printPages(report, printer, pages, progress);
}

QString missingQueueDescription(const QString& queue) {
  if (!queue.isEmpty() && QPrinterInfo::availablePrinterNames().contains(queue)) return {};
  // No server lists no queue at all: that is not the queue's fault.
  if (const QString server = unreachablePrintServer(); !server.isEmpty())
    return QStringLiteral(
               "No se puede conectar con el servidor de impresión «%1»: no se puede imprimir en «%2».")
        .arg(server, queue);
  return QStringLiteral("No existe la cola de impresión «%1».").arg(queue);
}

QString unreachablePrintServer() {
  const QString server = QString::fromUtf8(cupsServer());
  constexpr int kTimeoutMs = 10000;
  http_t* http =
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kTimeoutMs, nullptr);
  if (http != nullptr) {
    httpClose(http);
    return {};
  }
  // A local socket is named by its path, a host with its port.
  return server.startsWith(QLatin1Char('/')) ? server
                                             : server + QLatin1Char(':') + QString::number(ippPort());
}

QString stoppedQueueWarning(const QString& queue) {
  const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  const QByteArray instance = queue.section(QLatin1Char('/'), 1).toUtf8();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                       instance.isEmpty() ? nullptr : instance.constData());
  if (dest == nullptr) return {};
  // IPP printer-state 5 is "stopped": jobs are taken and held.
  const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
  const bool stopped = state != nullptr && QByteArrayView(state) == QByteArrayView("5");
  cupsFreeDests(1, dest);
  if (!stopped) return {};
  return QStringLiteral("La cola «%1» está detenida: el trabajo quedará en espera.").arg(queue);
}

}  // namespace tarquelas
