#include "widgets/voucher_preview.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "voucher_report/voucher_report.h"
#include "widgets/dialog_progress.h"
#include "widgets/page_printing.h"
#include "widgets/preview_pages.h"

namespace tarquelas {

namespace {

// An action on bar with its caption, tooltip and shortcut; without an icon
// the button shows the caption.
QAction* toolAction(QToolBar& bar, const QString& text, const QString& tip, const QKeySequence& key = {},
                    const QIcon& icon = {}) {
  QAction* action = bar.addAction(icon, text);
  action->setToolTip(key.isEmpty() ? tip
                                   : tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                                         QLatin1Char(')'));
  if (!key.isEmpty()) action->setShortcut(key);
  if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action));
      button != nullptr && icon.isNull())
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return action;
}

}  // namespace

VoucherPreview::VoucherPreview(const VoucherReport& report, ErrorPrompt prompt, QWidget* parent,
                               OutputCheck outputCheck)
    : QDialog(parent),
      report_(report),
      prompt_(std::move(prompt)),
      outputCheck_(std::move(outputCheck)),
      pages_(new PreviewPages(report, this)) {
  setWindowTitle(QString::fromUtf16(kProgramTitle));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  auto* bar = new QToolBar(this);
  addNavigation(*bar);
  bar->addSeparator();
  addZoom(*bar);
  bar->addSeparator();
  addLayouts(*bar);
  bar->addSeparator();
  addCommands(*bar);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(pages_, 1);
  connect(pages_, &PreviewPages::currentPageChanged, this, &VoucherPreview::showCurrentPage);
  connect(pages_, &PreviewPages::zoomChanged, this, &VoucherPreview::showZoom);
  connect(pages_, &PreviewPages::firstPageShown, this, &VoucherPreview::firstPageShown);
  pages_->setMode(PreviewPages::Mode::Continuous);
  pages_->setFit(PreviewPages::Fit::Page);
  showCurrentPage(pages_->currentPage());
  showZoom(pages_->zoom());
  pages_->setFocus();
  placeLarge();
}

VoucherPreview::~VoucherPreview() = default;

void VoucherPreview::addNavigation(QToolBar& bar) {
  const QStyle* look = style();
  const auto step = [this](int pages) {
    return [this, pages] {
      const int columns = pages_->mode() == PreviewPages::Mode::TwoPages ? 2 : 1;
      pages_->setCurrentPage(pages_->currentPage() - pages_->currentPage() % columns + pages * columns);
    };
  };
  connect(toolAction(bar, QStringLiteral("Primera página"), QStringLiteral("Primera página"),
                     QKeySequence(Qt::CTRL | Qt::Key_Home), look->standardIcon(QStyle::SP_MediaSkipBackward)),
          &QAction::triggered, this, [this] { pages_->setCurrentPage(0); });
  connect(toolAction(bar, QStringLiteral("Página anterior"), QStringLiteral("Página anterior"),
                     QKeySequence(Qt::Key_PageUp), look->standardIcon(QStyle::SP_MediaSeekBackward)),
          &QAction::triggered, this, step(-1));
  pageBox_ = new QSpinBox(&bar);
  pageBox_->setRange(std::min(1, pages_->pageCount()), pages_->pageCount());
  pageBox_->setSuffix(QStringLiteral(" / %1").arg(pages_->pageCount()));
  pageBox_->setKeyboardTracking(false);
  pageBox_->setButtonSymbols(QAbstractSpinBox::NoButtons);
  pageBox_->setAlignment(Qt::AlignRight);
  pageBox_->setAccessibleName(QStringLiteral("Página"));
  pageBox_->setToolTip(
      QStringLiteral("Página actual: escriba otro número y pulse Intro para ir a esa página"));
  connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) { pages_->setCurrentPage(page - 1); });
  bar.addWidget(pageBox_);
  connect(toolAction(bar, QStringLiteral("Página siguiente"), QStringLiteral("Página siguiente"),
                     QKeySequence(Qt::Key_PageDown), look->standardIcon(QStyle::SP_MediaSeekForward)),
          &QAction::triggered, this, step(1));
  connect(toolAction(bar, QStringLiteral("Última página"), QStringLiteral("Última página"),
                     QKeySequence(Qt::CTRL | Qt::Key_End), look->standardIcon(QStyle::SP_MediaSkipForward)),
          &QAction::triggered, this, [this] { pages_->setCurrentPage(pages_->pageCount() - 1); });
}

void VoucherPreview::addZoom(QToolBar& bar) {
  connect(toolAction(bar, QStringLiteral("−"), QStringLiteral("Alejar"), QKeySequence(QKeySequence::ZoomOut)),
          &QAction::triggered, pages_, &PreviewPages::zoomOut);
  zoomLabel_ = new QLabel(&bar);
  zoomLabel_->setToolTip(QStringLiteral("Tamaño de las páginas (Ctrl + rueda del ratón para cambiarlo)"));
  zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance(QStringLiteral(" 250 % ")));
  zoomLabel_->setAlignment(Qt::AlignCenter);
  bar.addWidget(zoomLabel_);
  connect(toolAction(bar, QStringLiteral("+"), QStringLiteral("Acercar"), QKeySequence(QKeySequence::ZoomIn)),
          &QAction::triggered, pages_, &PreviewPages::zoomIn);
  auto* fits = new QActionGroup(this);
  fits->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const std::pair<PreviewPages::Fit, std::pair<QString, QString>> choices[] = {
      {PreviewPages::Fit::Width, {QStringLiteral("Ancho"), QStringLiteral("Ajustar al ancho de la ventana")}},
      {PreviewPages::Fit::Page,
       {QStringLiteral("Página entera"), QStringLiteral("Ajustar la página entera a la ventana")}},
  };
  for (const auto& [fit, texts] : choices) {
    QAction* action = toolAction(bar, texts.first, texts.second);
    action->setCheckable(true);
    action->setChecked(fit == PreviewPages::Fit::Page);
    fits->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, fit](bool on) { pages_->setFit(on ? fit : PreviewPages::Fit::None); });
  }
  // A zoom of the user's own leaves both fits.
  connect(pages_, &PreviewPages::zoomChanged, fits, [this, fits] {
    if (pages_->fit() == PreviewPages::Fit::None)
      for (QAction* action : fits->actions()) action->setChecked(false);
  });
}

void VoucherPreview::addLayouts(QToolBar& bar) {
  auto* modes = new QActionGroup(this);
  const std::pair<PreviewPages::Mode, std::pair<QString, QString>> choices[] = {
      {PreviewPages::Mode::OnePage,
       {QStringLiteral("Una página"), QStringLiteral("Mostrar una página por vez")}},
      {PreviewPages::Mode::TwoPages,
       {QStringLiteral("Dos páginas"), QStringLiteral("Mostrar dos páginas, una al lado de la otra")}},
      {PreviewPages::Mode::Continuous,
       {QStringLiteral("Continuo"), QStringLiteral("Mostrar las páginas una debajo de la otra")}},
  };
  for (const auto& [mode, texts] : choices) {
    QAction* action = toolAction(bar, texts.first, texts.second);
    action->setCheckable(true);
    action->setChecked(mode == PreviewPages::Mode::Continuous);
    modes->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { pages_->setMode(mode); });
  }
}

void VoucherPreview::addCommands(QToolBar& bar) {
  connect(toolAction(bar, QStringLiteral("Imprimir…"), QStringLiteral("Imprimir los comprobantes"),
                     QKeySequence(Qt::CTRL | Qt::Key_P)),
          &QAction::triggered, this, &VoucherPreview::printFromDialog);
  connect(toolAction(bar, QStringLiteral("Guardar como PDF…"),
                     QStringLiteral("Guardar los comprobantes en un archivo PDF"),
                     QKeySequence(Qt::CTRL | Qt::Key_S)),
          &QAction::triggered, this, &VoucherPreview::saveFromDialog);
  connect(toolAction(bar, QStringLiteral("Cerrar"), QStringLiteral("Cerrar la vista previa"),
                     QKeySequence(Qt::Key_Escape)),
          &QAction::triggered, this, &QDialog::reject);
}

Status VoucherPreview::checkedOutput(const QString& path) const {
  const QString refused = outputCheck_ && !path.isEmpty() ? outputCheck_(path) : QString();
  return refused.isEmpty() ? Status::ok() : Status::error(refused);
}

Status VoucherPreview::print(QPrinter& printer) {
  if (Status refused = checkedOutput(printer.outputFileName()); !refused.isOk()) return refused;
  const PageRange range = requestedPages(printer, pages_->currentPage(), pages_->pageCount());
  if (printer.outputFileName().isEmpty()) {
    if (const QString stopped = stoppedQueueWarning(printer.printerName()); !stopped.isEmpty())
      notify(stopped);
  }
  BusyPointer busy;
  DialogProgress progress(this);
  const Status status = printPages(report_, printer, range, progress);
  progress.finish();
  return status;
}

Status VoucherPreview::savePdf(const QString& path) {
  if (Status refused = checkedOutput(path); !refused.isOk()) return refused;
  BusyPointer busy;
  DialogProgress progress(this);
  const Status status = report_.writePdf(path, progress);
  progress.finish();
  return status;
}

void VoucherPreview::printFromDialog() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageLayout(report_.pageLayout());
    printer_->setFullPage(true);
    printer_->setDocName(QString::fromUtf16(kProgramTitle));
  }
  printer_->setPrintRange(QPrinter::AllPages);
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(QStringLiteral("Imprimir"));
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                    QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
  dialog.setMinMax(std::min(1, pages_->pageCount()), pages_->pageCount());
  if (dialog.exec() != QDialog::Accepted) return;
  putToUser(print(*printer_));
}

void VoucherPreview::saveFromDialog() {
  const QString start =
      lastPdf_.isEmpty() ? QDir::home().filePath(QStringLiteral("Tarquelas.pdf")) : lastPdf_;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como PDF"), start,
                                              QStringLiteral("Documentos PDF (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  lastPdf_ = path;
  putToUser(savePdf(path));
}

void VoucherPreview::notify(const QString& text) {
  if (notice_) return notice_(text);
  QMessageBox box(QMessageBox::Information, QString::fromUtf16(kProgramTitle), text, QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  box.exec();
}

void VoucherPreview::putToUser(const Status& status) {
  if (status.isError() && !prompt_(status.description())) reject();
}

void VoucherPreview::showCurrentPage(int page) {
  const QSignalBlocker quiet(pageBox_);
  pageBox_->setValue(page + 1);
}

void VoucherPreview::showZoom(double zoom) {
  zoomLabel_->setText(QStringLiteral("%1 %").arg(qRound(zoom * 100)));
}

// Most of the screen's height, so a whole A4 page reads at once.
void VoucherPreview::placeLarge() {
  const QScreen* shown = screen();
  if (shown == nullptr) return;
  const QRect area = shown->availableGeometry();
  // Wide enough for the whole tool bar, where the screen allows.
  const int width = std::max(area.height() * 4 / 5, layout()->sizeHint().width());
  const QSize size(std::min(area.width(), width), area.height() * 9 / 10);
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
}

}  // namespace tarquelas
