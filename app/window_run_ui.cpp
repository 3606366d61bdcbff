#include "app/window_run_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include "voucher_report/voucher_report.h"

namespace tarquelas {

namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressSteps = 1000;

QString title() { return QString::fromUtf16(kProgramTitle); }

// Message box texts separate their pieces with CR; on screen each piece
// gets its own line.
QString asDisplayLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Most of the screen's height, so a whole A4 page reads at once.
void placeLarge(QWidget& dialog) {
  const QScreen* screen = dialog.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize size(std::min(area.width(), area.height() * 4 / 5), area.height() * 9 / 10);
  dialog.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
}

void paintReport(const VoucherReport& report, QPrinter& printer) {
  QPainter painter(&printer);
  for (int i = 0; i < report.pageCount(); ++i) {
    if (i > 0) printer.newPage();
    report.paintPage(i, painter);
  }
}

}  // namespace

ViewerOpener desktopViewer() {
  return [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
}

DialogProgress::~DialogProgress() = default;

QString DialogProgress::stageText(Stage stage) {
  switch (stage) {
    case Stage::Validating: return QStringLiteral("Validando el archivo…");
    case Stage::LayingOutVouchers: return QStringLiteral("Armando los comprobantes…");
    case Stage::WritingPrintout: return QStringLiteral("Escribiendo el padrón…");
    case Stage::PrintingPages: return QStringLiteral("Imprimiendo los comprobantes…");
    case Stage::WritingPdf: return QStringLiteral("Guardando el PDF…");
  }
  return {};
}

bool DialogProgress::report(Stage stage, qint64 done, qint64 total) {
  if (!dialog_) {
    dialog_ = std::make_unique<QProgressDialog>(parent_);
    dialog_->setWindowTitle(title());
    dialog_->setCancelButtonText(QStringLiteral("Cancelar"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(kProgressDelayMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
  }
  dialog_->setLabelText(stageText(stage));
  dialog_->setMaximum(total > 0 ? kProgressSteps : 0);
  dialog_->setValue(total > 0 ? int(std::min(done, total) * kProgressSteps / total) : 0);
  // Until the dialog shows, the window stays painted but takes no input.
  QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
  return !dialog_->wasCanceled();
}

void DialogProgress::finish() { dialog_.reset(); }

WindowRunUi::~WindowRunUi() { setBusy(false); }

void WindowRunUi::showMessage(const QString& text) {
  progress_.finish();
  QMessageBox box(QMessageBox::NoIcon, title(), asDisplayLines(text), QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);  // a path or a name is never markup
  box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  box.exec();
}

bool WindowRunUi::askContinue(const QString& description) {
  progress_.finish();
  QMessageBox box(QMessageBox::Critical, title(), asDisplayLines(errorPromptText(description)),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  return box.exec() == QMessageBox::Yes;
}

Status WindowRunUi::showVoucherReport(const QString& auxPath) {
  VoucherReport::BuildResult built = VoucherReport::build(auxPath, progress_);
  progress_.finish();
  if (!built.status.isOk()) return built.status;
  const VoucherReport& report = *built.report;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(report.pageLayout());
  printer.setFullPage(true);
  QPrintPreviewDialog preview(&printer, window_);
  preview.setWindowTitle(title());
  placeLarge(preview);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                   [&report](QPrinter* target) { paintReport(report, *target); });
  preview.exec();
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
