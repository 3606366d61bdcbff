#include "widgets/ovra_common_dialog.h"

#include <cmath>

namespace tarquelas {

namespace {

constexpr qint32 kDefaultMaxFileSize = 255;
constexpr int kFileTitleSize = 255;
constexpr int kCustomColorCount = 16;
constexpr quint32 kWhite = 0xFFFFFF;
constexpr int kBoldWeight = 700;
constexpr int kRegularWeight = 400;
constexpr int kExtensionLength = 4;

// A fixed-length text buffer: text padded with blanks (not NULs) to
// length - 1 characters and cut there, then NUL, then NULs up to size.
QString buffer(const QString& text, int length, int size) {
  QString b = text.leftJustified(length - 1, QLatin1Char(' '), true);
  b.append(QChar(0));
  if (b.size() < size) b.append(QString(size - b.size(), QChar(0)));
  return b;
}

QString upToNul(const QString& buffer) {
  const qsizetype nul = buffer.indexOf(QChar(0));
  return nul < 0 ? buffer : buffer.left(nul);
}

}  // namespace

CommonDialogError::CommonDialogError(qint32 number, QString description)
    : number_(number), description_(std::move(description)) {
  what_ = QStringLiteral("%1 %2").arg(number_).arg(description_).trimmed().toUtf8();
}

OvraCommonDialog::OvraCommonDialog(CommonDialogPlatform& platform) : platform_(&platform) {}

QString OvraCommonDialog::conExtension(const QString& name, const QString& filter, int filterIndex) {
  if (name.contains(QLatin1Char('.'))) return name;
  const int bars = 2 * filterIndex - 1;
  if (bars < 1) return name;
  qsizetype at = 0;  // 0-based; the first search starts at the second character
  for (int i = 0; i < bars; ++i) {
    at = filter.indexOf(QLatin1Char('|'), at + 1);
    if (at < 0) return name;
  }
  return name + filter.mid(at + 2, kExtensionLength);
}

void OvraCommonDialog::finish(qint32 result, qint32 cancelNumber, const QString& cancelDescription) {
  if (result == 0) {
    if (cancelError_) throw CommonDialogError(cancelNumber, cancelDescription);
    return;
  }
  if (result != 1) extendedError_ = platform_->extendedError();
}

OpenFileRecord OvraCommonDialog::openFileRecord() {
  if (maxFileSize_ < 1) maxFileSize_ = kDefaultMaxFileSize;
  OpenFileRecord r;
  r.owner = quintptr(quint32(hdc_));
  r.filter = QString(filter_).replace(QLatin1Char('|'), QChar(0)) + QChar(0);
  r.filterIndex = filterIndex_;
  r.file = buffer(fileName_, maxFileSize_, maxFileSize_);
  r.maxFile = maxFileSize_;
  r.fileTitle = buffer(fileTitle_, maxFileSize_, kFileTitleSize);
  r.maxFileTitle = kFileTitleSize;
  r.initialDir = initDir_;
  r.title = dialogTitle_;
  r.flags = flags_;
  r.defaultExt = defaultExt_;
  return r;
}

void OvraCommonDialog::takeFileAnswer(const OpenFileRecord& record) {
  fileName_ = conExtension(upToNul(record.file), filter_, record.filterIndex);
  fileTitle_ = conExtension(upToNul(record.fileTitle), filter_, record.filterIndex);
}

void OvraCommonDialog::showFile(bool save) {
  apiReturn_ = 0;
  extendedError_ = 0;
  qint32 result = 0;
  OpenFileRecord record;
  try {
    record = openFileRecord();
    result = save ? platform_->getSaveFileName(record) : platform_->getOpenFileName(record);
  } catch (const std::exception&) {
    return;  // a failure of the platform ends the operation in silence
  }
  apiReturn_ = result;
  if (result == 1) {
    takeFileAnswer(record);
    return;
  }
  finish(result, kCancelError, QString());
}

void OvraCommonDialog::ShowOpen() { showFile(false); }

void OvraCommonDialog::ShowSave() { showFile(true); }

void OvraCommonDialog::ShowColor() {
  action_ = 3;
  ColorRecord record;
  record.owner = quintptr(quint32(hdc_));
  record.rgb = quint32(color_);
  record.flags = flags_;
  record.customColors = QList<quint32>(kCustomColorCount, kWhite);
  const qint32 result = platform_->chooseColor(record);
  apiReturn_ = result;
  if (result == 1) color_ = qint32(record.rgb);
  finish(result, kColorCancelError, QStringLiteral("Cancel Pressed"));
}

void OvraCommonDialog::ShowFont() {
  action_ = 4;
  FontRecord record;
  record.flags = flags_;
  record.weight = fontBold_ ? kBoldWeight : kRegularWeight;
  record.italic = fontItalic_;
  record.underline = fontUnderline_;
  record.strikeOut = fontStrikethru_;
  record.pointSizeTenths = fontSize_ * 10;
  const qint32 result = platform_->chooseFont(record);
  apiReturn_ = result;
  if (result == 1) {
    fontBold_ = record.weight >= kBoldWeight;
    fontItalic_ = record.italic;
    fontUnderline_ = record.underline;
    fontStrikethru_ = record.strikeOut;
    fontName_ = record.faceName;
    fontSize_ = qint32(std::lround(record.pointSizeTenths / 10.0));
  }
  finish(result, kCancelError, QString());
}

void OvraCommonDialog::ShowPrinter() {
  action_ = 5;
  PrintRecord record;
  record.flags = flags_;
  record.hdc = hdc_;
  record.toPage = toPage_;
  record.copies = copies_;
  const qint32 result = platform_->printDlg(record);
  apiReturn_ = result;
  if (result == 1) {
    fromPage_ = record.fromPage;
    toPage_ = record.toPage;
    min_ = record.minPage;
    max_ = record.maxPage;
    copies_ = record.copies;
    hdc_ = record.hdc;
  }
  finish(result, kCancelError, QString());
}

void OvraCommonDialog::ShowHelp() {
  action_ = 6;
  apiReturn_ = platform_->winHelp(quintptr(quint32(hdc_)), helpFile_ + QChar(0), helpCommand_, 0);
  extendedError_ = platform_->extendedError();
}

}  // namespace tarquelas
