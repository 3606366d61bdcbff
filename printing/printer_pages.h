// Printing the vouchers with the settings of a QPrinter, as the print
// dialog left them: the pages its print range names, and the job handed to
// the print queue (printing/print_queue.h) or written to the PDF it names.
// Qt PrintSupport, which brings Qt Widgets along: batch mode does not use
// this part.
#pragma once

#include "report_engine/page_set.h"
#include "support/progress.h"
#include "support/status.h"

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

}  // namespace tarquelas
