// The common dialog wrapper over a stand-in platform: the request it hands
// over, the answers it takes back, the extension rule and the cancel error;
// then Qt's own open dialog, answered as a person would.
#include "widgets/ovra_common_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "stand_in_dialogs.h"

namespace tarquelas {
namespace {

using testing::StandInDialogs;

const QString kMainFilter =
    QStringLiteral("Archivos de texto ASCII(*.txt)|*.txt|Todos los archivos (*.*)|*.*");

QStringList mainNameFilters() {
  return qtNameFilters(QString(kMainFilter).replace(QLatin1Char('|'), QChar(0)) + QChar(0));
}

class OvraCommonDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void fileBufferIsPaddedToMaxFileSizeAnd255WhenBelowOne() {
    const QString blank = QString(254, QLatin1Char(' ')) + QChar(0);
    struct Case {
      int maxFileSize;  // 0: never set
      QString name, buffer;
    } cases[] = {
        {0, {}, blank}, {-4, {}, blank}, {8, QStringLiteral("ab"), QStringLiteral("ab     ") + QChar(0)}};
    for (const Case& c : cases) {
      StandInDialogs platform;
      OvraCommonDialog d(platform);
      if (c.maxFileSize != 0) d.setMaxFileSize(c.maxFileSize);
      d.setFileName(c.name);
      d.setFileTitle(QStringLiteral("abcdefghij"));
      c.maxFileSize < 0 ? d.ShowSave() : d.ShowOpen();
      QCOMPARE(platform.handedSave, c.maxFileSize < 0);
      QCOMPARE(platform.handed.maxFile, c.maxFileSize < 1 ? 255 : c.maxFileSize);
      QCOMPARE(platform.handed.file, c.buffer);
      QVERIFY(platform.handed.fileTitle.size() >= 255);  // never smaller than declared
    }
  }

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

  void chosenFileComesBackWithTheExtensionAndSeedsTheNextShow() {
    StandInDialogs platform;
    platform.result = 1;
    platform.chosen = QStringLiteral("/datos/pagos");
    OvraCommonDialog d(platform);
    d.setFilter(kMainFilter);
    d.setFilterIndex(2);
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.FileName() + u' ' + d.FileTitle(), QStringLiteral("/datos/pagos.txt pagos.txt"));
    QCOMPARE(d.FilterIndex(), 2);  // not updated
    platform.result = 0;
    d.ShowOpen();
    QVERIFY(platform.handed.file.startsWith(QStringLiteral("/datos/pagos.txt ")));
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));
  }

  void cancelRaisesOnlyWithCancelError() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setFileName(QStringLiteral("/datos/x.txt"));
    const auto raised = [&d](void (OvraCommonDialog::*show)()) {
      try {
        (d.*show)();
      } catch (const CommonDialogError& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
      }
      return QString();
    };
    using D = OvraCommonDialog;
    QCOMPARE(raised(&D::ShowOpen) + raised(&D::ShowColor), QString());
    d.setCancelError(true);
    for (auto show : {&D::ShowOpen, &D::ShowSave, &D::ShowFont, &D::ShowPrinter})
      QCOMPARE(raised(show), QStringLiteral("2001 "));
    QCOMPARE(raised(&D::ShowColor), QStringLiteral("-2147220610 Cancel Pressed"));
    QCOMPARE(d.FileName(), QStringLiteral("/datos/x.txt"));
    platform.result = 7;  // any other result: the extended error, and no exception
    platform.extended = 0x3003;
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 7);
    QCOMPARE(d.ExtendedError(), 0x3003);
    platform.result = 1;
    d.ShowOpen();  // starts again from 0
    QCOMPARE(d.ExtendedError(), 0);
  }

  // The patterns go in the last brackets, where the file dialog looks, and
  // match either case on a file system that tells capitals apart.
  void qtNameFiltersAreCaseBlind() {
    QCOMPARE(qtNameFilters(QStringLiteral("Texto(*.txt)\u0000*.txt; [Ab]*\u0000Todos (*.*)\u0000*.*\u0000")),
             (QStringList{"Texto(*.txt) (*.[tT][xX][tT] [Ab]*)", "Todos (*.*) (*)"}));
  }

  // Qt's open dialog answered as a person would: the extension rule follows
  // the filter the user ended with.
  void qtOpenDialogGivesBackTheChosenFilter_data() {
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text files, a point") << 1 << QStringLiteral("pagos.txt") << QStringLiteral("pagos.txt");
    QTest::newRow("text files, no point") << 1 << QStringLiteral("pagos") << QStringLiteral("pagos.txt");
    QTest::newRow("all files, no point") << 2 << QStringLiteral("datos") << QStringLiteral("datos.*");
  }
  void qtOpenDialogGivesBackTheChosenFilter() {
    QFETCH(int, filterIndex);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QFile file(dir.filePath(fileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // Answers every tick until the dialog closes; gives up after a while.
    QTimer answer;
    int ticks = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (++ticks > 300) return (void)QMetaObject::invokeMethod(dialog, "reject");
      dialog->setDirectory(dir.path());
      dialog->selectNameFilter(mainNameFilters().at(filterIndex - 1));
      // Typed as a person would: a selection in the list follows the model's
      // loading, which may come after the accept.
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(fileName);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    answer.start(10);
    OvraCommonDialog d(qtCommonDialogs());
    d.setFilter(kMainFilter);
    d.setFlags(4100);
    d.setInitDir(dir.path());
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.FileName(), dir.filePath(expected));
    QCOMPARE(d.FileTitle(), expected);
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::OvraCommonDialogTest)
#include "ovra_common_dialog_test.moc"
