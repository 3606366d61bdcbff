// The common dialog wrapper over a stand-in platform: the request it hands
// over, the answers it takes back, the extension rule and the cancel error;
// then Qt's own open dialog, answered as a person would.
#include "widgets/ovra_common_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace tarquelas {
namespace {

const QString kMainFilter =
    QStringLiteral("Archivos de texto ASCII(*.txt)|*.txt|Todos los archivos (*.*)|*.*");

QStringList mainNameFilters() {
  return qtNameFilters(QString(kMainFilter).replace(QLatin1Char('|'), QChar(0)) + QChar(0));
}

// Records the file request it was handed and answers every dialog with
// result.
class StandInDialogs final : public CommonDialogPlatform {
 public:
  qint32 result = 0;
  QString chosenFile;  // written into the buffers on result 1
  qint32 extended = 0;
  OpenFileRecord lastOpen;
  bool lastWasSave = false;

  qint32 getOpenFileName(OpenFileRecord& r) override { return file(r, false); }
  qint32 getSaveFileName(OpenFileRecord& r) override { return file(r, true); }
  qint32 chooseColor(ColorRecord&) override { return result; }
  qint32 chooseFont(FontRecord&) override { return result; }
  qint32 printDlg(PrintRecord&) override { return result; }
  qint32 winHelp(quintptr, const QString&, qint32, qint32) override { return result; }
  qint32 extendedError() override { return extended; }

 private:
  qint32 file(OpenFileRecord& r, bool save) {
    lastOpen = r;
    lastWasSave = save;
    if (result == 1) {
      const QString title = chosenFile.mid(chosenFile.lastIndexOf(QLatin1Char('/')) + 1);
      r.file.replace(0, chosenFile.size() + 1, chosenFile + QChar(0));
      r.fileTitle.replace(0, title.size() + 1, title + QChar(0));
      r.filterIndex = 1;
    }
    return result;
  }
};

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
      QCOMPARE(platform.lastWasSave, c.maxFileSize < 0);
      QCOMPARE(d.MaxFileSize(), c.maxFileSize < 1 ? 255 : c.maxFileSize);
      QCOMPARE(platform.lastOpen.maxFile, d.MaxFileSize());
      QCOMPARE(platform.lastOpen.file, c.buffer);
      QCOMPARE(platform.lastOpen.maxFileTitle, 255);
      QVERIFY(platform.lastOpen.fileTitle.size() >= 255);  // never smaller than declared
    }
  }

  void extensionRuleFollowsTheFilterIndex() {
    struct Case {
      const char *name, *expected;
      int index;
    } cases[] = {
        {"/d/pagos", "/d/pagos.txt", 1},  // the first filter adds ".txt"
        {"/d/pagos", "/d/pagos.*", 2},    // the second ".*"
        {"/d/p.dat", "/d/p.dat", 1},      // a point keeps the name
        {"/d.2026/p", "/d.2026/p", 1},    // a point in a folder counts
        {"pagos", "pagos", 3},            // an index beyond the filter
        {"pagos", "pagos", 0},
    };
    for (const Case& c : cases) {
      QCOMPARE(OvraCommonDialog::conExtension(QString::fromUtf8(c.name), kMainFilter, c.index),
               QString::fromUtf8(c.expected));
    }
  }

  void chosenFileComesBackWithTheExtensionAndSeedsTheNextShow() {
    StandInDialogs platform;
    platform.result = 1;
    platform.chosenFile = QStringLiteral("/datos/pagos");
    OvraCommonDialog d(platform);
    d.setFilter(kMainFilter);
    d.setFilterIndex(2);
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));
    QCOMPARE(d.FileTitle(), QStringLiteral("pagos.txt"));
    QCOMPARE(d.FilterIndex(), 2);  // not updated
    platform.result = 0;
    d.ShowOpen();
    QVERIFY(platform.lastOpen.file.startsWith(QStringLiteral("/datos/pagos.txt ")));
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));
  }

  void cancelRaisesOnlyWithCancelError() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setFileName(QStringLiteral("/datos/x.txt"));
    const std::function<void()> shows[] = {[&] { d.ShowOpen(); }, [&] { d.ShowSave(); },
                                           [&] { d.ShowColor(); }, [&] { d.ShowFont(); },
                                           [&] { d.ShowPrinter(); }};
    for (bool cancelError : {false, true}) {
      d.setCancelError(cancelError);
      for (int show = 0; show < 5; ++show) {
        const bool colour = show == 2;
        int raised = 0;
        QString description;
        try {
          shows[show]();
        } catch (const CommonDialogError& e) {
          raised = e.number();
          description = e.description();
        }
        QCOMPARE(raised, !cancelError ? 0 : colour ? int(0x8004037E) : 2001);
        QCOMPARE(description, cancelError && colour ? QStringLiteral("Cancel Pressed") : QString());
        QCOMPARE(d.FileName(), QStringLiteral("/datos/x.txt"));
        QCOMPARE(d.APIReturn(), 0);
      }
    }
  }

  void otherResultsSetTheExtendedErrorAndNoExceptionIsRaised() {
    StandInDialogs platform;
    platform.result = 7;
    platform.extended = 0x3003;
    OvraCommonDialog d(platform);
    d.setCancelError(true);
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 7);
    QCOMPARE(d.ExtendedError(), 0x3003);
    platform.result = 1;
    platform.chosenFile = QStringLiteral("/a.txt");
    d.ShowOpen();  // starts again from 0
    QCOMPARE(d.ExtendedError(), 0);
  }

  // The file dialog picks the patterns out of the last brackets of each
  // name filter and matches them case-sensitively on this file system.
  void qtFiltersMatchAsTheDesktopDoes() {
    const QStringList filters = mainNameFilters();
    QCOMPARE(filters.size(), 2);
    QVERIFY(filters.at(0).startsWith(QStringLiteral("Archivos de texto ASCII(*.txt) (")));
    QVERIFY(filters.at(1).startsWith(QStringLiteral("Todos los archivos (*.*) (")));
    struct Case {
      int filterIndex;
      const char* fileName;
      bool shown;
    } cases[] = {
        {0, "pagos.txt", true}, {0, "PAGOS.TXT", true}, {0, "Marzo.Txt", true}, {0, "pagos.doc", false},
        {0, "PAGOS", false},    {1, "PAGOS", true},     {1, "pagos.dat", true},
    };
    for (const Case& c : cases) {
      const QString filter = filters.at(c.filterIndex);
      const auto patterns = QRegularExpression(QStringLiteral("\\(([^()]*)\\)$")).match(filter);
      QVERIFY2(patterns.hasMatch(), qPrintable(filter));
      bool matched = false;
      for (const QString& pattern : patterns.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto wildcard = QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive);
        matched = matched || wildcard.match(QString::fromUtf8(c.fileName)).hasMatch();
      }
      QVERIFY2(matched == c.shown, c.fileName);
    }
  }

  // Qt's open dialog answered as a person would: the extension rule follows
  // the filter the user ended with.
  void qtOpenDialogGivesBackTheChosenFilter_data() {
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text files, a point") << 1 << QStringLiteral("pagos.txt") << QStringLiteral("pagos.txt");
    QTest::newRow("text files, no point") << 1 << QStringLiteral("pagos") << QStringLiteral("pagos.txt");
    QTest::newRow("all files, a point") << 2 << QStringLiteral("datos.dat") << QStringLiteral("datos.dat");
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
