// The voucher preview: the program's own modal window over the report's
// pages, titled with the program's title. Opening it costs the window
// alone: a page is laid out and painted when it comes into view. From it
// the user turns and zooms the pages, prints them and saves them as PDF.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "support/status.h"

class QLabel;
class QPrinter;
class QSpinBox;
class QToolBar;

namespace tarquelas {

class PreviewPages;
class VoucherReport;

class VoucherPreview final : public QDialog {
  Q_OBJECT

 public:
  // Puts a failure to the user, as the error prompt does; false (No) closes
  // the preview.
  using ErrorPrompt = std::function<bool(const QString& description)>;

  // Why a PDF must not be written at a path (it is the presentation file
  // or one of the program's own); empty when it may.
  using OutputCheck = std::function<QString(const QString& path)>;

  // Tells the user something that needs no answer (a stopped print queue).
  using Notice = std::function<void(const QString& text)>;

  VoucherPreview(const VoucherReport& report, ErrorPrompt prompt, QWidget* parent = nullptr,
                 OutputCheck outputCheck = {});
  ~VoucherPreview() override;

  PreviewPages& pages() { return *pages_; }
  // In place of the message box that is shown by default.
  void setNotice(Notice notice) { notice_ = std::move(notice); }

  // What "Imprimir" does once its dialog is accepted: prints the pages
  // printer's range names (all, from–to or the current page) to printer's
  // queue or output file, with a progress dialog whose Cancel stops it. A
  // stopped queue is told first; the job still goes to it.
  [[nodiscard]] Status print(QPrinter& printer);
  // What "Guardar como PDF" does once a file is chosen.
  [[nodiscard]] Status savePdf(const QString& path);

 signals:
  // Once, when the first page has been painted on the screen.
  void firstPageShown();

 private:
  void addNavigation(QToolBar& bar);
  void addZoom(QToolBar& bar);
  void addLayouts(QToolBar& bar);
  void addCommands(QToolBar& bar);
  void printFromDialog();
  void saveFromDialog();
  void putToUser(const Status& status);
  void notify(const QString& text);
  Status checkedOutput(const QString& path) const;
  void showCurrentPage(int page);
  void showZoom(double zoom);
  void placeLarge();

  const VoucherReport& report_;
  ErrorPrompt prompt_;
  OutputCheck outputCheck_;
  Notice notice_;
  PreviewPages* pages_;
  QSpinBox* pageBox_ = nullptr;
  QLabel* zoomLabel_ = nullptr;
  std::unique_ptr<QPrinter> printer_;  // remembers the last print's choices
  QString lastPdf_;
};

}  // namespace tarquelas
