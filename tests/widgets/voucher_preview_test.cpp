// The voucher preview driven as a person would, on the bundled sample's ten
// pages: page turning and the page box, zoom and fits, painting only what
// is in view, the pages a print range names, printing to a file with a
// cancel, and auxiliary files damaged by hand.
#include "widgets/voucher_preview.h"

#include <QAction>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <optional>

#include "declarations/validators.h"
#include "support/work_paths.h"
#include "tests/common/temp_dir.h"
#include "voucher_report/fonts.h"
#include "voucher_report/voucher_report.h"
#include "widgets/page_printing.h"
#include "widgets/preview_pages.h"

namespace tarquelas {
namespace {

using Mode = PreviewPages::Mode;
using Fit = PreviewPages::Fit;

// Says yes to a cancel from the given report on.
class CancelAt final : public Progress {
 public:
  explicit CancelAt(int report) : cancelAt_(report) {}
  bool report(Stage, qint64, qint64) override { return ++reports_ < cancelAt_; }

 private:
  int cancelAt_;
  int reports_ = 0;
};

int pdfPages(const QString& pdf) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  info.waitForFinished();
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  const qsizetype at = out.indexOf(QStringLiteral("Pages:"));
  return at < 0 ? -1 : out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

}  // namespace

class VoucherPreviewTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::optional<VoucherReport> report_;

  std::unique_ptr<VoucherPreview> open(const VoucherReport& report) {
    auto preview = std::make_unique<VoucherPreview>(report, [](const QString&) { return true; });
    preview->resize(800, 900);
    preview->show();
    if (!QTest::qWaitForWindowExposed(preview.get())) return nullptr;
    return preview;
  }

  static void trigger(VoucherPreview& preview, const QString& caption) {
    for (QAction* action : preview.findChildren<QAction*>())
      if (action->text() == caption) return action->trigger();
    QFAIL(qPrintable(caption));
  }

 private slots:
  void initTestCase() {
    registerProgramFonts();
    const WorkPaths paths = WorkPaths::inDirectory(dir_.path());
    const QString sample = QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt");
    QVERIFY(validarArchivoTarquelas(sample, paths, noProgress()).isOk());
    VoucherReport::BuildResult built = VoucherReport::build(paths.auxiliar);
    QVERIFY(built.status.isOk());
    report_ = std::move(built.report);
    QCOMPARE(report_->pageCount(), 10);
  }

  void pageTurningAndThePageBox() {
    auto preview = open(*report_);
    QVERIFY(preview);
    PreviewPages& pages = preview->pages();
    auto* box = preview->findChild<QSpinBox*>();
    QCOMPARE(box->text(), QStringLiteral("1 / 10"));
    const std::pair<QString, int> steps[] = {
        {QStringLiteral("Última página"), 9},    {QStringLiteral("Página siguiente"), 9},
        {QStringLiteral("Página anterior"), 8},  {QStringLiteral("Primera página"), 0},
        {QStringLiteral("Página anterior"), 0},  {QStringLiteral("Página siguiente"), 1},
        {QStringLiteral("Dos páginas"), 1},      {QStringLiteral("Página siguiente"), 2},
        {QStringLiteral("Página siguiente"), 4}, {QStringLiteral("Página anterior"), 2},
        {QStringLiteral("Una página"), 2},       {QStringLiteral("Página siguiente"), 3},
    };
    for (const auto& [caption, page] : steps) {
      trigger(*preview, caption);
      QCOMPARE(pages.currentPage(), page);
      QCOMPARE(box->text(), QStringLiteral("%1 / 10").arg(page + 1));
    }
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(pages.currentPage(), 6);
    // The wheel past the end of a page turns to the next one.
    QWheelEvent down({10, 10}, {10, 10}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    for (int i = 0; i < 40 && pages.currentPage() == 6; ++i) QApplication::sendEvent(pages.viewport(), &down);
    QCOMPARE(pages.currentPage(), 7);
  }

  void zoomStepsFitsAndCtrlWheel() {
    auto preview = open(*report_);
    QVERIFY(preview);
    PreviewPages& pages = preview->pages();
    QCOMPARE(pages.fit(), Fit::Page);
    pages.setMode(Mode::OnePage);
    const double fitPage = pages.zoom();
    pages.setFit(Fit::Width);
    const double fitWidth = pages.zoom();
    QVERIFY(fitWidth > fitPage);  // a tall window: the width is the looser bound
    preview->resize(1000, 900);
    QTRY_VERIFY(pages.zoom() > fitWidth);
    pages.setZoom(1.0);
    QCOMPARE(pages.fit(), Fit::None);
    pages.zoomIn();
    QCOMPARE(pages.zoom(), 1.25);
    pages.zoomOut();
    pages.zoomOut();
    QCOMPARE(pages.zoom(), 0.75);
    QWheelEvent up({10, 10}, {10, 10}, {}, {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                   false);
    QApplication::sendEvent(pages.viewport(), &up);
    QCOMPARE(pages.zoom(), 1.0);
    for (int i = 0; i < 20; ++i) pages.zoomIn();
    QCOMPARE(pages.zoom(), PreviewPages::kMaxZoom);
  }

  void onlyPagesInViewArePainted() {
    auto preview = open(*report_);
    QVERIFY(preview);
    PreviewPages& pages = preview->pages();
    QCOMPARE(pages.mode(), Mode::Continuous);
    QTRY_VERIFY(pages.pagesPainted() > 0);
    trigger(*preview, QStringLiteral("Última página"));
    QCOMPARE(pages.visiblePages().constLast(), 9);
    QTest::qWait(50);
    QVERIFY2(pages.pagesPainted() <= 4, qPrintable(QString::number(pages.pagesPainted())));
  }

  void printRangeNamesItsPages() {
    struct Row {
      QPrinter::PrintRange range;
      int from, to, current;
      PageRange pages;
    };
    const Row rows[] = {
        {QPrinter::AllPages, 0, 0, 4, {0, 9}},    {QPrinter::PageRange, 3, 5, 0, {2, 4}},
        {QPrinter::PageRange, 8, 20, 0, {7, 9}},  {QPrinter::PageRange, 0, 0, 0, {0, 9}},
        {QPrinter::CurrentPage, 0, 0, 6, {6, 6}}, {QPrinter::Selection, 2, 2, 0, {0, 9}},
    };
    for (const Row& row : rows) {
      QPrinter printer;
      printer.setPrintRange(row.range);
      printer.setFromTo(row.from, row.to);
      QCOMPARE(requestedPages(printer, row.current, 10), row.pages);
    }
  }

  void printingToAFileWritesTheRangeAndACancelLeavesNothing() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) QSKIP("pdfinfo is missing");
    auto preview = open(*report_);
    QVERIFY(preview);
    const QString pdf = dir_.filePath(QStringLiteral("paginas.pdf"));
    QPrinter printer;
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 5);
    printer.setCopyCount(2);
    QVERIFY(preview->print(printer).isOk());
    QCOMPARE(pdfPages(pdf), 6);
    QFile::remove(pdf);
    CancelAt cancel(2);
    QVERIFY(printPages(*report_, printer, {0, 9}, cancel).isCancelled());
    QVERIFY(!QFileInfo::exists(pdf));
  }

  // Short lines, letters for digits, no lines at all, or the file gone
  // after the preview opened: whatever prints, nothing crashes.
  void damagedAuxiliaryFilesNeverCrash() {
    const QByteArray good = testing::readBytes(dir_.filePath(QStringLiteral("TarquelasAux.txt")));
    const QByteArray header = good.left(good.indexOf('\n') + 1);
    const std::pair<QByteArray, bool> files[] = {
        {header + good.mid(header.size(), 300) + "\r\n" + good.mid(header.size(), 40) + "\r\n", false},
        {QByteArray(good).replace('0', 'x'), false},
        {header + "\r\n\r\n", false},
        {good, true},
    };
    for (const auto& [bytes, removeAfterOpening] : files) {
      QTemporaryDir dir;
      const QString aux = dir.filePath(QStringLiteral("TarquelasAux.txt"));
      QVERIFY(testing::writeBytes(aux, bytes));
      VoucherReport::BuildResult built = VoucherReport::build(aux);
      if (!built.status.isOk()) continue;
      if (removeAfterOpening) QFile::remove(aux);
      auto preview = open(*built.report);
      QVERIFY(preview);
      trigger(*preview, QStringLiteral("Última página"));
      QTest::qWait(20);
      QPrinter printer;
      printer.setOutputFileName(dir.filePath(QStringLiteral("salida.pdf")));
      (void)preview->print(printer);
      (void)preview->savePdf(dir.filePath(QStringLiteral("guardado.pdf")));
    }
  }
};

}  // namespace tarquelas

QTEST_MAIN(tarquelas::VoucherPreviewTest)
#include "voucher_preview_test.moc"
