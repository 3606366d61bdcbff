// The main window's helpers. The common dialog wrapper over a stand-in
// platform: the request it hands over, the answers it takes back, the
// extension rule and the cancel error; then Qt's own open dialog, answered
// as a person would. Keyboard handling: upper-casing on and off, Enter
// moving on like Tab (Enter in a dialog with a default button is the main
// window's test).
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "stand_in_dialogs.h"
#include "widgets/ovra_common_dialog.h"
#include "widgets/teclas.h"

namespace tarquelas {
namespace {

using testing::StandInDialogs;

const QString kMainFilter =
    QStringLiteral("Archivos de texto ASCII(*.txt)|*.txt|Todos los archivos (*.*)|*.*");

class DialogsAndKeysTest : public QObject {
  Q_OBJECT
 private slots:
  void extensionRuleFollowsTheFilterIndex() {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"/d/pagos", "/d/pagos.txt", 1},  // the first filter adds ".txt"
        {"/d/pagos", "/d/pagos.*", 2},    // the second ".*"
        {"/d/p.dat", "/d/p.dat", 1},      // a point keeps the name
        {"/d.2026/p", "/d.2026/p", 1},    // a point in a folder counts
        {"pagos", "pagos", 3},            // an index beyond the filter
        {"pagos", "pagos", 0},
    };
    for (const auto& [name, expected, index] : cases)
      QCOMPARE(OvraCommonDialog::conExtension(QString::fromUtf8(name), kMainFilter, index),
               QString::fromUtf8(expected));
  }

  // The request's buffers: the name in blanks up to the size less one, then
  // NUL, a size below one taken as 255, the title's never less. The chosen
  // file comes back with the extension and seeds the next show; a cancel
  // raises only with CancelError, any other result gives the extended error.
  void requestsAnswersAndTheCancelError() {
    StandInDialogs platform;
    platform.result = 1;
    platform.chosen = QStringLiteral("/datos/pagos");
    OvraCommonDialog d(platform);
    d.setFilter(kMainFilter);
    d.setFilterIndex(2);
    d.ShowOpen();
    QCOMPARE(platform.handed.file, QString(254, QLatin1Char(' ')) + QChar(0));
    QCOMPARE(d.FileName() + u' ' + d.FileTitle(), QStringLiteral("/datos/pagos.txt pagos.txt"));
    const auto raised = [&d](void (OvraCommonDialog::*show)()) {
      try {
        (d.*show)();
      } catch (const CommonDialogError& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
      }
      return QString();
    };
    using D = OvraCommonDialog;
    platform.result = 0;
    d.setMaxFileSize(8);
    QCOMPARE(raised(&D::ShowOpen) + raised(&D::ShowColor), QString());
    QCOMPARE(platform.handed.file, QStringLiteral("/datos/") + QChar(0));
    QCOMPARE(platform.handed.fileTitle.size(), 255);
    d.setCancelError(true);
    for (auto show : {&D::ShowOpen, &D::ShowSave, &D::ShowFont, &D::ShowPrinter})
      QCOMPARE(raised(show), QStringLiteral("2001 "));
    QCOMPARE(raised(&D::ShowColor), QStringLiteral("-2147220610 Cancel Pressed"));
    d.setMaxFileSize(-4);
    platform.result = 7;
    platform.extended = 0x3003;
    d.ShowSave();
    QVERIFY(platform.handedSave);
    QCOMPARE(platform.handed.maxFile, 255);
    QCOMPARE(d.APIReturn(), 7);
    QCOMPARE(d.ExtendedError(), 0x3003);
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));  // kept through cancels
    platform.result = 1;
    d.ShowOpen();  // starts again from 0
    QCOMPARE(d.ExtendedError(), 0);
    QVERIFY(!platform.handedSave);
  }

  // The patterns go in the last brackets, where the file dialog looks, and
  // match either case on a file system that tells capitals apart.
  void qtNameFiltersAreCaseBlind() {
    QCOMPARE(qtNameFilters(QStringLiteral("Texto(*.txt)\u0000*.txt; [Ab]*\u0000Todos (*.*)\u0000*.*\u0000")),
             (QStringList{"Texto(*.txt) (*.[tT][xX][tT] [Ab]*)", "Todos (*.*) (*)"}));
  }

  // Qt's open dialog answered as a person would: the extension rule follows
  // the filter the user ended with.
  void qtOpenDialogGivesBackTheChosenFilter() {
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath(QStringLiteral("datos"))).open(QIODevice::WriteOnly));
    // Answers every tick until the dialog closes; gives up after a while.
    QTimer answer;
    int ticks = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (++ticks > 300) return (void)QMetaObject::invokeMethod(dialog, "reject");
      dialog->setDirectory(dir.path());
      dialog->selectNameFilter(dialog->nameFilters().at(1));
      // Typed as a person would: a selection in the list follows the model's
      // loading, which may come after the accept.
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("datos"));
      QMetaObject::invokeMethod(dialog, "accept");
    });
    answer.start(10);
    OvraCommonDialog d(qtCommonDialogs());
    d.setFilter(kMainFilter);
    d.setFlags(4100);
    d.setInitDir(dir.path());
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.FileName() + u' ' + d.FileTitle(), dir.filePath(QStringLiteral("datos.* datos.*")));
  }

  // Typed into two text boxes, letters follow the switch ('{' becomes '['
  // as well); Enter is swallowed and moves the focus on.
  void typedKeysFollowTheSwitch() {
    for (bool upper : {true, false}) {
      QWidget window;
      auto* first = new QLineEdit(&window);
      auto* second = new QLineEdit(&window);
      new PrevisualizacionTeclas(&window, upper);
      window.show();
      first->setFocus();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      for (QChar ch : QStringLiteral("/ana/Pagosz{|`ñá0"))
        QTest::sendKeyEvent(QTest::Click, first, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
      QCOMPARE(first->text(),
               upper ? QStringLiteral("/ANA/PAGOSZ[|`Ñá0") : QStringLiteral("/ana/Pagosz{|`ñá0"));
      QTest::keyClick(first, Qt::Key_Return);
      QTRY_VERIFY(second->hasFocus());
      QCOMPARE(procesarTeclaPresionada(13, upper, &window), 0);
    }
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::DialogsAndKeysTest)
#include "dialogs_and_keys_test.moc"
