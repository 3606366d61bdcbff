// The window's answers to the processing run: message boxes titled
// "Tarquelas", the voucher report in a modal print preview, a progress
// dialog for long runs and the hourglass pointer.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <functional>
#include <memory>

#include "app/run_ui.h"

class QWidget;

namespace tarquelas {

// The program's own title, in every message box.
inline constexpr char16_t kProgramTitle[] = u"Tarquelas";

// Opens a file in the desktop's viewer without waiting; false when no
// viewer could be started.
using ViewerOpener = std::function<bool(const QString& path)>;
ViewerOpener desktopViewer();

// Shows a QProgressDialog once a run has lasted half a second, keeps the
// window painted meanwhile and learns about Cancel.
class DialogProgress final : public Progress {
 public:
  explicit DialogProgress(QWidget* parent) : parent_(parent) {}
  ~DialogProgress() override;
  bool report(Stage stage, qint64 done, qint64 total) override;
  // Closes the dialog; the next report opens a new one.
  void finish();

  static QString stageText(Stage stage);

 private:
  QWidget* parent_;
  std::unique_ptr<QProgressDialog> dialog_;
};

class WindowRunUi final : public RunUi {
 public:
  WindowRunUi(QWidget* window, ViewerOpener opener)
      : window_(window), opener_(std::move(opener)), progress_(window) {}
  ~WindowRunUi() override;

  void showMessage(const QString& text) override;
  bool askContinue(const QString& description) override;
  bool openInViewer(const QString& path) override { return opener_(path); }
  Status showVoucherReport(const QString& auxPath) override;
  Progress& progress() override { return progress_; }
  void setBusy(bool busy) override;
  bool waitForWorkFolder(const std::function<bool()>& tryAgain) override;

 private:
  QWidget* window_;
  ViewerOpener opener_;
  DialogProgress progress_;
  bool busy_ = false;
};

}  // namespace tarquelas
