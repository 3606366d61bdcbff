// The main window driven as a person would: its layout, recognition on
// every change, browsing, dropping, the keys, start-up from the command
// line and the run's messages.
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QUrl>

#include "app/main_window.h"
#include "app_test_files.h"
#include "modal_answerer.h"
#include "support/widgets/ovra_common_dialog.h"

namespace tarquelas {
namespace {

using testing::ModalAnswerer;
using testing::writeBytes;

// The open dialog of the browse button, answering as told.
class StandInOpenDialog final : public CommonDialogPlatform {
 public:
  QString chosen;  // empty: the user cancels
  OpenFileRecord handed;
  qint32 getOpenFileName(OpenFileRecord& r) override {
    handed = r;
    if (chosen.isEmpty()) return 0;
    r.file.replace(0, chosen.size() + 1, chosen + QChar(0));
    r.filterIndex = 1;
    return 1;
  }
  qint32 getSaveFileName(OpenFileRecord&) override { return 0; }
  qint32 chooseColor(ColorRecord&) override { return 0; }
  qint32 chooseFont(FontRecord&) override { return 0; }
  qint32 printDlg(PrintRecord&) override { return 0; }
  qint32 winHelp(quintptr, const QString&, qint32, qint32) override { return 0; }
  qint32 extendedError() override { return 0; }
};

const QString kVoucherSummary =
    QStringLiteral("ABCD  (123)\nPeriodo:  03/2026.\n\nPresentación:  0747144854.\n");
const QString kRegistrySummary =
    QStringLiteral("ABCD  (123)\nFecha: 12/03/2026, hora: 09:30.\n\nPresentación:  0144272509.\n");

class WindowTest : public QObject {
  Q_OBJECT

  // One window per test, over its own App directory.
  struct Fixture {
    QTemporaryDir app;
    QTemporaryDir input;
    StandInOpenDialog dialogs;
    QStringList opened;
    std::unique_ptr<frmGeneracionDeTarquelas> window;

    explicit Fixture(const QString& appDir = QString()) {
      frmGeneracionDeTarquelas::Options options;
      options.appDir = appDir.isEmpty() ? app.path() : appDir;
      options.openInViewer = [this](const QString& path) { opened.append(path); };
      options.dialogs = &dialogs;
      window = std::make_unique<frmGeneracionDeTarquelas>(options);
    }
    template <typename T>
    T* control(const char* name) const {
      return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* path() const { return control<QLineEdit>("txtArchivoTarquelas"); }
    QLabel* info() const { return control<QLabel>("lblINFO"); }
    QCheckBox* workers() const { return control<QCheckBox>("chkTrabajadores"); }
    QString file(const QString& name, const QByteArray& bytes) const {
      const QString p = input.filePath(name);
      QDir().mkpath(QFileInfo(p).path());
      writeBytes(p, bytes);
      return p;
    }
    QString inApp(const char* name) const {
      return window->workPaths().appDir + QLatin1Char('/') + QLatin1String(name);
    }
  };

 private slots:
  void layoutFollowsTheDesignInTwips() {
    Fixture f;
    f.window->Form_Load(QString());
    const double dpi = f.window->screen()->logicalDotsPerInch();
    const auto px = [dpi](int twips) { return qRound(twips * dpi / 1440.0); };
    const auto rect = [&px](int l, int t, int w, int h) { return QRect(px(l), px(t), px(w), px(h)); };
    QCOMPARE(f.window->size(), QSize(px(8895), px(3975)));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Generación de Tarquelas y Comprobantes"));
    QVERIFY(!f.window->windowIcon().isNull());
    QCOMPARE(f.control<QGroupBox>("fraArchivo")->geometry(), rect(240, 285, 8445, 915));
    QCOMPARE(f.control<QLabel>("lbl")->geometry(), rect(165, 225, 7155, 225));
    QCOMPARE(f.path()->geometry(), rect(135, 525, 7725, 315));
    QCOMPARE(f.control<QPushButton>("cmdVerArchivos")->geometry(), rect(7905, 525, 405, 300));
    QCOMPARE(f.workers()->geometry(), rect(315, 1275, 3795, 285));
    QCOMPARE(f.info()->geometry(), rect(240, 1890, 8445, 1185));
    QCOMPARE(f.control<QPushButton>("cmdProcesar")->geometry(), rect(7875, 3315, 810, 525));
    QCOMPARE(f.control<QPushButton>("cmdSalir")->geometry(), rect(240, 3315, 735, 525));
    QCOMPARE(f.path()->parentWidget(), f.control<QGroupBox>("fraArchivo"));
  }

  void controlsCarryTheirTextsFontsAndRoles() {
    Fixture f;
    QCOMPARE(f.window->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(f.window->font().pointSizeF(), 8.25);
    QCOMPARE(f.control<QLabel>("lbl")->text(),
             QStringLiteral(
                 "Archivo a que contiene los datos de los consorcios para la generacion de las tarquelas:"));
    QCOMPARE(f.control<QPushButton>("cmdVerArchivos")->text(), QStringLiteral("..."));
    QCOMPARE(f.workers()->text(), QStringLiteral("Imprimir comprobantes de trabajadores"));
    QVERIFY(f.workers()->font().bold());
    QVERIFY(f.workers()->isHidden());
    QVERIFY(!f.workers()->isChecked());
    QCOMPARE(f.info()->font().pointSizeF(), 9.75);
    QVERIFY(f.info()->font().bold());
    QCOMPARE(f.info()->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    auto* procesar = f.control<QPushButton>("cmdProcesar");
    auto* salir = f.control<QPushButton>("cmdSalir");
    QCOMPARE(procesar->text(), QStringLiteral("&Procesar"));
    QVERIFY(procesar->isDefault());
    QVERIFY(!procesar->icon().isNull());
    QCOMPARE(salir->text(), QStringLiteral("&Salir"));
    QCOMPARE(salir->toolTip(), QStringLiteral("Cierra la Ventana"));
    QVERIFY(!salir->icon().isNull());
  }

  void captionsAreNeverCutOff() {
    Fixture f;
    const auto fits = [](const QWidget* control, const QString& text, int room) {
      return QFontMetrics(control->font()).horizontalAdvance(text) <= room;
    };
    auto* lbl = f.control<QLabel>("lbl");
    QVERIFY(fits(lbl, lbl->text(), lbl->width()));
    const QStyle* style = f.workers()->style();
    const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, f.workers()) +
                          style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, f.workers());
    QVERIFY(fits(f.workers(), f.workers()->text(), f.workers()->width() - indicator));
    for (const char* name : {"cmdProcesar", "cmdSalir", "cmdVerArchivos"}) {
      auto* button = f.control<QPushButton>(name);
      QVERIFY2(fits(button, QString(button->text()).remove(QLatin1Char('&')), button->width() - 4), name);
    }
    // The summary of a name that fills its whole field still fits.
    const QString widest =
        QStringLiteral("Administración Integral de Consorcios del Río de la Plata  (9999999)");
    QVERIFY(fits(f.info(), widest, f.info()->width()));
  }

  void tabOrderRunsFromThePathBoxToSalir() {
    Fixture f;
    QStringList order;
    QWidget* w = f.path();
    do {
      if (w->focusPolicy() & Qt::TabFocus) order.append(w->objectName());
      w = w->nextInFocusChain();
    } while (w != f.path());
    const QStringList expected{"txtArchivoTarquelas", "cmdVerArchivos", "chkTrabajadores", "cmdProcesar",
                               "cmdSalir"};
    QCOMPARE(order.mid(0, expected.size()), expected);
  }

  void startUpEmptiesTheSummaryAndBuildsThePaths() {
    Fixture f;
    f.info()->setText(QStringLiteral("x"));
    f.window->Form_Load(QString());
    QCOMPARE(f.info()->text(), QString());
    QCOMPARE(f.window->ptyArchivoOK(), f.app.path() + QStringLiteral("/TarquelasAux.txt"));
    QCOMPARE(f.window->workPaths().errores, f.app.path() + QStringLiteral("/TarquelasErrores.txt"));
    QCOMPARE(f.window->workPaths().padron, f.app.path() + QStringLiteral("/Padron.html"));
    QCOMPARE(f.window->sTipoArchivo(), QByteArray());
  }

  void summaryOfEitherKindAndOfAnEmptyFile() {
    Fixture f;
    f.window->Form_Load(QString());
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader() + "\r\n"));
    QCOMPARE(f.info()->text(), kVoucherSummary);
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("B"));
    QCOMPARE(f.window->sLineaCabecera(), testing::voucherHeader());
    f.path()->setText(f.file(QStringLiteral("d.txt"), testing::registryHeader() + "\r\n"));
    QCOMPARE(f.info()->text(), kRegistrySummary);
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("D"));
    f.path()->setText(f.file(QStringLiteral("vacio.txt"), QByteArray()));
    QCOMPARE(f.info()->text(), QStringLiteral("  ()\nFecha: //, hora: :.\n\nPresentación:  .\n"));
  }

  void typingRecognisesTheFileAndKeepsTheCase() {
    Fixture f;
    f.window->Form_Load(QString());
    const QString path = f.file(QStringLiteral("Pagos/Marzo.TXT"), testing::voucherHeader());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.path()->setFocus();
    QTest::keyClicks(f.path(), path);
    QCOMPARE(f.path()->text(), path);
    QCOMPARE(f.info()->text(), kVoucherSummary);
  }

  void blankPathEmptiesTheSummaryAndAMissingFileKeepsIt() {
    Fixture f;
    f.window->Form_Load(QString());
    f.path()->setText(f.file(QStringLiteral("d.txt"), testing::registryHeader()));
    f.workers()->setChecked(true);
    f.path()->setText(f.input.filePath(QStringLiteral("d.tx")));  // still typing
    QCOMPARE(f.info()->text(), kRegistrySummary);
    QVERIFY(!f.workers()->isHidden());
    f.path()->setText(QStringLiteral("   "));
    QCOMPARE(f.info()->text(), QString());
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("D"));
    QVERIFY(!f.workers()->isHidden());
    QVERIFY(f.workers()->isChecked());
  }

  void checkBoxShowsOnlyForARegistryFileAndKeepsItsTick() {
    Fixture f;
    f.window->Form_Load(QString());
    const QString registry = f.file(QStringLiteral("d.txt"), testing::registryHeader());
    f.path()->setText(registry);
    QVERIFY(!f.workers()->isHidden());
    f.workers()->setChecked(true);
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader()));
    QVERIFY(f.workers()->isHidden());
    f.path()->setText(registry);
    QVERIFY(!f.workers()->isHidden());
    QVERIFY(f.workers()->isChecked());
  }

  void cancelledBrowseEmptiesTheBoxAndTheSummary() {
    Fixture f;
    f.window->Form_Load(QString());
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader()));
    f.control<QPushButton>("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), QString());
    QCOMPARE(f.info()->text(), QString());
    QCOMPARE(f.dialogs.handed.filter,
             QStringLiteral(
                 "Archivos de texto ASCII(*.txt)\u0000*.txt\u0000Todos los archivos (*.*)\u0000*.*\u0000"));
    QCOMPARE(f.dialogs.handed.flags, 4100);
    QCOMPARE(f.dialogs.handed.owner, quintptr(0));
  }

  void browseChoosesAFileAndRecognisesIt() {
    Fixture f;
    f.window->Form_Load(QString());
    f.dialogs.chosen = f.file(QStringLiteral("sin punto/pagos de marzo.txt"), testing::voucherHeader());
    f.control<QPushButton>("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), f.dialogs.chosen);
    QCOMPARE(f.info()->text(), kVoucherSummary);
  }

  void threeDroppedFilesKeepTheFirst() {
    Fixture f;
    f.window->Form_Load(QString());
    QList<QUrl> urls;
    for (const char* name : {"uno.txt", "dos.txt", "tres.txt"}) {
      urls.append(QUrl::fromLocalFile(f.file(QString::fromLatin1(name), testing::voucherHeader())));
    }
    QMimeData files;
    files.setUrls(urls);
    QVERIFY(drop(f, files));
    QCOMPARE(f.path()->text(), urls.constFirst().toLocalFile());
    QCOMPARE(f.info()->text(), kVoucherSummary);
  }

  void droppedFilesGiveTheFirstLocalFile() {
    Fixture f;
    f.window->Form_Load(QString());
    const QString first = f.file(QStringLiteral("uno.txt"), testing::registryHeader());
    const QString second = f.file(QStringLiteral("dos.txt"), testing::voucherHeader());
    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.org/x.txt")), QUrl::fromLocalFile(first),
                   QUrl::fromLocalFile(second), QUrl::fromLocalFile(second)});
    QVERIFY(drop(f, files));
    QCOMPARE(f.path()->text(), first);
    QCOMPARE(f.info()->text(), kRegistrySummary);

    QMimeData text;
    text.setText(second);
    QVERIFY(!drop(f, text));
    QCOMPARE(f.path()->text(), first);
  }

  void salirDeletesOnlyTheAuxiliaryFile() {
    Fixture f;
    f.window->Form_Load(QString());
    for (const char* name : {"TarquelasAux.txt", "TarquelasErrores.txt", "Padron.html"})
      writeBytes(f.inApp(name), "x");
    QSignalSpy finished(f.window.get(), &QDialog::finished);
    f.control<QPushButton>("cmdSalir")->click();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!QFileInfo::exists(f.inApp("TarquelasAux.txt")));
    QVERIFY(QFileInfo::exists(f.inApp("TarquelasErrores.txt")));
    QVERIFY(QFileInfo::exists(f.inApp("Padron.html")));
  }

  void escapeActsAsSalirWhereverTheFocusIs() {
    for (const char* focus : {"txtArchivoTarquelas", "cmdVerArchivos", "cmdProcesar"}) {
      Fixture f;
      f.window->Form_Load(QString());
      writeBytes(f.inApp("TarquelasAux.txt"), "x");
      f.window->show();
      QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
      QWidget* target = f.control<QWidget>(focus);
      target->setFocus();
      QSignalSpy finished(f.window.get(), &QDialog::finished);
      QTest::keyClick(target, Qt::Key_Escape);
      QCOMPARE(finished.count(), 1);
      QVERIFY(!QFileInfo::exists(f.inApp("TarquelasAux.txt")));
    }
  }

  void closingTheWindowDeletesNothing() {
    Fixture f;
    f.window->Form_Load(QString());
    writeBytes(f.inApp("TarquelasAux.txt"), "x");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->close();
    QVERIFY(!f.window->isVisible());
    QVERIFY(QFileInfo::exists(f.inApp("TarquelasAux.txt")));
  }

  void enterInThePathBoxStartsARun() {
    Fixture f;
    f.window->Form_Load(QString());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.path()->setText(f.file(QStringLiteral("mal.txt"), testing::faultyVouchers()));
    f.path()->setFocus();
    ModalAnswerer answerer(f.window.get());
    QTest::keyClick(f.path(), Qt::Key_Return);
    QCOMPARE(answerer.seen.size(), 1);
    const auto& box = answerer.seen.constFirst();
    QCOMPARE(box.title, QStringLiteral("Tarquelas"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.text, QStringLiteral("No se pueden generar las tarquelas. \nArchivo con errores: \n") +
                           f.inApp("TarquelasErrores.txt"));
    QCOMPARE(f.opened, QStringList{f.inApp("TarquelasErrores.txt")});
  }

  void quotedCommandLineIsProcessedBeforeTheWindowShows() {
    Fixture f;
    const QString path =
        f.file(QStringLiteral("con blancos/presentación año.txt"), testing::faultyRegistry());
    ModalAnswerer answerer(f.window.get());
    f.window->Form_Load(QLatin1Char('"') + path + QLatin1Char('"'));
    QCOMPARE(f.path()->text(), path);
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(!answerer.seen.constFirst().windowVisible);
    QVERIFY(answerer.seen.constFirst().text.startsWith(
        QStringLiteral("No se pueden generar los comprobantes. ")));
    QCOMPARE(f.opened, QStringList{f.inApp("TarquelasErrores.txt")});
  }

  void commandLineVoucherFileOpensThePreviewFirst() {
    Fixture f;
    ModalAnswerer answerer(f.window.get());
    f.window->Form_Load(testing::samplePath("vouchers.txt"));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.constFirst().kind, QStringLiteral("preview"));
    QVERIFY(!answerer.seen.constFirst().windowVisible);
    QVERIFY(answerer.seen.constFirst().pages > 0);
  }

  void commandLineNamingNoFileStartsNothing() {
    Fixture f;
    ModalAnswerer answerer(f.window.get());
    f.window->Form_Load(f.input.filePath(QStringLiteral("no existe.txt")));
    QCOMPARE(f.info()->text(), QString());
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(QDir(f.app.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
  }

  void procesarWithAnEmptyBoxChangesNothing() {
    Fixture f;
    f.window->Form_Load(QString());
    ModalAnswerer answerer(f.window.get());
    f.control<QPushButton>("cmdProcesar")->click();
    QVERIFY(answerer.seen.isEmpty());
    QVERIFY(f.opened.isEmpty());
    QCOMPARE(QDir(f.app.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
  }

  void unwritableAppDirectoryGivesTheErrorPrompt() {
    QTemporaryDir base;
    Fixture f(testing::unwritableDirectory(base));
    f.window->Form_Load(QString());
    f.path()->setText(testing::samplePath("registry.txt"));
    ModalAnswerer answerer(f.window.get());
    f.control<QPushButton>("cmdProcesar")->click();
    QCOMPARE(answerer.seen.size(), 1);
    const auto& prompt = answerer.seen.constFirst();
    QCOMPARE(prompt.title, QStringLiteral("Tarquelas"));
    QCOMPARE(prompt.icon, QMessageBox::Critical);
    QCOMPARE(prompt.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(prompt.text.startsWith(QStringLiteral("Se ha detectado el siguiente error:\n")));
    QVERIFY(prompt.text.contains(QStringLiteral("TarquelasAux.txt")));
    QVERIFY(prompt.text.endsWith(QStringLiteral("\n\n¿Desea continuar?")));
    QVERIFY(f.opened.isEmpty());
  }

  void accentedPathsWithBlanksAndGreatLengthWork() {
    QTemporaryDir base;
    const QString appDir = base.filePath(QStringLiteral("Aplicación con ñ y blancos"));
    QDir().mkpath(appDir);
    Fixture f(appDir);
    f.window->Form_Load(QString());
    QString folder = QStringLiteral("Presentación de marzo");
    while (folder.size() < 1200) folder += QStringLiteral("/otra carpeta más con acentos y eñes");
    const QString path =
        f.file(folder + QStringLiteral("/Pagos año.txt"), testing::sampleBytes("registry.txt"));
    f.path()->setText(path);
    QVERIFY(f.info()->text().startsWith(QStringLiteral("Cámara de Administradores de Consorcios  (1234)\n")));
    ModalAnswerer answerer(f.window.get());
    f.control<QPushButton>("cmdProcesar")->click();
    QCOMPARE(f.opened, QStringList{appDir + QStringLiteral("/Padron.html")});
    QVERIFY(QFileInfo::exists(appDir + QStringLiteral("/TarquelasAux.txt")));
  }

  void progressDialogNamesTheStageAndTakesACancel() {
    QWidget window;
    DialogProgress progress(&window);
    QVERIFY(progress.report(Progress::Stage::Validating, 10, 100));
    auto* dialog = window.findChild<QProgressDialog*>();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->labelText(), QStringLiteral("Validando el archivo…"));
    QCOMPARE(dialog->value(), 100);
    QVERIFY(progress.report(Progress::Stage::WritingPrintout, 1, 0));
    QCOMPARE(dialog->labelText(), QStringLiteral("Escribiendo el padrón…"));
    dialog->cancel();
    QVERIFY(!progress.report(Progress::Stage::LayingOutVouchers, 2, 4));
    QCOMPARE(DialogProgress::stageText(Progress::Stage::LayingOutVouchers),
             QStringLiteral("Armando los comprobantes…"));
    progress.finish();
    QVERIFY(window.findChild<QProgressDialog*>() == nullptr);
  }

 private:
  // Drags data over the path box and drops it; true when it was taken.
  static bool drop(const Fixture& f, const QMimeData& data) {
    const QPoint at = f.path()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.path(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.path(), &dropped);
    return dropped.isAccepted();
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::WindowTest)
#include "window_test.moc"
