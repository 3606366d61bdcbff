// The voucher preview: the program's own modal window over the report's
// pages, titled with the program's title. Opening it costs the window
// alone: a page is laid out and painted when it comes into view. From it
// the user turns and zooms the pages, finds vouchers by what identifies
// them, prints them (all, a range, the one in view or those found) and
// saves them as PDF. Its mode, zoom and last PDF folder are remembered
// between openings; closing it lets go of its page images and laid-out
// pages.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "report_engine/page_set.h"
#include "support/status.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QTableView;
class QToolBar;

namespace tarquelas {

class FoundVouchers;
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

  // What a print or a PDF holds.
  enum class Pages { All, Voucher, Found };
  // Tells the user something that needs no answer (a stopped print queue).
  using Notice = std::function<void(const QString& text)>;

  VoucherPreview(const VoucherReport& report, ErrorPrompt prompt, QWidget* parent = nullptr,
                 OutputCheck outputCheck = {});
  ~VoucherPreview() override;

  // The presentation file the vouchers come from: "Guardar como PDF…"
  // proposes its folder (when none is remembered) and its name.
  void setPresentationFile(const QString& path);

  PreviewPages& pages() { return *pages_; }
  const VoucherReport& report() const { return report_; }
  // In place of the message box that is shown by default.
  void setNotice(Notice notice) { notice_ = std::move(notice); }

  // Searches the vouchers for text as the find box does, without moving.
  void find(const QString& text);
  // To the next (previous) voucher found after (before) the one in view,
  // round past the end; the first search of a text starts at the voucher
  // in view.
  void findNext();
  void findPrevious();
  const std::vector<qint64>& found() const;
  // What the find box says: "3 de 12", how many were found, or that none was.
  QString findState() const;
  // The status line: the last save or print, or that the file changed.
  QString statusText() const;

  // The pages a print or PDF of what holds.
  PageSet pagesOf(Pages what) const;

  // What "Imprimir" does once its dialog is accepted: prints the pages
  // printer's range names (all, from–to, the current page, or the vouchers
  // found for its selection) to printer's queue or output file, with a
  // progress dialog whose Cancel stops it. A stopped queue is told first;
  // the job still goes to it.
  [[nodiscard]] Status print(QPrinter& printer);
  // What "Imprimir este comprobante" does: every page of the voucher in view.
  [[nodiscard]] Status printVoucher(QPrinter& printer);
  // What "Guardar como PDF" does once a file is chosen.
  [[nodiscard]] Status savePdf(const QString& path, Pages what = Pages::All);
  // The path "Guardar como PDF…" proposes.
  QString proposedPdfPath() const;

 signals:
  // Once, when the first page has been painted on the screen.
  void firstPageShown();

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addNavigation(QToolBar& bar);
  void addZoom(QToolBar& bar);
  void addLayouts(QToolBar& bar);
  void addCommands(QToolBar& bar);
  void addFind(QToolBar& bar);
  void addKeys();
  void printFromDialog(Pages what);
  void saveFromDialog(Pages what);
  void putToUser(const Status& status);
  void notify(const QString& text);
  Status checkedOutput(const QString& path) const;
  Status printSet(QPrinter& printer, const PageSet& pages);
  void showCurrentPage(int page);
  void showZoom(double zoom);
  void showStates();
  void showFound();
  void goToFound(qsizetype position);
  void goToTypedPage();
  void checkTypedPage();
  void takeTypedZoom(const QString& text);
  bool fileChanged();
  void restoreSettings();
  void keepSettings() const;
  void placeLarge();

  const VoucherReport& report_;
  ErrorPrompt prompt_;
  OutputCheck outputCheck_;
  Notice notice_;
  PreviewPages* pages_;
  QLineEdit* pageBox_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QLineEdit* findBox_ = nullptr;
  QLabel* findLabel_ = nullptr;
  QTableView* foundList_ = nullptr;
  FoundVouchers* foundModel_ = nullptr;
  QLabel* status_ = nullptr;
  QAction* first_ = nullptr;
  QAction* previous_ = nullptr;
  QAction* next_ = nullptr;
  QAction* last_ = nullptr;
  QAction* zoomOut_ = nullptr;
  QAction* zoomIn_ = nullptr;
  QAction* saveFound_ = nullptr;
  std::vector<QAction*> modeActions_;
  std::vector<QAction*> fitActions_;
  QString searched_;                   // the text found_ was searched for
  qsizetype position_ = -1;            // the voucher found that is in view, in found_
  std::unique_ptr<QPrinter> printer_;  // remembers the last print's choices
  QString presentation_;
  QString lastPdf_;
};

}  // namespace tarquelas
