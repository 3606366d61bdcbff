// The common dialog wrapper over a stand-in platform: the request it hands
// over, the answers it takes back, the extension rule and the cancel error.
#include "support/widgets/ovra_common_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests_list.h"

namespace tarquelas {
namespace {

const QString kMainFilter =
    QStringLiteral("Archivos de texto ASCII(*.txt)|*.txt|Todos los archivos (*.*)|*.*");

// Records what each dialog was handed and answers as told.
class StandInDialogs final : public CommonDialogPlatform {
 public:
  qint32 result = 0;
  QString chosenFile;  // written into the buffers on result 1
  int chosenFilterIndex = 1;
  qint32 extended = 0;
  OpenFileRecord lastOpen;
  bool lastWasSave = false;
  ColorRecord lastColor;
  FontRecord lastFont;
  FontRecord fontAnswer;
  PrintRecord lastPrint;
  PrintRecord printAnswer;
  quint32 colorAnswer = 0;
  QString lastHelpFile;

  qint32 getOpenFileName(OpenFileRecord& r) override { return file(r, false); }
  qint32 getSaveFileName(OpenFileRecord& r) override { return file(r, true); }
  qint32 chooseColor(ColorRecord& r) override {
    lastColor = r;
    if (result == 1) r.rgb = colorAnswer;
    return result;
  }
  qint32 chooseFont(FontRecord& r) override {
    lastFont = r;
    if (result == 1) r = fontAnswer;
    return result;
  }
  qint32 printDlg(PrintRecord& r) override {
    lastPrint = r;
    if (result == 1) r = printAnswer;
    return result;
  }
  qint32 winHelp(quintptr, const QString& helpFile, qint32, qint32) override {
    lastHelpFile = helpFile;
    return result;
  }
  qint32 extendedError() override { return extended; }

 private:
  qint32 file(OpenFileRecord& r, bool save) {
    lastOpen = r;
    lastWasSave = save;
    if (result == 1) {
      const QString title = chosenFile.mid(chosenFile.lastIndexOf(QLatin1Char('/')) + 1);
      r.file.replace(0, chosenFile.size() + 1, chosenFile + QChar(0));
      r.fileTitle.replace(0, title.size() + 1, title + QChar(0));
      r.filterIndex = chosenFilterIndex;
    }
    return result;
  }
};

class OvraCommonDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void startsEmpty() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    QCOMPARE(d.Action(), 0);
    QCOMPARE(d.CancelError(), false);
    QCOMPARE(d.FileName(), QString());
    QCOMPARE(d.Filter(), QString());
    QCOMPARE(d.MaxFileSize(), 0);
    QCOMPARE(d.flags(), 0);
    QCOMPARE(d.Object(), nullptr);
  }

  void unsetMaxFileSizeGivesA255Buffer() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.ShowOpen();
    QCOMPARE(d.MaxFileSize(), 255);
    QCOMPARE(platform.lastOpen.maxFile, 255);
    QCOMPARE(platform.lastOpen.file, QString(254, QLatin1Char(' ')) + QChar(0));
  }

  void maxFileSizeBelowOneBecomes255() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setMaxFileSize(-4);
    d.ShowSave();
    QCOMPARE(d.MaxFileSize(), 255);
    QVERIFY(platform.lastWasSave);
  }

  void fileNameIsPaddedWithBlanksAndCut() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setMaxFileSize(8);
    d.setFileName(QStringLiteral("ab"));
    d.setFileTitle(QStringLiteral("abcdefghij"));
    d.ShowOpen();
    QCOMPARE(platform.lastOpen.file, QStringLiteral("ab     ") + QChar(0));
    QCOMPARE(platform.lastOpen.maxFileTitle, 255);
    QVERIFY(platform.lastOpen.fileTitle.size() >= 255);  // never smaller than declared
    QVERIFY(platform.lastOpen.fileTitle.startsWith(QStringLiteral("abcdefg") + QChar(0)));
  }

  void requestCarriesTheProperties() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setFilter(kMainFilter);
    d.setFlags(4100);
    d.setFilterIndex(2);
    d.setInitDir(QStringLiteral("/tmp"));
    d.setDialogTitle(QStringLiteral("Abrir"));
    d.setDefaultExt(QStringLiteral("txt"));
    d.ShowOpen();
    const OpenFileRecord& r = platform.lastOpen;
    QCOMPARE(r.filter, QString(kMainFilter).replace(QLatin1Char('|'), QChar(0)) + QChar(0));
    QCOMPARE(r.flags, 4100);
    QCOMPARE(r.filterIndex, 2);
    QCOMPARE(r.initialDir, QStringLiteral("/tmp"));
    QCOMPARE(r.title, QStringLiteral("Abrir"));
    QCOMPARE(r.defaultExt, QStringLiteral("txt"));
  }

  void extensionRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first filter adds .txt")
        << QStringLiteral("/datos/pagos") << 1 << QStringLiteral("/datos/pagos.txt");
    QTest::newRow("second filter adds .*")
        << QStringLiteral("/datos/pagos") << 2 << QStringLiteral("/datos/pagos.*");
    QTest::newRow("a point keeps the name")
        << QStringLiteral("/datos/pagos.dat") << 1 << QStringLiteral("/datos/pagos.dat");
    QTest::newRow("a point in a folder counts")
        << QStringLiteral("/datos.2026/pagos") << 1 << QStringLiteral("/datos.2026/pagos");
    QTest::newRow("index beyond the filter keeps the name")
        << QStringLiteral("pagos") << 3 << QStringLiteral("pagos");
    QTest::newRow("index 0 keeps the name") << QStringLiteral("pagos") << 0 << QStringLiteral("pagos");
  }
  void extensionRule() {
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(OvraCommonDialog::conExtension(name, kMainFilter, index), expected);
  }

  void chosenFileComesBackWithTheFilterExtension() {
    StandInDialogs platform;
    platform.result = 1;
    platform.chosenFile = QStringLiteral("/datos/pagos");
    platform.chosenFilterIndex = 1;
    OvraCommonDialog d(platform);
    d.setFilter(kMainFilter);
    d.setFilterIndex(2);
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));
    QCOMPARE(d.FileTitle(), QStringLiteral("pagos.txt"));
    QCOMPARE(d.FilterIndex(), 2);  // not updated
    QCOMPARE(d.Action(), 0);       // open and save leave it
  }

  void secondShowStartsFromTheFirstChoice() {
    StandInDialogs platform;
    platform.result = 1;
    platform.chosenFile = QStringLiteral("/datos/pagos.txt");
    OvraCommonDialog d(platform);
    d.ShowOpen();
    platform.result = 0;
    d.ShowOpen();
    QVERIFY(platform.lastOpen.file.startsWith(QStringLiteral("/datos/pagos.txt ")));
    QCOMPARE(d.FileName(), QStringLiteral("/datos/pagos.txt"));
  }

  void cancelWithoutCancelErrorLeavesFileNameAsItWas() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.ShowOpen();
    QCOMPARE(d.FileName(), QString());
    d.setFileName(QStringLiteral("/datos/x.txt"));
    d.ShowOpen();
    QCOMPARE(d.FileName(), QStringLiteral("/datos/x.txt"));
    QCOMPARE(d.APIReturn(), 0);
  }

  void cancelWithCancelErrorRaises_data() {
    QTest::addColumn<int>("show");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("open") << 0 << 2001 << QString();
    QTest::newRow("save") << 1 << 2001 << QString();
    QTest::newRow("colour") << 2 << int(0x8004037E) << QStringLiteral("Cancel Pressed");
    QTest::newRow("font") << 3 << 2001 << QString();
    QTest::newRow("printer") << 4 << 2001 << QString();
  }
  void cancelWithCancelErrorRaises() {
    QFETCH(int, show);
    QFETCH(int, number);
    QFETCH(QString, description);
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.setCancelError(true);
    const std::function<void()> shows[] = {[&] { d.ShowOpen(); }, [&] { d.ShowSave(); },
                                           [&] { d.ShowColor(); }, [&] { d.ShowFont(); },
                                           [&] { d.ShowPrinter(); }};
    try {
      shows[show]();
      QFAIL("no error raised");
    } catch (const CommonDialogError& e) {
      QCOMPARE(e.number(), number);
      QCOMPARE(e.description(), description);
    }
    QCOMPARE(number, show == 2 ? -2147220610 : 2001);
  }

  void cancelWithoutCancelErrorIsSilentForEveryDialog() {
    StandInDialogs platform;
    OvraCommonDialog d(platform);
    d.ShowColor();
    d.ShowFont();
    d.ShowPrinter();
    d.ShowHelp();
    QCOMPARE(d.Action(), 6);
  }

  void otherResultsSetTheExtendedError() {
    StandInDialogs platform;
    platform.result = 7;
    platform.extended = 0x3003;
    OvraCommonDialog d(platform);
    d.setCancelError(true);
    d.ShowOpen();
    QCOMPARE(d.APIReturn(), 7);
    QCOMPARE(d.ExtendedError(), 0x3003);
    d.ShowOpen();  // starts again from 0
    platform.extended = 0;
    platform.result = 1;
    platform.chosenFile = QStringLiteral("/a.txt");
    d.ShowOpen();
    QCOMPARE(d.ExtendedError(), 0);
  }

  void colourDialogGetsWhiteCustomColoursAndGivesTheChoice() {
    StandInDialogs platform;
    platform.result = 1;
    platform.colorAnswer = 0x0000FF;
    OvraCommonDialog d(platform);
    d.setColor(0x00FF00);
    d.ShowColor();
    QCOMPARE(d.Action(), 3);
    QCOMPARE(platform.lastColor.rgb, 0x00FF00u);
    QCOMPARE(platform.lastColor.customColors, QList<quint32>(16, 0xFFFFFFu));
    QCOMPARE(d.Color(), 0x0000FF);
  }

  void fontDialogTakesAndGivesAttributes() {
    StandInDialogs platform;
    platform.result = 1;
    platform.fontAnswer.weight = 800;
    platform.fontAnswer.italic = true;
    platform.fontAnswer.underline = true;
    platform.fontAnswer.pointSizeTenths = 125;
    platform.fontAnswer.faceName = QStringLiteral("Tahoma");
    OvraCommonDialog d(platform);
    d.setFontBold(true);
    d.setFontStrikethru(true);
    d.setFontSize(9);
    d.ShowFont();
    QCOMPARE(d.Action(), 4);
    QCOMPARE(platform.lastFont.weight, 700);
    QCOMPARE(platform.lastFont.strikeOut, true);
    QCOMPARE(platform.lastFont.pointSizeTenths, 90);
    QCOMPARE(d.FontBold(), true);
    QCOMPARE(d.FontItalic(), true);
    QCOMPARE(d.FontUnderline(), true);
    QCOMPARE(d.FontStrikethru(), false);
    QCOMPARE(d.FontName(), QStringLiteral("Tahoma"));
    QCOMPARE(d.FontSize(), 13);  // 12.5 rounds up
  }

  void printerDialogGivesPagesAndCopies() {
    StandInDialogs platform;
    platform.result = 1;
    platform.printAnswer = PrintRecord{0, 0, 2, 5, 1, 9, 3};
    OvraCommonDialog d(platform);
    d.setToPage(9);
    d.setCopies(2);
    d.ShowPrinter();
    QCOMPARE(d.Action(), 5);
    QCOMPARE(platform.lastPrint.toPage, 9);
    QCOMPARE(platform.lastPrint.copies, 2);
    QCOMPARE(d.FromPage(), 2);
    QCOMPARE(d.ToPage(), 5);
    QCOMPARE(d.Min(), 1);
    QCOMPARE(d.Max(), 9);
    QCOMPARE(d.Copies(), 3);
  }

  void helpHandsOverTheFileEndedByNul() {
    StandInDialogs platform;
    platform.result = 1;
    platform.extended = 5;
    OvraCommonDialog d(platform);
    d.setHelpFile(QStringLiteral("/usr/share/doc/ayuda.html"));
    d.ShowHelp();
    QCOMPARE(platform.lastHelpFile, QStringLiteral("/usr/share/doc/ayuda.html") + QChar(0));
    QCOMPARE(d.APIReturn(), 1);
    QCOMPARE(d.ExtendedError(), 5);
  }

  // The file dialog picks the patterns out of the last brackets of each
  // name filter and matches them case-sensitively on this file system.
  void qtFiltersMatchAsTheDesktopDoes_data() {
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("shown");
    QTest::newRow("text file") << 0 << QStringLiteral("pagos.txt") << true;
    QTest::newRow("text file in capitals") << 0 << QStringLiteral("PAGOS.TXT") << true;
    QTest::newRow("text file mixed case") << 0 << QStringLiteral("Marzo.Txt") << true;
    QTest::newRow("other extension") << 0 << QStringLiteral("pagos.doc") << false;
    QTest::newRow("no extension under text files") << 0 << QStringLiteral("PAGOS") << false;
    QTest::newRow("all files: no extension") << 1 << QStringLiteral("PAGOS") << true;
    QTest::newRow("all files: any extension") << 1 << QStringLiteral("pagos.dat") << true;
  }
  void qtFiltersMatchAsTheDesktopDoes() {
    QFETCH(int, filterIndex);
    QFETCH(QString, fileName);
    QFETCH(bool, shown);
    const QStringList filters =
        qtNameFilters(QString(kMainFilter).replace(QLatin1Char('|'), QChar(0)) + QChar(0));
    QCOMPARE(filters.size(), 2);
    const QString filter = filters.at(filterIndex);
    const QRegularExpression lastBrackets(QStringLiteral("\\(([^()]*)\\)$"));
    const QRegularExpressionMatch patterns = lastBrackets.match(filter);
    QVERIFY2(patterns.hasMatch(), qPrintable(filter));
    QVERIFY2(filter.startsWith(filterIndex == 0 ? QStringLiteral("Archivos de texto ASCII(*.txt) (")
                                                : QStringLiteral("Todos los archivos (*.*) (")),
             qPrintable(filter));
    bool matched = false;
    for (const QString& pattern : patterns.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      matched =
          matched || QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive).match(fileName).hasMatch();
    }
    QCOMPARE(matched, shown);
  }

  // The Qt open dialog, answered as a person would: a filter is picked and
  // a file chosen. The extension rule follows the filter the user ended
  // with.
  void qtOpenDialogGivesBackTheChosenFilter_data() {
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text files, name with a point")
        << 1 << QStringLiteral("pagos.txt") << QStringLiteral("pagos.txt");
    QTest::newRow("text files, name without a point")
        << 1 << QStringLiteral("pagos") << QStringLiteral("pagos.txt");
    QTest::newRow("all files, name with a point")
        << 2 << QStringLiteral("datos.dat") << QStringLiteral("datos.dat");
    QTest::newRow("all files, name without a point")
        << 2 << QStringLiteral("datos") << QStringLiteral("datos.*");
  }
  void qtOpenDialogGivesBackTheChosenFilter() {
    QFETCH(int, filterIndex);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QFile file(dir.filePath(fileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QStringList filters =
        qtNameFilters(QString(kMainFilter).replace(QLatin1Char('|'), QChar(0)) + QChar(0));
    // Answers every tick until the dialog closes; gives up after a while.
    QTimer answer;
    int ticks = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      if (++ticks > 300) return (void)QMetaObject::invokeMethod(dialog, "reject");
      dialog->setDirectory(dir.path());
      dialog->selectNameFilter(filters.at(filterIndex - 1));
      dialog->selectFile(file.fileName());
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

testing::RegisterTestClass<OvraCommonDialogTest> registered;

}  // namespace
}  // namespace tarquelas

#include "ovra_common_dialog_test.moc"
