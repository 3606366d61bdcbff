// OvraCommonDialog: the standard dialogs (open file, save file, colour,
// font, printer, help) behind one set of properties. A caller sets
// properties, calls one of the six Show operations and reads properties
// back. Every property starts empty, zero or false.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <exception>

class QObject;

namespace tarquelas {

// The error a cancelled dialog raises when CancelError is on.
class CommonDialogError : public std::exception {
 public:
  CommonDialogError(qint32 number, QString description);
  qint32 number() const { return number_; }
  const QString& description() const { return description_; }
  const char* what() const noexcept override { return what_.constData(); }

 private:
  qint32 number_;
  QString description_;
  QByteArray what_;
};

// Cancel of the open, save, font and printer dialogs.
inline constexpr qint32 kCancelError = 2001;
// Cancel of the colour dialog (hexadecimal 8004037E), "Cancel Pressed".
inline constexpr qint32 kColorCancelError = qint32(0x8004037EU);

// Flags of the open and save dialogs (OpenFileRecord::flags) that mean
// something here: ask before overwriting (save), hide the read-only box,
// the file must exist (open).
inline constexpr qint32 kOverwritePrompt = 0x2;
inline constexpr qint32 kHideReadOnly = 0x4;
inline constexpr qint32 kFileMustExist = 0x1000;

// What the open and save dialogs are handed and hand back, as the
// platform's request record holds it. Buffers are fixed-length texts
// ending in NUL; the platform writes its answer into them.
struct OpenFileRecord {
  quintptr owner = 0;
  QString filter;  // descriptions and patterns separated by NUL, NUL at the end
  int filterIndex = 0;
  QString file;  // buffer of maxFile characters
  int maxFile = 0;
  QString fileTitle;  // buffer of at least maxFileTitle characters
  int maxFileTitle = 0;
  QString initialDir;
  QString title;
  qint32 flags = 0;
  QString defaultExt;
};

struct ColorRecord {
  quintptr owner = 0;
  quint32 rgb = 0;  // 0x00BBGGRR
  qint32 flags = 0;
  QList<quint32> customColors;
};

struct FontRecord {
  qint32 flags = 0;
  int weight = 0;  // 400 regular, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int pointSizeTenths = 0;
  QString faceName;  // answer only
};

struct PrintRecord {
  qint32 flags = 0;
  qint32 hdc = 0;
  qint32 fromPage = 0;
  qint32 toPage = 0;
  qint32 minPage = 0;
  qint32 maxPage = 0;
  qint32 copies = 0;
};

// The platform under the dialogs. Each call returns 1 when the user chose,
// 0 when the dialog was cancelled or failed, anything else on an error
// that extendedError() then describes.
class CommonDialogPlatform {
 public:
  virtual ~CommonDialogPlatform() = default;
  virtual qint32 getOpenFileName(OpenFileRecord& record) = 0;
  virtual qint32 getSaveFileName(OpenFileRecord& record) = 0;
  virtual qint32 chooseColor(ColorRecord& record) = 0;
  virtual qint32 chooseFont(FontRecord& record) = 0;
  virtual qint32 printDlg(PrintRecord& record) = 0;
  virtual qint32 winHelp(quintptr owner, const QString& helpFile, qint32 command, qint32 data) = 0;
  virtual qint32 extendedError() = 0;
};

// Qt's own dialogs (QFileDialog, QColorDialog, QFontDialog, QPrintDialog);
// help opens HelpFile in the desktop's viewer.
CommonDialogPlatform& qtCommonDialogs();

// A request's filter ("description NUL pattern NUL ... NUL") as the name
// filters of a Qt file dialog, one per description, each ending in its
// patterns in brackets.
QStringList qtNameFilters(const QString& filter);

class OvraCommonDialog {
 public:
  explicit OvraCommonDialog(CommonDialogPlatform& platform = qtCommonDialogs());

  // Each may raise CommonDialogError when the dialog is cancelled and
  // CancelError is on; nothing else reaches the caller.
  void ShowOpen();
  void ShowSave();
  void ShowColor();
  void ShowFont();
  void ShowPrinter();
  void ShowHelp();

  // The name with an extension taken from filter when it has no point:
  // the four characters two after the (2n-1)-th "|" of filter.
  static QString conExtension(const QString& name, const QString& filter, int filterIndex);

  qint16 Action() const { return action_; }
  bool CancelError() const { return cancelError_; }
  void setCancelError(bool v) { cancelError_ = v; }
  qint32 Color() const { return color_; }
  void setColor(qint32 v) { color_ = v; }
  qint32 Copies() const { return copies_; }
  void setCopies(qint32 v) { copies_ = v; }
  const QString& DefaultExt() const { return defaultExt_; }
  void setDefaultExt(const QString& v) { defaultExt_ = v; }
  const QString& DialogTitle() const { return dialogTitle_; }
  void setDialogTitle(const QString& v) { dialogTitle_ = v; }
  const QString& FileName() const { return fileName_; }
  void setFileName(const QString& v) { fileName_ = v; }
  const QString& FileTitle() const { return fileTitle_; }
  void setFileTitle(const QString& v) { fileTitle_ = v; }
  const QString& Filter() const { return filter_; }
  void setFilter(const QString& v) { filter_ = v; }
  qint16 FilterIndex() const { return filterIndex_; }
  void setFilterIndex(qint16 v) { filterIndex_ = v; }
  qint32 flags() const { return flags_; }
  void setFlags(qint32 v) { flags_ = v; }
  bool FontBold() const { return fontBold_; }
  void setFontBold(bool v) { fontBold_ = v; }
  bool FontItalic() const { return fontItalic_; }
  void setFontItalic(bool v) { fontItalic_ = v; }
  const QString& FontName() const { return fontName_; }
  void setFontName(const QString& v) { fontName_ = v; }
  qint32 FontSize() const { return fontSize_; }
  void setFontSize(qint32 v) { fontSize_ = v; }
  bool FontStrikethru() const { return fontStrikethru_; }
  void setFontStrikethru(bool v) { fontStrikethru_ = v; }
  bool FontUnderline() const { return fontUnderline_; }
  void setFontUnderline(bool v) { fontUnderline_ = v; }
  qint32 FromPage() const { return fromPage_; }
  void setFromPage(qint32 v) { fromPage_ = v; }
  // The owner window (QWidget::winId()) for open, save, colour and help.
  qint32 hdc() const { return hdc_; }
  void setHdc(qint32 v) { hdc_ = v; }
  qint32 HelpCommand() const { return helpCommand_; }
  void setHelpCommand(qint32 v) { helpCommand_ = v; }
  const QString& HelpContext() const { return helpContext_; }
  void setHelpContext(const QString& v) { helpContext_ = v; }
  const QString& HelpFile() const { return helpFile_; }
  void setHelpFile(const QString& v) { helpFile_ = v; }
  const QString& HelpKey() const { return helpKey_; }
  void setHelpKey(const QString& v) { helpKey_ = v; }
  const QString& InitDir() const { return initDir_; }
  void setInitDir(const QString& v) { initDir_ = v; }
  qint32 Max() const { return max_; }
  void setMax(qint32 v) { max_ = v; }
  qint32 MaxFileSize() const { return maxFileSize_; }
  void setMaxFileSize(qint32 v) { maxFileSize_ = v; }
  qint32 Min() const { return min_; }
  void setMin(qint32 v) { min_ = v; }
  QObject* Object() const { return object_; }
  void setObject(QObject* v) { object_ = v; }
  qint16 PrinterDefault() const { return printerDefault_; }
  void setPrinterDefault(qint16 v) { printerDefault_ = v; }
  qint32 ToPage() const { return toPage_; }
  void setToPage(qint32 v) { toPage_ = v; }
  qint32 APIReturn() const { return apiReturn_; }
  qint32 ExtendedError() const { return extendedError_; }

 private:
  void showFile(bool save);
  OpenFileRecord openFileRecord();
  void takeFileAnswer(const OpenFileRecord& record);
  // Ends a Show operation: the cancel error when asked for, else the
  // platform's extended error for a result other than 0 and 1.
  void finish(qint32 result, qint32 cancelNumber, const QString& cancelDescription);

  CommonDialogPlatform* platform_;
  qint16 action_ = 0;
  bool cancelError_ = false;
  qint32 color_ = 0;
  qint32 copies_ = 0;
  QString defaultExt_;
  QString dialogTitle_;
  QString fileName_;
  QString fileTitle_;
  QString filter_;
  qint16 filterIndex_ = 0;
  qint32 flags_ = 0;
  bool fontBold_ = false;
  bool fontItalic_ = false;
  QString fontName_;
  qint32 fontSize_ = 0;
  bool fontStrikethru_ = false;
  bool fontUnderline_ = false;
  qint32 fromPage_ = 0;
  qint32 hdc_ = 0;
  qint32 helpCommand_ = 0;
  QString helpContext_;
  QString helpFile_;
  QString helpKey_;
  QString initDir_;
  qint32 max_ = 0;
  qint32 maxFileSize_ = 0;
  qint32 min_ = 0;
  QObject* object_ = nullptr;
  qint16 printerDefault_ = 0;
  qint32 toPage_ = 0;
  qint32 apiReturn_ = 0;
  qint32 extendedError_ = 0;
};

}  // namespace tarquelas
