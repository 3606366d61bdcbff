// The voucher preview driven as a person would, on the bundled sample's ten
// pages: page turning and the page box, zoom and fits, painting only what
// is in view, the pages a print range names, printing to a file with a
// cancel, and auxiliary files damaged by hand.
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

  static std::unique_ptr<VoucherPreview> open(const VoucherReport& report) {
    auto preview = std::make_unique<VoucherPreview>(report, [](const QString&) { return true; });
    preview->resize(800, 900);
    preview->show();
    return QTest::qWaitForWindowExposed(preview.get()) ? std::move(preview) : nullptr;
  }

  static void trigger(VoucherPreview& preview, const QString& caption) {
    for (QAction* action : preview.findChildren<QAction*>())
      if (action->text() == caption) return action->trigger();
    QFAIL(qPrintable(caption));
  }

  static QWheelEvent wheel(int delta, Qt::KeyboardModifiers modifiers) {
    return QWheelEvent({10, 10}, {10, 10}, {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  }

 private slots:
  void initTestCase() {
    registerProgramFonts();
    const WorkPaths paths = WorkPaths::inDirectory(dir_.path());
    QVERIFY(validarArchivoTarquelas(QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/vouchers.txt"), paths,
                                    noProgress())
                .isOk());
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
    const std::pair<const char16_t*, int> steps[] = {
        {u"Última página", 9},    {u"Página siguiente", 9}, {u"Página anterior", 8}, {u"Primera página", 0},
        {u"Página anterior", 0},  {u"Página siguiente", 1}, {u"Dos páginas", 1},     {u"Página siguiente", 2},
        {u"Página siguiente", 4}, {u"Página anterior", 2},  {u"Una página", 2},      {u"Página siguiente", 3},
    };
    for (const auto& [caption, page] : steps) {
      trigger(*preview, QString::fromUtf16(caption));
      QCOMPARE(pages.currentPage(), page);
      QCOMPARE(box->text(), QStringLiteral("%1 / 10").arg(page + 1));
    }
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(pages.currentPage(), 6);
    // The wheel past the end of a page turns to the next one.
    QWheelEvent down = wheel(-120, Qt::NoModifier);
    for (int i = 0; i < 40 && pages.currentPage() == 6; ++i) QApplication::sendEvent(pages.viewport(), &down);
    QCOMPARE(pages.currentPage(), 7);
  }

  void zoomStepsFitsAndCtrlWheel() {
    auto preview = open(*report_);
    QVERIFY(preview);
    PreviewPages& pages = preview->pages();
    QCOMPARE(pages.fit(), PreviewPages::Fit::Page);
    pages.setMode(PreviewPages::Mode::OnePage);
    const double fitPage = pages.zoom();
    pages.setFit(PreviewPages::Fit::Width);
    const double fitWidth = pages.zoom();
    QVERIFY(fitWidth > fitPage);  // a tall window: the width is the looser bound
    preview->resize(1000, 900);
    QTRY_VERIFY(pages.zoom() > fitWidth);
    pages.setZoom(1.0);
    pages.zoomIn();
    QCOMPARE(pages.zoom(), 1.25);
    pages.zoomOut();
    pages.zoomOut();
    QCOMPARE(pages.zoom(), 0.75);
    QWheelEvent up = wheel(120, Qt::ControlModifier);
    QApplication::sendEvent(pages.viewport(), &up);
    QCOMPARE(pages.zoom(), 1.0);
    for (int i = 0; i < 20; ++i) pages.zoomIn();
    QCOMPARE(pages.zoom(), PreviewPages::kMaxZoom);
  }

  void onlyPagesInViewArePainted() {
    auto preview = open(*report_);
    QVERIFY(preview);
    PreviewPages& pages = preview->pages();
    QCOMPARE(pages.mode(), PreviewPages::Mode::Continuous);
    QTRY_VERIFY(pages.pagesPainted() > 0);
    trigger(*preview, QStringLiteral("Última página"));
    QCOMPARE(pages.visiblePages().constLast(), 9);
    QTest::qWait(50);
    QVERIFY2(pages.pagesPainted() <= 4, qPrintable(QString::number(pages.pagesPainted())));
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

  // Pages 3 to 5 twice; a cancel at the second page leaves no file.
  void printingToAFileWritesTheRangeAndACancelLeavesNothing() {
    struct CancelSecond final : Progress {
      int reports = 0;
      bool report(Stage, qint64, qint64) override { return ++reports < 2; }
    } cancel;
    auto preview = open(*report_);
    QVERIFY(preview);
    const QString pdf = dir_.filePath(QStringLiteral("paginas.pdf"));
    QPrinter printer;
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 5);
    printer.setCopyCount(2);
    QVERIFY(preview->print(printer).isOk());
    QCOMPARE(testing::readBytes(pdf).count("/Type/Page/"), 6);
    QFile::remove(pdf);
    QVERIFY(printPages(*report_, printer, {0, 9}, cancel).isCancelled());
    QVERIFY(!QFileInfo::exists(pdf));
  }

  // A file the run guards (its presentation file, a working file) is
  // neither saved nor printed over from the preview.
  void guardedFilesAreNeverWrittenOver() {
    const QString guarded = dir_.filePath(QStringLiteral("TarquelasAux.txt"));
    const QByteArray before = testing::readBytes(guarded);
    VoucherPreview preview(
        *report_, [](const QString&) { return true; }, nullptr,
        [&guarded](const QString& path) {
          return path == guarded ? QStringLiteral("protegido") : QString();
        });
    QPrinter printer;
    printer.setOutputFileName(guarded);
    QCOMPARE(preview.savePdf(guarded).description(), QStringLiteral("protegido"));
    QCOMPARE(preview.print(printer).description(), QStringLiteral("protegido"));
    QCOMPARE(testing::readBytes(guarded), before);
  }

  // Letters for digits, no lines at all, or the file gone after the
  // preview opened: whatever prints, nothing crashes.
  void damagedAuxiliaryFilesNeverCrash() {
    const QByteArray good = testing::readBytes(dir_.filePath(QStringLiteral("TarquelasAux.txt")));
    const QByteArray header = good.left(good.indexOf('\n') + 1);
    const std::pair<QByteArray, bool> files[] = {
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
