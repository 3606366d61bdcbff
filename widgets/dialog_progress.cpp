#include "widgets/dialog_progress.h"

#include <QCoreApplication>

namespace tarquelas {

namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressSteps = 1000;

}  // namespace

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
    dialog_->setWindowTitle(QString::fromUtf16(kProgramTitle));
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

}  // namespace tarquelas
