// The voucher preview driven as a person would, on the bundled sample's ten
// pages: page turning and the page box, painting only what is in view, zoom
// and fits, the pages a print range names, printing to a file with a cancel
// and never over a file the run guards.
#include "widgets/voucher_preview.h"

#include <QAction>
#include <QPrinter>
#include <QSpinBox>
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

class VoucherPreviewTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::optional<VoucherReport> report_;
  QString aux_;
  std::unique_ptr<VoucherPreview> preview_;  // one for all, a case leaves it as the next expects

  void trigger(const QString& caption) {
    for (QAction* action : preview_->findChildren<QAction*>())
      if (action->text() == caption) return action->trigger();
    QFAIL(qPrintable(caption));
  }

  static void wheel(PreviewPages& pages, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event({10, 10}, {10, 10}, {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages.viewport(), &event);
  }

 private slots:
  void initTestCase() {
    registerProgramFonts();
    const WorkPaths paths = WorkPaths::inDirectory(dir_.path());
    QVERIFY(validarArchivoTarquelas(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt"), paths,
                                    noProgress())
                .isOk());
    aux_ = paths.auxiliar;
    VoucherReport::BuildResult built = VoucherReport::build(aux_);
    QVERIFY(built.status.isOk());
    report_ = std::move(built.report);
    // Refuses to write over its own auxiliary file, as the run guards its files.
    preview_ = std::make_unique<VoucherPreview>(
        *report_, [](const QString&) { return true; }, nullptr,
        [this](const QString& path) { return path == aux_ ? QStringLiteral("protegido") : QString(); });
    preview_->resize(800, 900);
    preview_->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview_.get()));
  }

  // Continuous at first, only the pages in view painted, the last one too.
  void pageTurningAndThePageBox() {
    PreviewPages& pages = preview_->pages();
    QCOMPARE(pages.mode(), PreviewPages::Mode::Continuous);
    QTRY_VERIFY(pages.pagesPainted() > 0);
    trigger(QStringLiteral("Última página"));
    QCOMPARE(pages.visiblePages().constLast(), 9);
    QTest::qWait(50);
    QVERIFY2(pages.pagesPainted() <= 4, qPrintable(QString::number(pages.pagesPainted())));
    auto* box = preview_->findChild<QSpinBox*>();
    const std::pair<const char16_t*, int> steps[] = {
        {u"Última página", 9},    {u"Página siguiente", 9}, {u"Página anterior", 8}, {u"Primera página", 0},
        {u"Página anterior", 0},  {u"Página siguiente", 1}, {u"Dos páginas", 1},     {u"Página siguiente", 2},
        {u"Página siguiente", 4}, {u"Página anterior", 2},  {u"Una página", 2},      {u"Página siguiente", 3},
    };
    for (const auto& [caption, page] : steps) {
      trigger(QString::fromUtf16(caption));
      QCOMPARE(pages.currentPage(), page);
      QCOMPARE(box->text(), QStringLiteral("%1 / 10").arg(page + 1));
    }
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(pages.currentPage(), 6);
    // The wheel past the end of a page turns to the next one.
    for (int i = 0; i < 40 && pages.currentPage() == 6; ++i) wheel(pages, -120);
    QCOMPARE(pages.currentPage(), 7);
  }

  void zoomStepsFitsAndCtrlWheel() {
    PreviewPages& pages = preview_->pages();
    QCOMPARE(pages.fit(), PreviewPages::Fit::Page);
    QCOMPARE(pages.mode(), PreviewPages::Mode::OnePage);  // as page turning left it
    const double fitPage = pages.zoom();
    pages.setFit(PreviewPages::Fit::Width);
    const double fitWidth = pages.zoom();
    QVERIFY(fitWidth > fitPage);  // a tall window: the width is the looser bound
    preview_->resize(1000, 900);
    QTRY_VERIFY(pages.zoom() > fitWidth);
    pages.setZoom(1.0);
    pages.zoomIn();
    QCOMPARE(pages.zoom(), 1.25);
    pages.zoomOut();
    pages.zoomOut();
    QCOMPARE(pages.zoom(), 0.75);
    wheel(pages, 120, Qt::ControlModifier);
    QCOMPARE(pages.zoom(), 1.0);
    for (int i = 0; i < 20; ++i) pages.zoomIn();
    QCOMPARE(pages.zoom(), PreviewPages::kMaxZoom);
  }

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

  // Pages 3 to 5 twice; a cancel at the second page leaves no file. A file
  // the run guards (its presentation file, a working file) is neither
  // saved nor printed over.
  void printingToAFileWritesTheRangeAndACancelLeavesNothing() {
    struct CancelSecond final : Progress {
      int reports = 0;
      bool report(Stage, qint64, qint64) override { return ++reports < 2; }
    } cancel;
    const QString pdf = dir_.filePath(QStringLiteral("paginas.pdf"));
    QPrinter printer;
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 5);
    printer.setCopyCount(2);
    QVERIFY(preview_->print(printer).isOk());
    QCOMPARE(testing::readBytes(pdf).count("/Type/Page/"), 6);
    QFile::remove(pdf);
    QVERIFY(printPages(*report_, printer, {0, 9}, cancel).isCancelled());
    QVERIFY(!QFileInfo::exists(pdf));
    const QByteArray before = testing::readBytes(aux_);
    printer.setOutputFileName(aux_);
    QCOMPARE(preview_->savePdf(aux_).description(), QStringLiteral("protegido"));
    QCOMPARE(preview_->print(printer).description(), QStringLiteral("protegido"));
    QCOMPARE(testing::readBytes(aux_), before);
  }
};

}  // namespace tarquelas

QTEST_MAIN(tarquelas::VoucherPreviewTest)
#include "voucher_preview_test.moc"
