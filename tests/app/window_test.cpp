// The main window driven as a person would: recognition on every change, browsing, dropping, the
// keys, start-up from the command line and the run's messages.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "../widgets/stand_in_dialogs.h"
#include "app/main_window.h"
#include "app/window_run_ui.h"
#include "app_test_files.h"
#include "support/folder_lock.h"
#include "widgets/preview_pages.h"
#include "widgets/voucher_preview.h"

namespace tarquelas {
namespace {

using testing::writeBytes;

// Answers the modal dialogs a window opens, so tests never wait for a person: notes each message
// box ("title icon buttons: text"), print preview ("preview", or "empty preview") and wait for the
// App directory (its text), after "hidden " while the main window is not on screen, then closes it:
// "No" or "Aceptar", the preview, "Cancelar".
class ModalAnswerer : public QObject {
 public:
  QStringList seen;

  explicit ModalAnswerer(const QWidget* window) : window_(window) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(10);
  }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == current_) return;
    current_ = modal;
    QString text;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QStringList buttons;
      for (const QAbstractButton* button : box->buttons()) buttons.append(button->text());
      text = QStringLiteral("%1 %2 %3: %4")
                 .arg(box->windowTitle(), QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()),
                      buttons.join(u'/'), box->text());
    } else if (auto* preview = qobject_cast<VoucherPreview*>(modal)) {
      text = preview->pages().pageCount() > 0 ? QStringLiteral("preview") : QStringLiteral("empty preview");
    } else if (modal->objectName() == QStringLiteral("esperaCarpeta")) {
      text = static_cast<QProgressDialog*>(modal)->labelText();
    } else {
      return;  // a run's progress dialog
    }
    seen.append(window_->isVisible() ? text : QStringLiteral("hidden ") + text);
    modal->close();
  }

  const QWidget* window_;
  QPointer<QWidget> current_;
  QTimer timer_;
};

const QString kVoucherSummary =
    QStringLiteral("ABCD  (123)\nPeriodo:  03/2026.\n\nPresentación:  0747144854.\n");
const QString kRegistrySummary =
    QStringLiteral("ABCD  (123)\nFecha: 12/03/2026, hora: 09:30.\n\nPresentación:  0144272509.\n");

// One window over its own App directory, loaded with commandLine.
struct Fixture {
  QTemporaryDir app, input;
  testing::StandInDialogs dialogs;
  QStringList opened;
  std::unique_ptr<frmGeneracionDeTarquelas> window;
  std::unique_ptr<ModalAnswerer> answerer;

  explicit Fixture(const QString& commandLine = {}) {
    const auto open = [this](const QString& path) {
      opened.append(path);
      return true;
    };
    window = std::make_unique<frmGeneracionDeTarquelas>(
        frmGeneracionDeTarquelas::Options{app.path(), open, &dialogs});
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

  QTemporaryDir settings_;

 private slots:
  // What the preview remembers goes to a folder of the test's own.
  void initTestCase() {
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, settings_.path());
  }

  // Where the font at hand is wider than the design's, captions are condensed rather than cut off;
  // the summary of a name that fills its whole field fits too.
  void captionsAreNeverCutOff() {
    Fixture f;
    const auto fits = [](const QWidget* control, const QString& text, int margin) {
      return QFontMetrics(control->font()).horizontalAdvance(text) <= control->width() - margin;
    };
    auto* lbl = f.control<QLabel>("lbl");
    QVERIFY(fits(lbl, lbl->text(), 0));
    QVERIFY(fits(f.control<QLabel>("lblINFO"),
                 QStringLiteral("Administración Integral de Consorcios del Río de la Plata  (9999999)"), 0));
    const QStyle* style = f.workers()->style();
    QVERIFY(fits(f.workers(), f.workers()->text(),
                 style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, f.workers()) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, f.workers())));
    for (const char* name : {"cmdProcesar", "cmdSalir"})
      QVERIFY2(fits(f.control(name), f.control(name)->text().remove(u'&'), 4), name);
  }

  void checkBoxShowsForARegistryFileAndBlankOrMissingPathsKeepTheKind() {
    Fixture f;
    QVERIFY(f.workers()->isHidden());
    const QString registry = f.file(QStringLiteral("d.txt"), testing::registryHeader());
    f.path()->setText(registry);
    QCOMPARE(f.window->sLineaCabecera(), testing::registryHeader());
    f.workers()->setChecked(true);
    f.path()->setText(f.file(QStringLiteral("b.txt"), testing::voucherHeader()));
    QVERIFY(f.workers()->isHidden());
    f.path()->setText(registry);
    f.path()->setText(f.input.filePath(QStringLiteral("d.tx")));  // still typing: nothing changes
    QCOMPARE(f.info(), kRegistrySummary);
    f.path()->setText(f.input.path());  // no summary of empty fields, but why it cannot be read
    QVERIFY2(f.info().endsWith(QStringLiteral("es una carpeta")), qPrintable(f.info()));
    f.path()->setText(QStringLiteral("   "));  // only the summary empties
    QCOMPARE(f.info(), QString());
    QCOMPARE(f.window->sTipoArchivo(), QByteArray("D"));
    QVERIFY(!f.workers()->isHidden() && f.workers()->isChecked());
  }

  // A name without a point chosen under "Todos los archivos" stays as chosen; a cancel empties the
  // box.
  void browseRecognisesTheChoiceAndACancelEmptiesTheBox() {
    Fixture f;
    f.dialogs.result = 1;
    f.dialogs.filterIndex = 2;
    f.dialogs.chosen = f.file(QStringLiteral("sin punto/padron"), testing::registryHeader());
    f.control("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text(), f.dialogs.chosen);
    QCOMPARE(f.info(), kRegistrySummary);
    f.dialogs.result = 0;
    f.control("cmdVerArchivos")->click();
    QCOMPARE(f.path()->text() + f.info(), QString());
  }

  void dropKeepsTheFirstLocalFileAndRefusesText() {
    Fixture f;
    const QString first = f.file(QStringLiteral("uno.txt"), testing::registryHeader());
    const QString other = f.file(QStringLiteral("dos.txt"), testing::voucherHeader());
    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.org/x.txt")), QUrl::fromLocalFile(first),
                   QUrl::fromLocalFile(other)});
    QVERIFY(f.drop(files));
    QCOMPARE(f.path()->text(), first);
    QCOMPARE(f.info(), kRegistrySummary);
    QMimeData text;
    text.setText(other);
    QVERIFY(!f.drop(text));
    QCOMPARE(f.path()->text(), first);
  }

  // A typed path keeps its case and is recognised. Escape, wherever the focus is, acts as "&Salir":
  // it ends the window and deletes the auxiliary file only.
  void typedPathIsRecognisedAndEscapeDeletesOnlyTheAuxiliaryFile() {
    Fixture f;
    for (const char* name : {"TarquelasAux.txt", "TarquelasErrores.txt", "Padron.html"})
      writeBytes(f.inApp(name), "x");
    const QString path = f.file(QStringLiteral("Pagos/Marzo.TXT"), testing::voucherHeader());
    f.showActive();
    f.path()->setFocus();
    QTest::keyClicks(f.path(), path);
    QCOMPARE(f.path()->text(), path);
    QCOMPARE(f.info(), kVoucherSummary);
    f.control("cmdVerArchivos")->setFocus();
    QTest::keyClick(f.control("cmdVerArchivos"), Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.appFiles(), (QStringList{"Padron.html", "TarquelasErrores.txt"}));
  }

  // A rejected file's message, after Enter in the path box, and the error prompt when a working
  // file cannot be deleted.
  void enterStartsARunWhoseMessagesAreShown() {
    Fixture f;
    f.showActive();
    f.path()->setText(f.file(QStringLiteral("mal.txt"), testing::faultyVouchers()));
    f.path()->setFocus();
    QTest::keyClick(f.path(), Qt::Key_Return);
    QFile::remove(f.inApp("TarquelasAux.txt"));
    QDir().mkpath(f.inApp("TarquelasAux.txt") + QStringLiteral("/dentro"));
    f.control("cmdProcesar")->click();
    QCOMPARE(f.answerer->seen.size(), 2);
    QCOMPARE(f.answerer->seen.constFirst(),
             QStringLiteral(
                 "Tarquelas NoIcon Aceptar: No se pueden generar las tarquelas. \nArchivo con errores: \n") +
                 f.inApp("TarquelasErrores.txt"));
    QCOMPARE(f.opened, QStringList{f.inApp("TarquelasErrores.txt")});  // the prompt opens nothing
    const QString prompt = f.answerer->seen.constLast();
    QVERIFY(prompt.startsWith(
        QStringLiteral("Tarquelas Critical &Sí/&No: Se ha detectado el siguiente error:\n")));
    QVERIFY(prompt.endsWith(QStringLiteral("\n\n¿Desea continuar?")));
  }

  // A file named on the command line (in quotes or not) is processed before the window shows; one
  // that does not exist starts nothing.
  void commandLineFileIsProcessedBeforeTheWindowShows() {
    QTemporaryDir input;
    const QString faulty = input.filePath(QStringLiteral("presentación año.txt"));
    writeBytes(faulty, testing::faultyRegistry());
    const std::pair<QString, QString> cases[] = {
        {u'"' + faulty + u'"',
         QStringLiteral("hidden Tarquelas NoIcon Aceptar: No se pueden generar los comprobantes. ")},
        {testing::samplePath("vouchers.txt"), QStringLiteral("hidden preview")},
        {input.filePath(QStringLiteral("no existe.txt")), QString()},
        {input.filePath(QStringLiteral("pagos\uFFFD.txt")),
         QStringLiteral("hidden Tarquelas NoIcon Aceptar: No se puede usar el archivo ")},
    };
    for (const auto& [commandLine, seen] : cases) {
      Fixture f(commandLine);
      QCOMPARE(f.path()->text(), QString(commandLine).remove(u'"'));
      QCOMPARE(f.answerer->seen.size(), seen.isEmpty() ? 0 : 1);
      QVERIFY2(seen.isEmpty() ? f.info().isEmpty() && f.appFiles().isEmpty()
                              : f.answerer->seen[0].startsWith(seen),
               qPrintable(f.answerer->seen.join(u'|')));
    }
  }

  // While another program's run holds the App directory, the window waits and "&Salir" leaves that
  // run's auxiliary file.
  void aBusyAppDirectoryIsWaitedForAndItsFilesLeftAlone() {
    Fixture f;
    FolderLock other(f.window->workPaths().lock);
    QVERIFY(other.tryLock() == FolderLock::Result::Taken);
    f.path()->setText(f.file(QStringLiteral("mal.txt"), testing::faultyVouchers()));
    f.control("cmdProcesar")->click();
    QCOMPARE(f.answerer->seen,
             QStringList{"hidden Esperando que termine otro proceso que usa la carpeta de trabajo…"});
    QCOMPARE(f.appFiles(), QStringList());  // nothing of the run
    writeBytes(f.inApp("TarquelasAux.txt"), "de la otra corrida");
    f.control("cmdSalir")->click();
    QCOMPARE(f.appFiles(), QStringList{"TarquelasAux.txt"});
  }

  void progressDialogNamesTheStageAndTakesACancel() {
    QWidget window;
    DialogProgress progress(&window);
    QVERIFY(progress.report(Progress::Stage::Validating, 10, 100));
    auto* dialog = window.findChild<QProgressDialog*>();
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
