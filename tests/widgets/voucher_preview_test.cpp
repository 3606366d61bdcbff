// The voucher preview driven as a person would, on the bundled sample's ten
// pages: page turning, keys and the page box, painting only what is in view,
// zoom and fits with the buttons greyed at the limits, finding vouchers,
// printing to a file with a cancel and never
// over a file the run guards, what is remembered from one opening to the
// next, and what the status line confirms.
#include "widgets/voucher_preview.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <optional>

#include "declarations/validators.h"
#include "printing/printer_pages.h"
#include "report_engine/fonts.h"
#include "support/work_paths.h"
#include "tests/common/temp_dir.h"
#include "voucher_report/voucher_report.h"
#include "widgets/preview_pages.h"

namespace tarquelas {

// Counts the paint events a widget has been through.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class VoucherPreviewTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QTemporaryDir settingsDir_;
  std::optional<VoucherReport> report_;
  QString aux_;
  std::unique_ptr<VoucherPreview> preview_;  // one for all, a case leaves it as the next expects

  QAction* action(const QString& caption) {
    for (QAction* action : preview_->findChildren<QAction*>())
      if (action->text() == caption) return action;
    return nullptr;
  }

  void trigger(const QString& caption) {
    QAction* found = action(caption);
    QVERIFY2(found != nullptr, qPrintable(caption));
    found->trigger();
  }

  QLineEdit* box(const QString& name) {
    for (auto* edit : preview_->findChildren<QLineEdit*>())
      if (edit->accessibleName() == name) return edit;
    return nullptr;
  }

  // The buttons greyed, as "first previous next last − +" with 1 for enabled.
  QString enabledButtons() {
    QString states;
    for (const char16_t* caption :
         {u"Primera página", u"Página anterior", u"Página siguiente", u"Última página", u"−", u"+"})
      states += action(QString::fromUtf16(caption))->isEnabled() ? u'1' : u'0';
    return states;
  }

  void openPreview() {
    preview_ = std::make_unique<VoucherPreview>(
        *report_, [](const QString&) { return true; }, nullptr,
        [this](const QString& path) { return path == aux_ ? QStringLiteral("protegido") : QString(); });
    preview_->setPresentationFile(dir_.filePath(QStringLiteral("presentación.txt")));
    preview_->resize(800, 900);
    preview_->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview_.get()));
  }

  static void wheel(PreviewPages& pages, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event({10, 10}, {10, 10}, {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages.viewport(), &event);
  }

 private slots:
  void initTestCase() {
    // Remembered settings go to a folder of the test's own.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, settingsDir_.path());
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
    openPreview();
  }

  // Continuous at first, only the pages in view painted, the last one too.
  void pageTurningAndThePageBox() {
    PreviewPages& pages = preview_->pages();
    QCOMPARE(pages.mode(), PreviewPages::Mode::Continuous);
    QTRY_VERIFY(pages.pagesPainted() > 0);
    PaintCounter counter;
    pages.viewport()->installEventFilter(&counter);
    trigger(QStringLiteral("Última página"));
    QCOMPARE(pages.visiblePages().constLast(), 9);
    // One paint of the view after the jump paints every page in view.
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 10000);
    pages.viewport()->removeEventFilter(&counter);
    QVERIFY2(pages.pagesPainted() <= 4, qPrintable(QString::number(pages.pagesPainted())));
    QLineEdit* box = this->box(QStringLiteral("Página"));
    // The buttons of the way on greyed at the end, those back at the start.
    const std::tuple<const char16_t*, int, const char16_t*> steps[] = {
        {u"Última página", 9, u"110011"},    {u"Página anterior", 8, u"111111"},
        {u"Primera página", 0, u"001111"},   {u"Página siguiente", 1, u"111111"},
        {u"Dos páginas", 1, u"001111"},      {u"Página siguiente", 2, u"111111"},
        {u"Página siguiente", 4, u"111111"}, {u"Página anterior", 2, u"111111"},
        {u"Última página", 9, u"110011"},    {u"Una página", 9, u"110011"},
        {u"Primera página", 0, u"001111"},   {u"Página siguiente", 1, u"111111"},
        {u"Página siguiente", 2, u"111111"}, {u"Página siguiente", 3, u"111111"},
    };
    for (const auto& [caption, page, enabled] : steps) {
      trigger(QString::fromUtf16(caption));
      QCOMPARE(pages.currentPage(), page);
      QCOMPARE(box->text(), QString::number(page + 1));
      QCOMPARE(enabledButtons(), QString::fromUtf16(enabled));
    }
    // Only digits are typed; a page out of range stays where it was, and
    // Escape undoes the edit with the preview still open.
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2a5"));
    QCOMPARE(box->text(), QStringLiteral("25"));
    QVERIFY(box->property("fueraDeRango").toBool());
    QVERIFY(box->toolTip().contains(QStringLiteral("de 1 a 10")));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(pages.currentPage(), 3);
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(preview_->isVisible());
    QCOMPARE(box->text(), QStringLiteral("4"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("7"));
    QVERIFY(!box->property("fueraDeRango").toBool());
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
    QCOMPARE(pages.zoom(), 4.0);
    QCOMPARE(enabledButtons().right(2), QStringLiteral("10"));
    // The zoom typed; at a high zoom the page is painted in parts.
    auto* zoom = preview_->findChild<QComboBox*>();
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), QStringLiteral("35"));
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    QCOMPARE(pages.zoom(), 0.35);
    QCOMPARE(zoom->currentText(), QStringLiteral("35 %"));
    pages.setZoom(0.1);
    QCOMPARE(enabledButtons().right(2), QStringLiteral("01"));
  }

  // The keys of a viewer, in every mode, the pages having the focus.
  void keys() {
    PreviewPages& pages = preview_->pages();
    pages.setFocus();
    const std::tuple<const char16_t*, QKeyCombination, int> presses[] = {
        {u"Continuo", Qt::Key_Home, 0},     {u"Continuo", Qt::Key_Right, 1},
        {u"Continuo", Qt::Key_Left, 0},     {u"Continuo", Qt::Key_End, 9},
        {u"Dos páginas", Qt::Key_Home, 0},  {u"Dos páginas", Qt::Key_Right, 2},
        {u"Dos páginas", Qt::Key_Space, 4}, {u"Dos páginas", Qt::SHIFT | Qt::Key_Space, 2},
        {u"Una página", Qt::Key_Left, 1},   {u"Una página", Qt::Key_End, 9},
    };
    pages.setZoom(0.3);  // a whole page in view: Space goes on to the next
    for (const auto& [mode, key, page] : presses) {
      trigger(QString::fromUtf16(mode));
      QTest::keyClick(&pages, key.key(), key.keyboardModifiers());
      QCOMPARE(pages.currentPage(), page);
    }
    QTest::keyClick(&pages, Qt::Key_Plus);
    QCOMPARE(pages.zoom(), 0.5);
    QTest::keyClick(&pages, Qt::Key_Minus);
    QTest::keyClick(&pages, Qt::Key_Minus);
    QCOMPARE(pages.zoom(), 0.1);
    QTest::keyClick(&pages, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(pages.zoom(), 1.0);
    QTest::keyClick(&pages, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(box(QStringLiteral("Buscar"))->hasFocus());
    QTest::keyClick(box(QStringLiteral("Buscar")), Qt::Key_Escape);
    QVERIFY(preview_->isVisible());
  }

  // C.U.I.T. with hyphens, a name by any part; Enter and Shift+Enter round
  // the vouchers found, the list goes to the one clicked; any text at all.
  void findingVouchers() {
    PreviewPages& pages = preview_->pages();
    trigger(QStringLiteral("Primera página"));
    QLineEdit* find = box(QStringLiteral("Buscar"));
    find->setFocus();
    QTest::keyClicks(find, QStringLiteral("parana"));
    QCOMPARE(preview_->findState(), QStringLiteral("3 encontrados"));
    const std::pair<Qt::KeyboardModifiers, std::pair<int, const char16_t*>> rounds[] = {
        {Qt::NoModifier, {4, u"1 de 3"}},    {Qt::NoModifier, {6, u"2 de 3"}},
        {Qt::NoModifier, {7, u"3 de 3"}},    {Qt::NoModifier, {4, u"1 de 3"}},
        {Qt::ShiftModifier, {7, u"3 de 3"}},
    };
    for (const auto& [modifiers, expected] : rounds) {
      QTest::keyClick(find, Qt::Key_Return, modifiers);
      QCOMPARE(pages.currentPage(), expected.first);
      QCOMPARE(preview_->findState(), QString::fromUtf16(expected.second));
    }
    QVERIFY(preview_->isVisible());
    QTest::keyClick(find, Qt::Key_F4);
    auto* list = preview_->findChild<QTableView*>();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->model()->index(0, 1).data().toString(), QStringLiteral("33-45479889-4"));
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("CONSORCIO PARANÁ 7418"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(pages.currentPage(), 6);
    QCOMPARE(preview_->findState(), QStringLiteral("2 de 3"));
    preview_->find(QStringLiteral("33-38893829-9"));
    QTest::keyClick(find, Qt::Key_F3);
    QCOMPARE(pages.currentPage(), 1);
    for (const QString& text : {QStringLiteral("   "), QStringLiteral("\x01\x1b\t"), QString(10000, u'9'),
                                QStringLiteral("%&$#@!"), QStringLiteral("ü€✓")}) {
      preview_->find(text);
      QTest::keyClick(find, Qt::Key_Return);
      QVERIFY(preview_->found().empty());
      QCOMPARE(preview_->findState(),
               text.trimmed().isEmpty() ? QString() : QStringLiteral("No se encontró ningún comprobante"));
    }
    preview_->find(QStringLiteral("maipú"));
    QCOMPARE(preview_->found().size(), std::size_t(1));
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

  // The voucher in view and the vouchers found, printed and saved alone,
  // each confirmed on the status line.
  void printingAndSavingOneVoucherOrThoseFound() {
    preview_->find(QStringLiteral("30915466679"));  // one consortium, two forms
    preview_->findNext();
    QCOMPARE(preview_->pages().currentPage(), 6);
    const QString pdf = dir_.filePath(QStringLiteral("uno.pdf"));
    QPrinter printer;
    printer.setOutputFileName(pdf);
    QVERIFY(preview_->printVoucher(printer).isOk());
    QCOMPARE(testing::readBytes(pdf).count("/Type/Page/"), 1);
    QCOMPARE(preview_->statusText(), QStringLiteral("PDF guardado en %1").arg(QDir::toNativeSeparators(pdf)));
    printer.setPrintRange(QPrinter::Selection);
    QVERIFY(preview_->print(printer).isOk());
    QCOMPARE(testing::readBytes(pdf).count("/Type/Page/"), 2);
    const QString saved = dir_.filePath(QStringLiteral("encontrados.pdf"));
    QVERIFY(preview_->savePdf(saved, VoucherPreview::Pages::Found).isOk());
    QCOMPARE(testing::readBytes(saved).count("/Type/Page/"), 2);
    QCOMPARE(preview_->statusText(),
             QStringLiteral("PDF guardado en %1").arg(QDir::toNativeSeparators(saved)));
    QCOMPARE(preview_->proposedPdfPath(), dir_.filePath(QStringLiteral("presentación.pdf")));
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("otra")));
    QVERIFY(preview_->savePdf(dir_.filePath(QStringLiteral("otra/x.pdf")), VoucherPreview::Pages::Voucher)
                .isOk());
    // The print dialog offers the vouchers found as its selection.
    QString offered;
    QTimer::singleShot(0, preview_.get(), [&offered] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (auto* selection = dialog->findChild<QRadioButton*>(QStringLiteral("printSelection")))
        offered = selection->isEnabled() ? selection->text() : QString();
      dialog->reject();
    });
    trigger(QStringLiteral("Imprimir…"));
    QCOMPARE(offered, QStringLiteral("Comprobantes encontrados"));
  }

  // Mode, zoom and the PDF folder come back at the next opening; the file changed under
  // the preview is said by the search; closing lets go of the page images.
  void rememberedAtTheNextOpeningAndAChangedFileSaidSo() {
    trigger(QStringLiteral("Dos páginas"));
    preview_->pages().setZoom(1.5);
    preview_->reject();
    openPreview();
    QCOMPARE(preview_->pages().mode(), PreviewPages::Mode::TwoPages);
    QCOMPARE(preview_->pages().zoom(), 1.5);
    QCOMPARE(preview_->proposedPdfPath(), dir_.filePath(QStringLiteral("otra/presentación.pdf")));
    QFile file(aux_);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\r\n");
    file.close();
    preview_->find(QStringLiteral("maipú"));
    QVERIFY(preview_->findState().endsWith(QStringLiteral("(el archivo cambió)")));
    QVERIFY(preview_->statusText().startsWith(QStringLiteral("TarquelasAux.txt cambió")));
  }
};

}  // namespace tarquelas

QTEST_MAIN(tarquelas::VoucherPreviewTest)
#include "voucher_preview_test.moc"
