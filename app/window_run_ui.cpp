#include "app/window_run_ui.h"

#include <malloc.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "app/processing_run.h"
#include "voucher_report/symbology_setting.h"
#include "voucher_report/voucher_report.h"
#include "widgets/voucher_preview.h"

namespace tarquelas {

namespace {

QString title() { return QString::fromUtf16(kProgramTitle); }

}  // namespace

ViewerOpener desktopViewer() {
  return [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
}

WindowRunUi::~WindowRunUi() { setBusy(false); }

void WindowRunUi::showMessage(const QString& text) {
  progress_.finish();
  QMessageBox box(QMessageBox::NoIcon, title(), asLines(text), QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);  // a path or a name is never markup
  box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  box.exec();
}

bool WindowRunUi::askContinue(const QString& description) {
  progress_.finish();
  QMessageBox box(QMessageBox::Critical, title(), asLines(errorPromptText(description)),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  return box.exec() == QMessageBox::Yes;
}

Status WindowRunUi::showVoucherReport(const QString& auxPath) {
  const Status status = previewVouchers(auxPath);
  // The preview's pages and the report are gone: their memory goes back
  // to the system rather than waiting in the heap for the next run.
  malloc_trim(0);
  return status;
}

Status WindowRunUi::previewVouchers(const QString& auxPath) {
  // The run gave the pointer back; from the end of validation until the
  // first page is on the screen it is busy again, under the same progress
  // dialog.
  std::optional<BusyPointer> busy(std::in_place);
  VoucherReport::BuildResult built = VoucherReport::build(auxPath, progress_);
  const report::SymbologySetting setting = report::configuredSymbology();
  if (!built.status.isOk() || !setting.status.isOk()) {
    progress_.finish();
    return built.status.isOk() ? setting.status : built.status;
  }
  built.report->setBarCodeSymbology(setting.symbology);
  VoucherPreview::OutputCheck outputCheck;
  if (paths_) {
    outputCheck = [this](const QString& path) { return outputRefusal(path, presentationPath_, *paths_); };
  }
  VoucherPreview preview(
      *built.report, [this](const QString& description) { return askContinue(description); }, window_,
      outputCheck);
  preview.setPresentationFile(presentationPath_);
  const auto shown = [this, &busy] {
    progress_.finish();
    busy.reset();
  };
  // A report without pages never paints one.
  if (built.report->pageCount() == 0) shown();
  QObject::connect(&preview, &VoucherPreview::firstPageShown, &preview, shown);
  preview.exec();
  progress_.finish();
  return Status::ok();
}

// A dialog that can be cancelled while the window stays painted; the lock
// is tried again every little while.
bool WindowRunUi::waitForWorkFolder(const std::function<bool()>& tryAgain) {
  constexpr int kRetryMs = 250;
  progress_.finish();
  QProgressDialog dialog(waitingMessage(), QStringLiteral("Cancelar"), 0, 0, window_);
  dialog.setObjectName(QStringLiteral("esperaCarpeta"));
  dialog.setWindowTitle(title());
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(0);
  QEventLoop loop;
  bool taken = false;
  QTimer retry;
  QObject::connect(&retry, &QTimer::timeout, &loop, [&] {
    taken = tryAgain();
    if (taken) loop.quit();
  });
  QObject::connect(&dialog, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QDialog::rejected, &loop, &QEventLoop::quit);  // Escape
  dialog.show();
  retry.start(kRetryMs);
  loop.exec();
  return taken;
}

void WindowRunUi::guardFiles(QString presentationPath, WorkPaths paths) {
  presentationPath_ = std::move(presentationPath);
  paths_ = std::move(paths);
}

void WindowRunUi::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace tarquelas
