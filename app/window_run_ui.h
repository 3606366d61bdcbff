// The window's answers to the processing run: message boxes titled
// "Tarquelas", the voucher report in the program's own modal preview, a
// progress dialog for long runs and the hourglass pointer.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/run_ui.h"
#include "support/work_paths.h"
#include "widgets/dialog_progress.h"

class QWidget;

namespace tarquelas {

// Opens a file in the desktop's viewer without waiting; false when no
// viewer could be started.
using ViewerOpener = std::function<bool(const QString& path)>;
ViewerOpener desktopViewer();

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

  // The run's presentation file and working files, which a PDF saved or
  // printed to a file from the preview must not replace.
  void guardFiles(QString presentationPath, WorkPaths paths);

 private:
  Status previewVouchers(const QString& auxPath);

  QWidget* window_;
  ViewerOpener opener_;
  DialogProgress progress_;
  bool busy_ = false;
  QString presentationPath_;
  std::optional<WorkPaths> paths_;
};

}  // namespace tarquelas
