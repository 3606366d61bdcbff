// Qt's own dialogs in the office's Spanish, whatever the system's locale: the texts the program's
// translation words over Qt's, Qt's own Spanish still under them, and the file dialog's dates.
#include "app/translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace tarquelas {
namespace {

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { installSpanishQtTexts(*qApp); }

  void qtTextsAreTheOfficesWords() {
    const auto tr = [](const char* context, const char* text, const char* disambiguation = nullptr) {
      return QCoreApplication::translate(context, text, disambiguation);
    };
    QCOMPARE(tr("QPrintSettingsOutput", "Pages"), QStringLiteral("Páginas"));
    QCOMPARE(tr("QPrintSettingsOutput", "Current Page"), QStringLiteral("Página actual"));
    QCOMPARE(tr("QPrintWidget", "Output &file:"), QStringLiteral("&Archivo de salida:"));
    QCOMPARE(tr("QFileDialog", "File &name:"), QStringLiteral("&Nombre de archivo:"));
    QCOMPARE(tr("QAbstractFileIconProvider", "Folder", "All other platforms"), QStringLiteral("Carpeta"));
    // Qt's Spanish (qt6-translations-l10n) for what the program leaves alone.
    QCOMPARE(tr("QPrintDialog", "&Print"), QStringLiteral("Im&primir"));
  }

  void printDialogShowsNoEnglishChoices() {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage);
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) texts << button->text();
    QVERIFY2(texts.contains(QStringLiteral("Páginas")) && texts.contains(QStringLiteral("No")),
             qPrintable(texts.join(u'|')));
    for (const char* english : {"Pages", "Off", "Long side binding"})
      QVERIFY2(!texts.contains(QLatin1String(english)), english);
  }

  // A folder and a file of 7 December 2026, as the detail view lists them.
  void fileDialogWritesDatesDayMonthYear() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Subcarpeta")));
    QFile file(dir.filePath(QStringLiteral("pagos.txt")));
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 5));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    QFileDialog dialog(nullptr, QString(), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    QVERIFY(view != nullptr);
    const auto row = [view](const QString& name) {
      const QAbstractItemModel* model = view->model();
      const QModelIndex root = view->rootIndex();
      for (int r = 0; r < model->rowCount(root); ++r)
        if (model->index(r, 0, root).data().toString() == name)
          return QStringList{model->index(r, 2, root).data().toString(),
                             model->index(r, 3, root).data().toString()};
      return QStringList();
    };
    QTRY_VERIFY_WITH_TIMEOUT(row(QStringLiteral("pagos.txt")).size() == 2, 20000);
    QCOMPARE(row(QStringLiteral("pagos.txt")).at(1), QStringLiteral("7/12/2026 09:05"));
    QTRY_COMPARE_WITH_TIMEOUT(row(QStringLiteral("Subcarpeta")).value(0), QStringLiteral("Carpeta"), 20000);
  }
};

}  // namespace
}  // namespace tarquelas

QTEST_MAIN(tarquelas::TranslationTest)
#include "translation_test.moc"
