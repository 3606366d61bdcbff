#include "printing/print_queue.h"

#include <cups/cups.h>

#include <QDir>
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

// Writes pages, copies times over, as a PDF into file.
Status writePages(const VoucherReport& report, QFileDevice& file, const PageSet& pages, int copies,
                  Progress& progress) {
  return report.writePdf(file, pages, copies, Progress::Stage::PrintingPages, progress);
}

// Hands the spool file to the queue with the job's settings.
Status submit(const QueueJob& job, const QString& spoolPath) {
  cups_option_t* options = nullptr;
  int count = 0;
  const auto add = [&](const QByteArray& name, const QByteArray& value) {
    count = cupsAddOption(name.constData(), value.constData(), count, &options);
  };
  add("media", "A4");
  if (!job.sides.isEmpty()) add("sides", job.sides);
  if (job.copies > 1) {
    add("copies", QByteArray::number(job.copies));
    add("Collate", job.collate ? "True" : "False");
  }
  for (const auto& [name, value] : job.options) add(name, value);
  // An instance ("cola/copia") names the queue before the slash.
  const QByteArray name = job.queue.section(QLatin1Char('/'), 0, 0).toUtf8();
  const int id = cupsPrintFile(name.constData(), QFile::encodeName(spoolPath).constData(),
                               job.title.toUtf8().constData(), count, options);
  cupsFreeOptions(count, options);
  if (id > 0) return Status::ok();
  const ipp_status_t error = cupsLastError();
  QString reason = QString::fromUtf8(cupsLastErrorString());
  if (const QString server = unreachablePrintServer(); !server.isEmpty()) {
    reason = QStringLiteral("no se puede conectar con el servidor de impresión «%1»").arg(server);
  } else if (error == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
    reason = QStringLiteral("la cola no acepta trabajos");
  } else if (!queueExists(job.queue)) {
    reason = QStringLiteral("la cola de impresión ya no existe");
  }
  return Status::error(QStringLiteral("No se pudo imprimir en %1: %2").arg(job.queue, reason));
}

}  // namespace

Status printToQueue(const VoucherReport& report, const QueueJob& job, const PageSet& pages,
                    Progress& progress) {
  if (const QString missing = missingQueueDescription(job.queue); !missing.isEmpty())
    return Status::error(missing);
  QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/tarquelas-XXXXXX.pdf"));
  if (!spool.open())
    return Status::error(
        fileErrorDescription(QStringLiteral("crear"), spool.fileTemplate(), fileReason(spool)));
  Status status = writePages(report, spool, pages, 1, progress);
  spool.close();
  if (status.isOk()) status = submit(job, spool.fileName());
  return status;
}

Status printToQueue(const VoucherReport& report, const QString& queue, Progress& progress) {
  return printToQueue(report, queue, report.allPages(), progress);
}

Status printToQueue(const VoucherReport& report, const QString& queue, const PageSet& pages,
                    Progress& progress) {
  if (const QString missing = missingQueueDescription(queue); !missing.isEmpty())
    return Status::error(missing);
  if (pageCount(pages) == 0) return Status::ok();
  // Sides as the queue has them by default (its "Duplex" or sides-default).
  QueueJob job;
  job.queue = queue;
  return printToQueue(report, job, pages, progress);
}

Status printToFile(const VoucherReport& report, const QString& path, const PageSet& pages, int copies,
                   Progress& progress) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return Status::error(fileErrorDescription(QStringLiteral("escribir"), file.fileName(), fileReason(file)));
  const Status status = writePages(report, file, pages, std::max(1, copies), progress);
  if (!status.isOk()) {
    file.cancelWriting();
    return status;
  }
  if (!file.commit())
    return Status::error(fileErrorDescription(QStringLiteral("escribir"), file.fileName(), fileReason(file)));
  return Status::ok();
}

bool queueExists(const QString& queue) {
  if (queue.isEmpty()) return false;
  // The destinations as the print dialog lists them: "cola", "cola/copia".
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  bool found = false;
  for (int i = 0; i < count && !found; ++i) {
    QString name = QString::fromLocal8Bit(dests[i].name);
    if (dests[i].instance != nullptr) name += QLatin1Char('/') + QString::fromLocal8Bit(dests[i].instance);
    found = name == queue;
  }
  cupsFreeDests(count, dests);
  return found;
}

QString missingQueueDescription(const QString& queue) {
  if (queueExists(queue)) return {};
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
