// The pages a print dialog's range names, clipped to the report.
#include "printing/printer_pages.h"

#include <QPrinter>
#include <QTest>
#include <tuple>

namespace tarquelas {

class PrinterPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void printRangeNamesItsPages() {
    const std::tuple<QPrinter::PrintRange, int, int, int, PageRange> rows[] = {
        {QPrinter::AllPages, 0, 0, 4, {0, 9}},    {QPrinter::PageRange, 3, 5, 0, {2, 4}},
        {QPrinter::PageRange, 8, 20, 0, {7, 9}},  {QPrinter::PageRange, 0, 0, 0, {0, 9}},
        {QPrinter::CurrentPage, 0, 0, 6, {6, 6}}, {QPrinter::Selection, 2, 2, 0, {0, 9}},
    };
    for (const auto& [range, from, to, current, expected] : rows) {
      QPrinter printer;
      printer.setPrintRange(range);
      printer.setFromTo(from, to);
      QCOMPARE(requestedPages(printer, current, 10), expected);
    }
  }
};

}  // namespace tarquelas

QTEST_MAIN(tarquelas::PrinterPagesTest)
#include "printer_pages_test.moc"
