// Printing the vouchers: the pages a print dialog asked for, painted one at
// a time into a PDF spool file that is handed whole to the print queue, so
// memory stays flat whatever the count, a cancel sends nothing to the
// printer, and a queue that refuses the job or is gone says why.
#pragma once

#include <QString>

#include "support/progress.h"
#include "support/status.h"
#include "voucher_report/page_set.h"

class QPrinter;

namespace tarquelas {

class VoucherReport;

// The pages the printer's print range names: all of them, the dialog's
// 1-based from–to, or the current page (0-based), clipped to the report.
PageRange requestedPages(const QPrinter& printer, int currentPage, int pageCount);

// Prints range of report with printer's settings: to its print queue
// (copies, sides and the dialog's options go with the job), or, when it
// names an output file, into that PDF (atomically, copies painted again).
// Cancelled: nothing is printed and no file is left.
[[nodiscard]] Status printPages(const VoucherReport& report, QPrinter& printer, PageRange range,
                                Progress& progress = noProgress());
// The same for runs of pages, printed in order as one job.
[[nodiscard]] Status printPages(const VoucherReport& report, QPrinter& printer, const PageSet& pages,
                                Progress& progress = noProgress());

// Prints every page of report to the print queue, as batch mode does.
[[nodiscard]] Status printToQueue(const VoucherReport& report, const QString& queue,
                                  Progress& progress = noProgress());
// The pages given alone (those of some consortia's vouchers).
[[nodiscard]] Status printToQueue(const VoucherReport& report, const QString& queue, const PageSet& pages,
                                  Progress& progress = noProgress());

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
