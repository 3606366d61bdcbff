// The common dialogs on Qt: QFileDialog, QColorDialog, QFontDialog,
// QPrintDialog, and the desktop's viewer for help files.
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <cmath>

#include "widgets/ovra_common_dialog.h"

namespace tarquelas {

namespace {

// The answer did not fit the file-name buffer.
constexpr qint32 kBufferTooSmall = 0x3003;

QWidget* ownerWindow(quintptr owner) { return owner == 0 ? nullptr : QWidget::find(WId(owner)); }

QString upToNul(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(0));
  return nul < 0 ? text : text.left(nul);
}

// A pattern of the filter as the file dialog matches it on a file system
// that tells capitals apart: "*.*" is every file, as the patterns are
// meant, and letters match either case ("*.txt" shows PAGOS.TXT too).
QString caseBlindPattern(const QString& pattern) {
  if (pattern == QStringLiteral("*.*")) return QStringLiteral("*");
  QString blind;
  bool inSet = false;
  for (const QChar c : pattern) {
    if (c == QLatin1Char('[')) inSet = true;
    if (c == QLatin1Char(']')) inSet = false;
    if (inSet || c.toLower() == c.toUpper()) {
      blind.append(c);
    } else {
      blind.append(QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']'));
    }
  }
  return blind;
}

// The 1-based number of the name filter the dialog ended with, 0 when none.
// With the patterns hidden the dialog names a filter without its last
// brackets.
int filterNumber(const QStringList& filters, const QString& selected) {
  for (qsizetype i = 0; i < filters.size(); ++i) {
    const QString& f = filters.at(i);
    const QString shown = f.left(f.lastIndexOf(QStringLiteral(" ("))).trimmed();
    if (f == selected || shown == selected) return int(i) + 1;
  }
  return 0;
}

// Writes text into a fixed-length buffer; false when it does not fit.
bool fill(QString& buffer, const QString& text) {
  if (text.size() + 1 > buffer.size()) return false;
  buffer.replace(0, text.size() + 1, text + QChar(0));
  return true;
}

quint32 colorRef(const QColor& c) {
  return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

QColor fromColorRef(quint32 rgb) {
  return QColor(int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF));
}

class QtCommonDialogs final : public CommonDialogPlatform {
 public:
  qint32 getOpenFileName(OpenFileRecord& record) override { return fileDialog(record, false); }
  qint32 getSaveFileName(OpenFileRecord& record) override { return fileDialog(record, true); }

  qint32 chooseColor(ColorRecord& record) override {
    lastError_ = 0;
    for (int i = 0; i < record.customColors.size() && i < QColorDialog::customCount(); ++i) {
      QColorDialog::setCustomColor(i, fromColorRef(record.customColors.at(i)));
    }
    const QColor chosen = QColorDialog::getColor(fromColorRef(record.rgb), ownerWindow(record.owner));
    if (!chosen.isValid()) return 0;
    record.rgb = colorRef(chosen);
    return 1;
  }

  qint32 chooseFont(FontRecord& record) override {
    lastError_ = 0;
    QFont initial;
    initial.setWeight(QFont::Weight(record.weight));
    initial.setItalic(record.italic);
    initial.setUnderline(record.underline);
    initial.setStrikeOut(record.strikeOut);
    if (record.pointSizeTenths > 0) initial.setPointSizeF(record.pointSizeTenths / 10.0);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial);
    if (!ok) return 0;
    record.weight = chosen.weight();
    record.italic = chosen.italic();
    record.underline = chosen.underline();
    record.strikeOut = chosen.strikeOut();
    record.pointSizeTenths = int(std::lround(chosen.pointSizeF() * 10));
    record.faceName = chosen.family();
    return 1;
  }

  qint32 printDlg(PrintRecord& record) override {
    lastError_ = 0;
    QPrinter printer;
    printer.setCopyCount(std::max(record.copies, 1));
    QPrintDialog dialog(&printer);
    if (record.toPage >= 1) {
      dialog.setMinMax(1, record.toPage);
      printer.setFromTo(1, record.toPage);
    }
    if (dialog.exec() != QDialog::Accepted) return 0;
    record.fromPage = printer.fromPage();
    record.toPage = printer.toPage();
    record.minPage = dialog.minPage();
    record.maxPage = dialog.maxPage();
    record.copies = printer.copyCount();
    return 1;
  }

  qint32 winHelp(quintptr, const QString& helpFile, qint32, qint32) override {
    lastError_ = 0;
    const QString path = upToNul(helpFile);
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? 1 : 0;
  }

  qint32 extendedError() override { return lastError_; }

 private:
  qint32 fileDialog(OpenFileRecord& record, bool save) {
    lastError_ = 0;
    QFileDialog dialog(ownerWindow(record.owner), record.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (record.flags & kFileMustExist) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (save && !(record.flags & kOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qtNameFilters(record.filter);
    dialog.setNameFilters(filters);
    if (record.filterIndex >= 1 && record.filterIndex <= filters.size()) {
      dialog.selectNameFilter(filters.at(record.filterIndex - 1));
    }
    if (!record.initialDir.isEmpty()) dialog.setDirectory(record.initialDir);
    if (!record.defaultExt.isEmpty()) dialog.setDefaultSuffix(record.defaultExt);
    const QString initial = upToNul(record.file).trimmed();
    if (!initial.isEmpty()) dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (!fill(record.file, chosen) || !fill(record.fileTitle, QFileInfo(chosen).fileName())) {
      lastError_ = kBufferTooSmall;
      return 0;
    }
    record.filterIndex = filterNumber(filters, dialog.selectedNameFilter());
    return 1;
  }

  qint32 lastError_ = 0;
};

}  // namespace

// "description NUL pattern NUL ... NUL" as Qt name filters; the pattern
// list of each goes in brackets, where QFileDialog looks for it.
QStringList qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QChar(0), Qt::SkipEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patterns.append(caseBlindPattern(pattern.trimmed()));
    }
    filters.append(parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return filters;
}

CommonDialogPlatform& qtCommonDialogs() {
  static QtCommonDialogs instance;
  return instance;
}

}  // namespace tarquelas
