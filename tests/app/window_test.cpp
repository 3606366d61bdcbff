// The main window driven as a person would: recognition on every change,
// browsing, dropping, the keys, start-up from the command line and the
// run's messages.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QUrl>

#include "app/main_window.h"
#include "app/window_run_ui.h"
#include "app_test_files.h"
#include "modal_answerer.h"
#include "widgets/ovra_common_dialog.h"

namespace tarquelas {
namespace {

using testing::ModalAnswerer;
using testing::writeBytes;

// The browse button's open dialog, answering with chosen (empty: cancel).
class StandInOpenDialog final : public CommonDialogPlatform {
 public:
  QString chosen;
  qint32 filterIndex = 1;  // the filter the person ended with
  OpenFileRecord handed;
  qint32 getOpenFileName(OpenFileRecord& r) override {
    handed = r;
    if (chosen.isEmpty()) return 0;
    r.file.replace(0, chosen.size() + 1, chosen + QChar(0));
    r.filterIndex = filterIndex;
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

// One window over its own App directory, loaded with commandLine.
struct Fixture {
  QTemporaryDir app, input;
  StandInOpenDialog dialogs;
  QStringList opened;
  std::unique_ptr<frmGeneracionDeTarquelas> window;
  std::unique_ptr<ModalAnswerer> answerer;

  explicit Fixture(const QString& commandLine = {}, const QString& appDir = {}) {
    window = std::make_unique<frmGeneracionDeTarquelas>(
        frmGeneracionDeTarquelas::Options{appDir.isEmpty() ? app.path() : appDir,
                                          [this](const QString& path) {
                                            opened.append(path);
                                            return true;
                                          },
                                          &dialogs});
    answerer = std::make_unique<ModalAnswerer>(window.get());
    window->Form_Load(commandLine);
  }
  template <typename T = QPushButton>
  T* control(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QLineEdit* path() const { return control<QLineEdit>("txtArchivoTarquelas"); }
  QString info() const { return control<QLabel>("lblINFO")->text(); }
  QCheckBox* workers() const { return control<QCheckBox>("chkTrabajadores"); }
  QString file(const QString& name, const QByteArray& bytes) const {
    const QString p = input.filePath(name);
    QDir().mkpath(QFileInfo(p).path());
    writeBytes(p, bytes);
    return p;
  }
  QString inApp(const char* name) const { return window->workPaths().appDir + u'/' + QLatin1String(name); }
  QStringList appFiles() const { return QDir(window->workPaths().appDir).entryList(QDir::Files); }
  void showActive() const {
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  // Drags data over the path box and drops it; true when it was taken.
  bool drop(const QMimeData& data) const {
    const QPoint at = path()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(path(), &dropped);
    return dropped.isAccepted();
  }
};

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsEmptyWithTheTitleAndTabOrder() {
    Fixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Generación de Tarquelas y Comprobantes"));
    QCOMPARE(f.info(), QString());
    QVERIFY(f.workers()->isHidden() && !f.workers()->isChecked());
    QStringList order;
    for (QWidget* w = f.path(); order.size() < 5; w = w->nextInFocusChain())
      if (w->focusPolicy() & Qt::TabFocus) order.append(w->objectName());
    QCOMPARE(order, (QStringList{"txtArchivoTarquelas", "cmdVerArchivos", "chkTrabajadores", "cmdProcesar",
                                 "cmdSalir"}));
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
      auto* button = f.control(name);
      QVERIFY2(fits(button, QString(button->text()).remove(u'&'), button->width() - 4), name);
    }
    // The summary of a name that fills its whole field still fits.
    auto* info = f.control<QLabel>("lblINFO");
    QVERIFY(fits(info, QStringLiteral("Administración Integral de Consorcios del Río de la Plata  (9999999)"),
                 info->width()));
  }

  void summaryOfEitherKindAndOfAnEmptyFile() {
    Fixture f;
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader() + "\r\n"));
    QCOMPARE(f.info(), kVoucherSummary);
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("B"));
    QCOMPARE(f.window->sLineaCabecera(), testing::voucherHeader());
    f.path()->setText(f.file(QStringLiteral("d.txt"), testing::registryHeader() + "\r\n"));
    QCOMPARE(f.info(), kRegistrySummary);
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("D"));
    f.path()->setText(f.file(QStringLiteral("vacio.txt"), QByteArray()));
    QCOMPARE(f.info(), QStringLiteral("  ()\nFecha: //, hora: :.\n\nPresentación:  .\n"));
  }

  void typedPathKeepsItsCaseAndIsRecognised() {
    Fixture f;
    const QString path = f.file(QStringLiteral("Pagos/Marzo.TXT"), testing::voucherHeader());
    f.showActive();
    f.path()->setFocus();
    QTest::keyClicks(f.path(), path);
    QCOMPARE(f.path()->text(), path);
    QCOMPARE(f.info(), kVoucherSummary);
  }

  void checkBoxShowsForARegistryFileAndBlankOrMissingPathsKeepTheKind() {
    Fixture f;
    const QString registry = f.file(QStringLiteral("d.txt"), testing::registryHeader());
    f.path()->setText(registry);
    f.workers()->setChecked(true);
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader()));
    QVERIFY(f.workers()->isHidden());
    f.path()->setText(registry);
    f.path()->setText(f.input.filePath(QStringLiteral("d.tx")));  // still typing: nothing changes
    QCOMPARE(f.info(), kRegistrySummary);
    f.path()->setText(QStringLiteral("   "));  // only the summary empties
    QCOMPARE(f.info(), QString());
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("D"));
    QVERIFY(!f.workers()->isHidden() && f.workers()->isChecked());
  }

  void browseRecognisesTheChoiceAndACancelEmptiesTheBox() {
    Fixture f;
    f.dialogs.chosen = f.file(QStringLiteral("sin punto/pagos de marzo.txt"), testing::voucherHeader());
    f.control("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), f.dialogs.chosen);
    QCOMPARE(f.info(), kVoucherSummary);
    QCOMPARE(f.dialogs.handed.filter,
             QStringLiteral(
                 "Archivos de texto ASCII(*.txt)\u0000*.txt\u0000Todos los archivos (*.*)\u0000*.*\u0000"));
    QCOMPARE(f.dialogs.handed.flags, 4100);
    f.dialogs.filterIndex = 2;  // "Todos los archivos": a name without a point stays as chosen
    f.dialogs.chosen = f.file(QStringLiteral("sin punto/padron"), testing::registryHeader());
    f.control("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), f.dialogs.chosen);
    QCOMPARE(f.info(), kRegistrySummary);
    f.dialogs.chosen.clear();
    f.control("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), QString());
    QCOMPARE(f.info(), QString());
  }

  void dropKeepsTheFirstLocalFileAndRefusesText() {
    Fixture f;
    const QString first = f.file(QStringLiteral("uno.txt"), testing::registryHeader());
    const QString other = f.file(QStringLiteral("dos.txt"), testing::voucherHeader());
    const QList<QList<QUrl>> lists = {
        {QUrl::fromLocalFile(first), QUrl::fromLocalFile(other), QUrl::fromLocalFile(other)},  // three files
        {QUrl(QStringLiteral("https://example.org/x.txt")), QUrl::fromLocalFile(first),
         QUrl::fromLocalFile(other)},
    };
    for (const QList<QUrl>& urls : lists) {
      f.path()->clear();
      QMimeData files;
      files.setUrls(urls);
      QVERIFY(f.drop(files));
      QCOMPARE(f.path()->text(), first);
      QCOMPARE(f.info(), kRegistrySummary);
    }
    QMimeData text;
    text.setText(other);
    QVERIFY(!f.drop(text));
    QCOMPARE(f.path()->text(), first);
  }

  // "&Salir", and Escape wherever the focus is, end the window and delete
  // the auxiliary file only.
  void salirAndEscapeDeleteOnlyTheAuxiliaryFile() {
    for (const char* focus : {"cmdSalir", "txtArchivoTarquelas", "cmdVerArchivos", "cmdProcesar"}) {
      Fixture f;
      for (const char* name : {"TarquelasAux.txt", "TarquelasErrores.txt", "Padron.html"})
        writeBytes(f.inApp(name), "x");
      f.showActive();
      f.control<QWidget>(focus)->setFocus();
      if (qstrcmp(focus, "cmdSalir") == 0)
        f.control(focus)->click();
      else
        QTest::keyClick(f.control<QWidget>(focus), Qt::Key_Escape);
      QVERIFY2(!f.window->isVisible(), focus);
      QCOMPARE(f.appFiles(), (QStringList{"Padron.html", "TarquelasErrores.txt"}));
    }
  }

  void enterInThePathBoxStartsARun() {
    Fixture f;
    f.showActive();
    f.path()->setText(f.file(QStringLiteral("mal.txt"), testing::faultyVouchers()));
    f.path()->setFocus();
    QTest::keyClick(f.path(), Qt::Key_Return);
    QCOMPARE(f.answerer->seen.size(), 1);
    const auto& box = f.answerer->seen.constFirst();
    QCOMPARE(box.title, QStringLiteral("Tarquelas"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.text, QStringLiteral("No se pueden generar las tarquelas. \nArchivo con errores: \n") +
                           f.inApp("TarquelasErrores.txt"));
    QCOMPARE(f.opened, QStringList{f.inApp("TarquelasErrores.txt")});
  }

  // A file named on the command line (in quotes or not) is processed before
  // the window shows; one that does not exist starts nothing.
  void commandLineFileIsProcessedBeforeTheWindowShows() {
    QTemporaryDir input;
    const QString faulty = input.filePath(QStringLiteral("presentación año.txt"));
    writeBytes(faulty, testing::faultyRegistry());
    const std::pair<QString, QString> cases[] = {
        {u'"' + faulty + u'"', QStringLiteral("No se pueden generar los comprobantes. ")},
        {testing::samplePath("vouchers.txt"), QStringLiteral("preview")},
        {input.filePath(QStringLiteral("no existe.txt")), QString()},
        {input.filePath(QStringLiteral("pagos\uFFFD.txt")), QStringLiteral("No se puede usar el archivo ")},
    };
    for (const auto& [commandLine, seen] : cases) {
      Fixture f(commandLine);
      QCOMPARE(f.answerer->seen.size(), seen.isEmpty() ? 0 : 1);
      if (seen.isEmpty()) {
        QCOMPARE(f.info(), QString());
        QCOMPARE(f.appFiles(), QStringList());
        continue;
      }
      QCOMPARE(f.path()->text(), QString(commandLine).remove(u'"'));
      const auto& first = f.answerer->seen.constFirst();
      QVERIFY2(first.text.startsWith(seen), qPrintable(first.text));
      QVERIFY(!first.windowVisible);
      QVERIFY(seen != QStringLiteral("preview") || first.pages > 0);
    }
  }

  void unwritableAppDirectoryGivesTheErrorPrompt() {
    QTemporaryDir base;
    Fixture f({}, testing::unwritableDirectory(base));
    f.path()->setText(testing::samplePath("registry.txt"));
    f.control("cmdProcesar")->click();
    QCOMPARE(f.answerer->seen.size(), 1);
    const auto& prompt = f.answerer->seen.constFirst();
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
    Fixture f({}, appDir);
    QString folder = QStringLiteral("Presentación de marzo");
    while (folder.size() < 1200) folder += QStringLiteral("/otra carpeta más con acentos y eñes");
    f.path()->setText(f.file(folder + QStringLiteral("/Pagos año.txt"),
                             testing::readBytes(testing::samplePath("registry.txt"))));
    QVERIFY(f.info().startsWith(QStringLiteral("Cámara de Administradores de Consorcios  (1234)\n")));
    f.control("cmdProcesar")->click();
    QCOMPARE(f.opened, QStringList{appDir + QStringLiteral("/Padron.html")});
    QVERIFY(QFileInfo::exists(appDir + QStringLiteral("/TarquelasAux.txt")));
  }

  void aBusyAppDirectoryIsWaitedForAndItsFilesLeftAlone() {
    Fixture f;
    QLockFile other(f.window->workPaths().lock);  // another program's run
    QVERIFY(other.tryLock(0));
    f.path()->setText(f.file(QStringLiteral("mal.txt"), testing::faultyVouchers()));
    f.control("cmdProcesar")->click();
    QCOMPARE(f.answerer->seen.size(), 1);
    QCOMPARE(f.answerer->seen.constFirst().title, QStringLiteral("Tarquelas"));
    QCOMPARE(f.answerer->seen.constFirst().text,
             QStringLiteral("Esperando que termine otro proceso que usa la carpeta de trabajo…"));
    QCOMPARE(f.appFiles(), QStringList());  // nothing of the run
    writeBytes(f.inApp("TarquelasAux.txt"), "de la otra corrida");
    f.control("cmdSalir")->click();  // the other run's file stays
    QCOMPARE(f.appFiles(), QStringList{"TarquelasAux.txt"});
  }

  void progressDialogNamesTheStageAndTakesACancel() {
    QWidget window;
    DialogProgress progress(&window);
    QVERIFY(progress.report(Progress::Stage::Validating, 10, 100));
    auto* dialog = window.findChild<QProgressDialog*>();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->labelText(), QStringLiteral("Validando el archivo…"));
    dialog->cancel();
    QVERIFY(!progress.report(Progress::Stage::LayingOutVouchers, 2, 4));
    progress.finish();
    QVERIFY(window.findChild<QProgressDialog*>() == nullptr);
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::WindowTest)
#include "window_test.moc"
