// Printing the vouchers without a print dialog: the pages painted one at a
// time into a PDF spool file that is handed whole to a CUPS print queue, so
// memory stays flat whatever the count, a cancel sends nothing to the
// printer, and a queue that refuses the job or is gone says why. Also the
// checks made before printing (a queue that does not exist, a print server
// that does not answer, a stopped queue) and their messages. Qt Gui and
// CUPS only: batch mode prints through here with no widget.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

#include "report_engine/page_set.h"
#include "support/progress.h"
#include "support/status.h"

class QFileDevice;

namespace tarquelas {

class VoucherReport;

// A job for a print queue: where it goes and the CUPS options it carries.
struct QueueJob {
  QString queue;  // "cola" or an instance, "cola/copia"
  QString title = QStringLiteral("Tarquelas");
  int copies = 1;
  bool collate = true;
  // The CUPS "sides" value; empty leaves the queue's own default.
  QByteArray sides;
  // Further CUPS options, as name and value.
  QList<std::pair<QByteArray, QByteArray>> options;
};

// Prints pages of report as one job: spooled, then handed to the queue.
// Cancelled: nothing is printed.
[[nodiscard]] Status printToQueue(const VoucherReport& report, const QueueJob& job, const PageSet& pages,
                                  Progress& progress = noProgress());

// Prints every page of report to the print queue, as batch mode does.
[[nodiscard]] Status printToQueue(const VoucherReport& report, const QString& queue,
                                  Progress& progress = noProgress());
// The pages given alone (those of some consortia's vouchers).
[[nodiscard]] Status printToQueue(const VoucherReport& report, const QString& queue, const PageSet& pages,
                                  Progress& progress = noProgress());

// Writes pages, copies times over, into the PDF at path, atomically.
// Cancelled or failed: no file is left.
[[nodiscard]] Status printToFile(const VoucherReport& report, const QString& path, const PageSet& pages,
                                 int copies, Progress& progress = noProgress());

// Whether the print system lists queue ("cola" or "cola/copia").
bool queueExists(const QString& queue);

// The description of a print queue that does not exist, or of a print
// server that cannot be reached (naming it); empty when the queue exists.
QString missingQueueDescription(const QString& queue);

// The print server (CUPS) when it cannot be reached, as "host:port" or the
// path of its local socket; empty when it answers.
QString unreachablePrintServer();

// The warning for a queue that is stopped: a job sent there waits until
// someone starts the queue. Empty when it is not stopped (or unknown).
QString stoppedQueueWarning(const QString& queue);

}  // namespace tarquelas
