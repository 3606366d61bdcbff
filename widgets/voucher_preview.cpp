#include "widgets/voucher_preview.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "printing/print_queue.h"
#include "printing/printer_pages.h"
#include "voucher_report/voucher_index.h"
#include "voucher_report/voucher_report.h"
#include "voucher_report/voucher_search.h"
#include "widgets/dialog_progress.h"
#include "widgets/found_vouchers.h"
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

QSettings settings() { return QSettings(QStringLiteral("Tarquelas"), QStringLiteral("Tarquelas")); }

const QString kModeKey = QStringLiteral("vistaPrevia/modo");
const QString kFitKey = QStringLiteral("vistaPrevia/ajuste");
const QString kZoomKey = QStringLiteral("vistaPrevia/zoom");
const QString kFolderKey = QStringLiteral("vistaPrevia/carpetaPdf");

constexpr double kZoomEpsilon = 0.001;

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
  auto* findBar = new QToolBar(this);
  addFind(*findBar);
  addKeys();
  foundModel_ = new FoundVouchers(report.index(), this);
  foundList_ = new QTableView(this);
  foundList_->setModel(foundModel_);
  foundList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  foundList_->setSelectionMode(QAbstractItemView::SingleSelection);
  foundList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  foundList_->verticalHeader()->hide();
  foundList_->verticalHeader()->setDefaultSectionSize(foundList_->fontMetrics().height() + 6);
  foundList_->horizontalHeader()->setStretchLastSection(true);
  foundList_->setAccessibleName(QStringLiteral("Comprobantes encontrados"));
  foundList_->hide();
  connect(foundList_, &QTableView::clicked, this, [this](const QModelIndex& at) { goToFound(at.row()); });
  connect(foundList_, &QTableView::activated, this, [this](const QModelIndex& at) { goToFound(at.row()); });
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(pages_);
  split->addWidget(foundList_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  status_ = new QLabel(this);
  status_->setTextFormat(Qt::PlainText);
  status_->setContentsMargins(6, 2, 6, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(findBar);
  layout->addWidget(split, 1);
  layout->addWidget(status_);
  connect(pages_, &PreviewPages::currentPageChanged, this, &VoucherPreview::showCurrentPage);
  connect(pages_, &PreviewPages::zoomChanged, this, &VoucherPreview::showZoom);
  connect(pages_, &PreviewPages::firstPageShown, this, &VoucherPreview::firstPageShown);
  restoreSettings();
  showCurrentPage(pages_->currentPage());
  showZoom(pages_->zoom());
  pages_->setFocus();
  placeLarge();
}

VoucherPreview::~VoucherPreview() = default;

void VoucherPreview::setPresentationFile(const QString& path) { presentation_ = path; }

void VoucherPreview::addNavigation(QToolBar& bar) {
  const QStyle* look = style();
  const auto step = [this](int steps) {
    return [this, steps] { pages_->setCurrentPage(pages_->stepFrom(pages_->currentPage(), steps)); };
  };
  first_ = toolAction(bar, QStringLiteral("Primera página"), QStringLiteral("Primera página"),
                      QKeySequence(Qt::Key_Home), look->standardIcon(QStyle::SP_MediaSkipBackward));
  first_->setShortcuts({QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)});
  connect(first_, &QAction::triggered, this, [this] { pages_->setCurrentPage(0); });
  previous_ = toolAction(bar, QStringLiteral("Página anterior"), QStringLiteral("Página anterior"),
                         QKeySequence(Qt::Key_PageUp), look->standardIcon(QStyle::SP_MediaSeekBackward));
  previous_->setShortcuts({QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_Left)});
  connect(previous_, &QAction::triggered, this, step(-1));
  pageBox_ = new QLineEdit(&bar);
  pageBox_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), pageBox_));
  pageBox_->setAlignment(Qt::AlignRight);
  pageBox_->setMaximumWidth(pageBox_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  pageBox_->setAccessibleName(QStringLiteral("Página"));
  pageBox_->installEventFilter(this);
  connect(pageBox_, &QLineEdit::textEdited, this, &VoucherPreview::checkTypedPage);
  connect(pageBox_, &QLineEdit::returnPressed, this, &VoucherPreview::goToTypedPage);
  bar.addWidget(pageBox_);
  auto* total = new QLabel(QStringLiteral(" / %1 ").arg(pages_->pageCount()), &bar);
  bar.addWidget(total);
  next_ = toolAction(bar, QStringLiteral("Página siguiente"), QStringLiteral("Página siguiente"),
                     QKeySequence(Qt::Key_PageDown), look->standardIcon(QStyle::SP_MediaSeekForward));
  next_->setShortcuts({QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Right)});
  connect(next_, &QAction::triggered, this, step(1));
  last_ = toolAction(bar, QStringLiteral("Última página"), QStringLiteral("Última página"),
                     QKeySequence(Qt::Key_End), look->standardIcon(QStyle::SP_MediaSkipForward));
  last_->setShortcuts({QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)});
  connect(last_, &QAction::triggered, this, [this] { pages_->setCurrentPage(pages_->pageCount() - 1); });
}

void VoucherPreview::addZoom(QToolBar& bar) {
  zoomOut_ = toolAction(bar, QStringLiteral("−"), QStringLiteral("Alejar"), QKeySequence(Qt::Key_Minus));
  zoomOut_->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(QKeySequence::ZoomOut)});
  connect(zoomOut_, &QAction::triggered, pages_, &PreviewPages::zoomOut);
  zoomBox_ = new QComboBox(&bar);
  zoomBox_->setEditable(true);
  zoomBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const int percent : {10, 25, 50, 75, 100, 125, 150, 200, 300, 400})
    zoomBox_->addItem(QStringLiteral("%1 %").arg(percent));
  zoomBox_->lineEdit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral(" *[0-9]{0,3} *%? *")), zoomBox_));
  zoomBox_->setAccessibleName(QStringLiteral("Tamaño"));
  zoomBox_->setToolTip(
      QStringLiteral("Tamaño de las páginas, de 10 % a 400 %: elija uno o escríbalo y pulse Intro (Ctrl + "
                     "rueda del ratón para cambiarlo)"));
  zoomBox_->lineEdit()->installEventFilter(this);
  connect(zoomBox_, &QComboBox::textActivated, this, &VoucherPreview::takeTypedZoom);
  connect(zoomBox_->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { takeTypedZoom(zoomBox_->lineEdit()->text()); });
  bar.addWidget(zoomBox_);
  zoomIn_ = toolAction(bar, QStringLiteral("+"), QStringLiteral("Acercar"), QKeySequence(Qt::Key_Plus));
  zoomIn_->setShortcuts(
      {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence(QKeySequence::ZoomIn)});
  connect(zoomIn_, &QAction::triggered, pages_, &PreviewPages::zoomIn);
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
    action->setData(int(fit));
    fits->addAction(action);
    fitActions_.push_back(action);
    connect(action, &QAction::triggered, this,
            [this, fit](bool on) { pages_->setFit(on ? fit : PreviewPages::Fit::None); });
  }
  // A zoom of the user's own leaves both fits.
  connect(pages_, &PreviewPages::zoomChanged, fits, [this] {
    for (QAction* action : fitActions_) action->setChecked(action->data().toInt() == int(pages_->fit()));
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
    action->setData(int(mode));
    modes->addAction(action);
    modeActions_.push_back(action);
    connect(action, &QAction::triggered, this, [this, mode] {
      pages_->setMode(mode);
      showStates();
    });
  }
}

void VoucherPreview::addCommands(QToolBar& bar) {
  connect(toolAction(bar, QStringLiteral("Imprimir…"), QStringLiteral("Imprimir los comprobantes"),
                     QKeySequence(Qt::CTRL | Qt::Key_P)),
          &QAction::triggered, this, [this] { printFromDialog(Pages::All); });
  QAction* save = toolAction(bar, QStringLiteral("Guardar como PDF…"),
                             QStringLiteral("Guardar los comprobantes en un archivo PDF"),
                             QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(save, &QAction::triggered, this, [this] { saveFromDialog(Pages::All); });
  auto* menu = new QMenu(this);
  connect(menu->addAction(QStringLiteral("Todos los comprobantes…")), &QAction::triggered, this,
          [this] { saveFromDialog(Pages::All); });
  connect(menu->addAction(QStringLiteral("Este comprobante…")), &QAction::triggered, this,
          [this] { saveFromDialog(Pages::Voucher); });
  saveFound_ = menu->addAction(QStringLiteral("Comprobantes encontrados…"));
  saveFound_->setEnabled(false);
  connect(saveFound_, &QAction::triggered, this, [this] { saveFromDialog(Pages::Found); });
  save->setMenu(menu);
  if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(save)))
    button->setPopupMode(QToolButton::MenuButtonPopup);
  connect(toolAction(bar, QStringLiteral("Cerrar"), QStringLiteral("Cerrar la vista previa"),
                     QKeySequence(Qt::Key_Escape)),
          &QAction::triggered, this, &QDialog::reject);
}

void VoucherPreview::addFind(QToolBar& bar) {
  bar.addWidget(new QLabel(QStringLiteral(" Buscar: "), &bar));
  findBox_ = new QLineEdit(&bar);
  findBox_->setPlaceholderText(QStringLiteral("C.U.I.T., Nº o nombre del consorcio, Nº tarquela"));
  findBox_->setClearButtonEnabled(true);
  findBox_->setAccessibleName(QStringLiteral("Buscar"));
  findBox_->setToolTip(
      QStringLiteral("Buscar un comprobante por C.U.I.T. (con o sin guiones), número o nombre del consorcio "
                     "(cualquier parte) "
                     "o Nº tarquela. Intro: el siguiente; Mayús+Intro: el anterior"));
  findBox_->setMinimumWidth(findBox_->fontMetrics().horizontalAdvance(findBox_->placeholderText()) + 40);
  findBox_->installEventFilter(this);
  connect(findBox_, &QLineEdit::textEdited, this, &VoucherPreview::find);
  bar.addWidget(findBox_);
  connect(toolAction(bar, QStringLiteral("Anterior"), QStringLiteral("Comprobante encontrado anterior"),
                     QKeySequence(Qt::SHIFT | Qt::Key_F3)),
          &QAction::triggered, this, &VoucherPreview::findPrevious);
  connect(toolAction(bar, QStringLiteral("Siguiente"), QStringLiteral("Comprobante encontrado siguiente"),
                     QKeySequence(Qt::Key_F3)),
          &QAction::triggered, this, &VoucherPreview::findNext);
  findLabel_ = new QLabel(&bar);
  findLabel_->setTextFormat(Qt::PlainText);
  findLabel_->setContentsMargins(6, 0, 6, 0);
  bar.addWidget(findLabel_);
  QAction* list = toolAction(bar, QStringLiteral("Lista"),
                             QStringLiteral("Mostrar la lista de los comprobantes encontrados"),
                             QKeySequence(Qt::Key_F4));
  list->setCheckable(true);
  connect(list, &QAction::toggled, this, [this](bool on) {
    foundList_->setVisible(on);
    if (!on) return;
    // Columns wide enough for their usual texts; the list at most two fifths of the window.
    const QFontMetrics metrics = foundList_->fontMetrics();
    const QString samples[] = {QStringLiteral("CONSORCIO PARANÁ 0000"), QStringLiteral("00-00000000-0"),
                               QStringLiteral("Formulario"), QStringLiteral("Página")};
    int columns = 0;
    for (int column = 0; column < 4; ++column) {
      foundList_->setColumnWidth(column, metrics.horizontalAdvance(samples[column]) + 16);
      columns += foundList_->columnWidth(column);
    }
    auto* split = static_cast<QSplitter*>(foundList_->parentWidget());
    const int total = split->width();
    const int wanted =
        std::min(total * 2 / 5, columns + foundList_->verticalScrollBar()->sizeHint().width() + 4);
    split->setSizes({total - wanted, wanted});
  });
  bar.addSeparator();
  connect(toolAction(bar, QStringLiteral("Imprimir este comprobante…"),
                     QStringLiteral("Imprimir todas las páginas del comprobante a la vista")),
          &QAction::triggered, this, [this] { printFromDialog(Pages::Voucher); });
}

// Keys without a button of their own.
void VoucherPreview::addKeys() {
  const auto key = [this](const QKeySequence& sequence, auto handler) {
    auto* action = new QAction(this);
    action->setShortcut(sequence);
    addAction(action);
    connect(action, &QAction::triggered, this, handler);
  };
  key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
    findBox_->setFocus(Qt::ShortcutFocusReason);
    findBox_->selectAll();
  });
  key(QKeySequence(Qt::Key_Space), [this] { pages_->screenDown(); });
  key(QKeySequence(Qt::SHIFT | Qt::Key_Space), [this] { pages_->screenUp(); });
  key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { pages_->setZoom(1.0); });
}

bool VoucherPreview::eventFilter(QObject* watched, QEvent* event) {
  const bool box = watched == pageBox_ || watched == findBox_ || watched == zoomBox_->lineEdit();
  if (!box || (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
    return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (key->key() != Qt::Key_Escape && !(enter && watched == findBox_))
    return QDialog::eventFilter(watched, event);
  // Escape in a box undoes its edit and leaves the box, the preview open.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (enter) {
    if (key->modifiers() & Qt::ShiftModifier) {
      findPrevious();
    } else {
      findNext();
    }
  } else {
    showCurrentPage(pages_->currentPage());
    showZoom(pages_->zoom());
    pages_->setFocus();
  }
  return true;
}

void VoucherPreview::find(const QString& text) {
  if (findBox_->text() != text) findBox_->setText(text);
  const voucher::VoucherSearch search(text);
  searched_ = text;
  position_ = -1;
  foundModel_->setFound(search.find(report_.index()));
  showFound();
}

const std::vector<qint64>& VoucherPreview::found() const { return foundModel_->found(); }

void VoucherPreview::findNext() {
  if (findBox_->text().trimmed().isEmpty()) {
    findBox_->setFocus(Qt::ShortcutFocusReason);  // nothing to find yet: F3 asks for it
    return;
  }
  if (findBox_->text() != searched_) find(findBox_->text());
  const std::vector<qint64>& all = found();
  if (all.empty()) return showFound();
  const qint64 here = report_.index().voucherOfPage(pages_->currentPage());
  const auto after = position_ < 0 ? std::lower_bound(all.begin(), all.end(), here)
                                   : std::upper_bound(all.begin(), all.end(), all[std::size_t(position_)]);
  goToFound(after == all.end() ? 0 : after - all.begin());
}

void VoucherPreview::findPrevious() {
  if (findBox_->text() != searched_) find(findBox_->text());
  const std::vector<qint64>& all = found();
  if (all.empty()) return showFound();
  const qint64 here =
      position_ < 0 ? report_.index().voucherOfPage(pages_->currentPage()) + 1 : all[std::size_t(position_)];
  const auto before = std::lower_bound(all.begin(), all.end(), here);
  goToFound(before == all.begin() ? qsizetype(all.size()) - 1 : before - all.begin() - 1);
}

void VoucherPreview::goToFound(qsizetype position) {
  if (position < 0 || position >= qsizetype(found().size())) return;
  position_ = position;
  pages_->setCurrentPage(int(report_.index().voucher(found()[std::size_t(position)]).firstPage));
  foundList_->selectRow(int(position));
  foundList_->scrollTo(foundModel_->index(int(position), 0));
  showFound();
}

QString VoucherPreview::findState() const { return findLabel_->text(); }

QString VoucherPreview::statusText() const { return status_->text(); }

void VoucherPreview::showFound() {
  const qsizetype count = qsizetype(found().size());
  QString state;
  if (!voucher::VoucherSearch(searched_).isEmpty()) {
    if (count == 0) {
      state = QStringLiteral("No se encontró ningún comprobante");
    } else if (position_ >= 0) {
      state = QStringLiteral("%1 de %2").arg(position_ + 1).arg(count);
    } else {
      state = count == 1 ? QStringLiteral("1 encontrado") : QStringLiteral("%1 encontrados").arg(count);
    }
  }
  if (fileChanged()) state += QStringLiteral(" (el archivo cambió)");
  findLabel_->setText(state.trimmed());
  saveFound_->setEnabled(count > 0);
}

bool VoucherPreview::fileChanged() {
  if (!report_.index().fileChanged()) return false;
  status_->setText(
      QStringLiteral("%1 cambió desde que se abrió la vista previa: las páginas y lo que se encuentre "
                     "pueden no coincidir con él.")
          .arg(QFileInfo(report_.index().path()).fileName()));
  return true;
}

PageSet VoucherPreview::pagesOf(Pages what) const {
  const voucher::VoucherIndex& index = report_.index();
  switch (what) {
    case Pages::Voucher: {
      const qint64 here = index.voucherOfPage(pages_->currentPage());
      if (here < 0) return {};
      const qint64 one[] = {here};
      return index.pagesOfVouchers(one);
    }
    case Pages::Found: return index.pagesOfVouchers(found());
    case Pages::All: break;
  }
  return report_.allPages();
}

Status VoucherPreview::checkedOutput(const QString& path) const {
  const QString refused = outputCheck_ && !path.isEmpty() ? outputCheck_(path) : QString();
  return refused.isEmpty() ? Status::ok() : Status::error(refused);
}

Status VoucherPreview::printSet(QPrinter& printer, const PageSet& pages) {
  if (Status refused = checkedOutput(printer.outputFileName()); !refused.isOk()) return refused;
  if (printer.outputFileName().isEmpty()) {
    if (const QString stopped = stoppedQueueWarning(printer.printerName()); !stopped.isEmpty())
      notify(stopped);
  }
  BusyPointer busy;
  DialogProgress progress(this);
  const Status status = printPages(report_, printer, pages, progress);
  progress.finish();
  if (status.isOk() && pageCount(pages) > 0) {
    status_->setText(
        printer.outputFileName().isEmpty()
            ? QStringLiteral("Enviado a la cola «%1»: %2 %3")
                  .arg(printer.printerName())
                  .arg(pageCount(pages))
                  .arg(pageCount(pages) == 1 ? QStringLiteral("página") : QStringLiteral("páginas"))
            : QStringLiteral("PDF guardado en %1").arg(QDir::toNativeSeparators(printer.outputFileName())));
  }
  return status;
}

Status VoucherPreview::print(QPrinter& printer) {
  if (printer.printRange() == QPrinter::Selection) return printSet(printer, pagesOf(Pages::Found));
  const PageRange range = requestedPages(printer, pages_->currentPage(), pages_->pageCount());
  return printSet(printer, range.count() > 0 ? PageSet{range} : PageSet{});
}

Status VoucherPreview::printVoucher(QPrinter& printer) { return printSet(printer, pagesOf(Pages::Voucher)); }

Status VoucherPreview::savePdf(const QString& path, Pages what) {
  if (Status refused = checkedOutput(path); !refused.isOk()) return refused;
  BusyPointer busy;
  DialogProgress progress(this);
  const Status status = report_.writePdf(path, pagesOf(what), progress);
  progress.finish();
  if (status.isOk()) {
    status_->setText(QStringLiteral("PDF guardado en %1").arg(QDir::toNativeSeparators(path)));
    lastPdf_ = path;
    settings().setValue(kFolderKey, QFileInfo(path).absolutePath());
  }
  return status;
}

void VoucherPreview::printFromDialog(Pages what) {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageLayout(report_.pageLayout());
    printer_->setFullPage(true);
    printer_->setDocName(QString::fromUtf16(kProgramTitle));
  }
  printer_->setPrintRange(QPrinter::AllPages);
  QPrintDialog dialog(printer_.get(), this);
  if (what == Pages::Voucher) {
    dialog.setWindowTitle(QStringLiteral("Imprimir este comprobante"));
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
  } else {
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
        QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile;
    if (!found().empty()) options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    dialog.setMinMax(std::min(1, pages_->pageCount()), pages_->pageCount());
    // The dialog's "selection" stands for the vouchers found.
    if (auto* selection = dialog.findChild<QRadioButton*>(QStringLiteral("printSelection")))
      selection->setText(QStringLiteral("Comprobantes encontrados"));
  }
  if (dialog.exec() != QDialog::Accepted) return;
  putToUser(what == Pages::Voucher ? printVoucher(*printer_) : print(*printer_));
}

QString VoucherPreview::proposedPdfPath() const {
  const QFileInfo input(presentation_);
  const QString name = presentation_.isEmpty() ? QStringLiteral("Tarquelas.pdf")
                                               : input.completeBaseName() + QStringLiteral(".pdf");
  if (!lastPdf_.isEmpty()) return QFileInfo(lastPdf_).dir().filePath(name);
  const QString remembered = settings().value(kFolderKey).toString();
  if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return QDir(remembered).filePath(name);
  if (!presentation_.isEmpty() && input.dir().exists()) return input.absoluteDir().filePath(name);
  return QDir::home().filePath(name);
}

void VoucherPreview::saveFromDialog(Pages what) {
  const QString titles[] = {QStringLiteral("Guardar como PDF"),
                            QStringLiteral("Guardar este comprobante como PDF"),
                            QStringLiteral("Guardar los comprobantes encontrados como PDF")};
  QString path = QFileDialog::getSaveFileName(this, titles[int(what)], proposedPdfPath(),
                                              QStringLiteral("Documentos PDF (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  putToUser(savePdf(path, what));
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
  pageBox_->setText(pages_->pageCount() > 0 ? QString::number(page + 1) : QString());
  checkTypedPage();
  fileChanged();  // said on the status line
  if (position_ >= 0 && report_.index().voucherOfPage(page) != found()[std::size_t(position_)]) {
    position_ = -1;
    showFound();
  }
  showStates();
}

// A number out of range is shown in red and not followed.
void VoucherPreview::checkTypedPage() {
  bool number = false;
  const int page = pageBox_->text().toInt(&number);
  const bool inRange = !pageBox_->text().isEmpty() && number && page >= 1 && page <= pages_->pageCount();
  const bool shownRed = !pageBox_->text().isEmpty() && !inRange;
  QPalette colours = pageBox_->palette();
  colours.setColor(QPalette::Text, shownRed ? QColor(Qt::red) : palette().color(QPalette::Text));
  pageBox_->setPalette(colours);
  pageBox_->setToolTip(
      pages_->pageCount() == 0
          ? QStringLiteral("No hay páginas")
          : QStringLiteral("Página actual: escriba un número de 1 a %1 y pulse Intro para ir a esa página")
                .arg(pages_->pageCount()));
  pageBox_->setProperty("fueraDeRango", shownRed);
}

void VoucherPreview::goToTypedPage() {
  if (pageBox_->property("fueraDeRango").toBool() || pageBox_->text().isEmpty()) return;
  pages_->setCurrentPage(pageBox_->text().toInt() - 1);
  showCurrentPage(pages_->currentPage());
}

void VoucherPreview::takeTypedZoom(const QString& text) {
  QString digits = text;
  digits.remove(QLatin1Char('%'));
  bool number = false;
  const int percent = digits.trimmed().toInt(&number);
  if (number && percent > 0) pages_->setZoom(percent / 100.0);
  showZoom(pages_->zoom());
}

void VoucherPreview::showZoom(double zoom) {
  zoomBox_->setEditText(QStringLiteral("%1 %").arg(qRound(zoom * 100)));
  showStates();
}

void VoucherPreview::showStates() {
  first_->setEnabled(!pages_->atFirstPage());
  previous_->setEnabled(!pages_->atFirstPage());
  next_->setEnabled(!pages_->atLastPage());
  last_->setEnabled(!pages_->atLastPage());
  zoomOut_->setEnabled(pages_->zoom() > PreviewPages::kMinZoom + kZoomEpsilon);
  zoomIn_->setEnabled(pages_->zoom() < PreviewPages::kMaxZoom - kZoomEpsilon);
}

void VoucherPreview::restoreSettings() {
  const QSettings kept = settings();
  const auto mode =
      PreviewPages::Mode(std::clamp(kept.value(kModeKey, int(PreviewPages::Mode::Continuous)).toInt(), 0, 2));
  const auto fit =
      PreviewPages::Fit(std::clamp(kept.value(kFitKey, int(PreviewPages::Fit::Page)).toInt(), 0, 2));
  pages_->setMode(mode);
  if (fit == PreviewPages::Fit::None) {
    pages_->setZoom(kept.value(kZoomKey, 1.0).toDouble());
  } else {
    pages_->setFit(fit);
  }
  for (QAction* action : modeActions_) action->setChecked(action->data().toInt() == int(mode));
  for (QAction* action : fitActions_) action->setChecked(action->data().toInt() == int(pages_->fit()));
}

void VoucherPreview::keepSettings() const {
  QSettings kept = settings();
  kept.setValue(kModeKey, int(pages_->mode()));
  kept.setValue(kFitKey, int(pages_->fit()));
  kept.setValue(kZoomKey, pages_->zoom());
}

void VoucherPreview::done(int result) {
  keepSettings();
  pages_->releaseImages();
  report_.releasePages();
  QDialog::done(result);
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
