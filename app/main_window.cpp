#include "app/main_window.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include "app/file_kind.h"
#include "app/picture_button.h"
#include "app/processing_run.h"
#include "app/recognition.h"
#include "support/folder_lock.h"
#include "support/text_file.h"
#include "support/varias.h"
#include "widgets/ovra_common_dialog.h"
#include "widgets/teclas.h"

// Resources of a static library are registered by hand.
static void initResources() { Q_INIT_RESOURCE(app); }

namespace tarquelas {

// Twips to pixels through the screen's logical resolution.
class TwipsScale {
 public:
  explicit TwipsScale(double dpi) : dpi_(dpi) {}
  int px(int twips) const { return qRound(twips * dpi_ / 1440.0); }
  template <typename Twips>
  QRect rect(const Twips& t) const {
    return {px(t.left), px(t.top), px(t.width), px(t.height)};
  }

 private:
  double dpi_;
};

namespace {

// Positions in twips (1/1440 inch): left, top, width, height. The three
// controls of the frame are placed relative to it.
struct Twips {
  int left, top, width, height;
};
constexpr QSize kClientArea{8895, 3975};
constexpr Twips kFraArchivo{240, 285, 8445, 915};
constexpr Twips kLbl{165, 225, 7155, 225};
constexpr Twips kTxtArchivoTarquelas{135, 525, 7725, 315};
constexpr Twips kCmdVerArchivos{7905, 525, 405, 300};
constexpr Twips kChkTrabajadores{315, 1275, 3795, 285};
constexpr Twips kLblINFO{240, 1890, 8445, 1185};
constexpr Twips kCmdProcesar{7875, 3315, 810, 525};
constexpr Twips kCmdSalir{240, 3315, 735, 525};

const QColor kDarkRed(128, 0, 0);
constexpr char16_t kFilter[] = u"Archivos de texto ASCII(*.txt)|*.txt|Todos los archivos (*.*)|*.*";
// The file must exist; the read-only box is hidden (4100).
constexpr qint32 kBrowseFlags = kFileMustExist | kHideReadOnly;

// Room for the caption of a label, check box or button.
int captionRoom(const QWidget& control) {
  constexpr int kButtonMargin = 4;
  if (qobject_cast<const QCheckBox*>(&control) != nullptr) {
    const QStyle* style = control.style();
    return control.width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &control) -
           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &control);
  }
  if (qobject_cast<const QPushButton*>(&control) != nullptr) return control.width() - kButtonMargin;
  return control.width();
}

QString captionOf(const QWidget& control) {
  if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
    return QString(button->text()).remove(QLatin1Char('&'));
  }
  return {};
}

// Where Tahoma is missing its stand-in may be wider: a caption that would
// not fit its control is drawn condensed rather than cut off.
void keepTextWhole(QWidget& control) {
  const QString caption = captionOf(control);
  if (QFontMetrics(control.font()).horizontalAdvance(caption) <= captionRoom(control)) return;
  QFont condensed = control.font();
  condensed.setFamily(QStringLiteral("DejaVu Sans Condensed"));
  control.setFont(condensed);
}

// A control named as the design names it, at its place.
template <typename Control>
Control* placed(Control* control, const char* name, const QRect& at) {
  control->setObjectName(QLatin1String(name));
  control->setGeometry(at);
  return control;
}

double screenDpi(const QWidget& w) {
  const QScreen* screen = w.screen();
  return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

QFont fontOf(const QString& family, double points, bool bold) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QFont tahoma(double points) { return fontOf(QStringLiteral("Tahoma"), points, false); }

// How much ink a line of text takes in font.
qint64 inkOf(const QFont& font) {
  QImage image(240, 40, QImage::Format_Grayscale8);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(2, 30, QStringLiteral("Imprimir comprobantes 1234"));
  painter.end();
  qint64 ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) ink += 255 - line[x];
  }
  return ink;
}

// Tahoma in bold. Some stand-ins for Tahoma call a light face bold; then a
// condensed bold sans of the same width takes its place, so the bold texts
// still stand out.
QFont tahomaBold(double points) {
  const QFont bold = fontOf(QStringLiteral("Tahoma"), points, true);
  constexpr double kBoldInk = 1.15;
  if (inkOf(bold) > kBoldInk * inkOf(tahoma(points))) return bold;
  return fontOf(QStringLiteral("DejaVu Sans Condensed"), points, true);
}

// The dialog's file name as the person chose it. The extension rule
// appends ".*" to a name without a point chosen under "Todos los
// archivos"; that names no file here, so it is taken off again.
QString asChosen(const QString& fileName) {
  const QString withoutPattern = fileName.chopped(fileName.endsWith(QStringLiteral(".*")) ? 2 : 0);
  return QFileInfo::exists(fileName) || !QFileInfo::exists(withoutPattern) ? fileName : withoutPattern;
}

// The first local file of a file list, or nothing.
QString firstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

void centrarFormulario(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window.move(area.topLeft() + centredTopLeft(area.size(), window.frameGeometry().size()));
}

frmGeneracionDeTarquelas::frmGeneracionDeTarquelas(Options options, QWidget* parent)
    : QDialog(parent), options_(std::move(options)) {
  initResources();
  setObjectName(QStringLiteral("frmGeneracionDeTarquelas"));
  // The program's main window: a window of its own on the task bar, with a
  // fixed size.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(QStringLiteral("Generación de Tarquelas y Comprobantes"));
  QIcon icon;
  for (const char* size : {"16", "32", "48"}) {
    icon.addFile(QStringLiteral(":/app/tarquelas-%1.png").arg(QLatin1String(size)));
  }
  setWindowIcon(icon);
  setFont(tahoma(8.25));
  buildControls();
  arrangeTabOrder();
  new PrevisualizacionTeclas(this, false);  // a path must keep its letters' case
}

frmGeneracionDeTarquelas::~frmGeneracionDeTarquelas() = default;

void frmGeneracionDeTarquelas::buildControls() {
  const TwipsScale scale(screenDpi(*this));
  setFixedSize(scale.px(kClientArea.width()), scale.px(kClientArea.height()));
  buildFileFrame(scale);
  buildSummary(scale);
  buildButtons(scale);
  for (QWidget* control : std::initializer_list<QWidget*>{lbl_, chkTrabajadores_, cmdProcesar_, cmdSalir_}) {
    keepTextWhole(*control);
  }
}

void frmGeneracionDeTarquelas::buildFileFrame(const TwipsScale& scale) {
  fraArchivo_ = placed(new QGroupBox(this), "fraArchivo", scale.rect(kFraArchivo));
  lbl_ = placed(new QLabel(QStringLiteral("Archivo a que contiene los datos de los consorcios para la "
                                          "generacion de las tarquelas:"),
                           fraArchivo_),
                "lbl", scale.rect(kLbl));
  txtArchivoTarquelas_ =
      placed(new QLineEdit(fraArchivo_), "txtArchivoTarquelas", scale.rect(kTxtArchivoTarquelas));
  txtArchivoTarquelas_->setAcceptDrops(true);
  txtArchivoTarquelas_->installEventFilter(this);
  connect(txtArchivoTarquelas_, &QLineEdit::textChanged, this, [this] { reconocerArchivo(); });
  cmdVerArchivos_ = placed(new QPushButton(QStringLiteral("..."), fraArchivo_), "cmdVerArchivos",
                           scale.rect(kCmdVerArchivos));
  connect(cmdVerArchivos_, &QPushButton::clicked, this, &frmGeneracionDeTarquelas::cmdVerArchivos_Click);
}

void frmGeneracionDeTarquelas::buildSummary(const TwipsScale& scale) {
  chkTrabajadores_ = placed(new QCheckBox(QStringLiteral("Imprimir comprobantes de trabajadores"), this),
                            "chkTrabajadores", scale.rect(kChkTrabajadores));
  chkTrabajadores_->setFont(tahomaBold(8.25));
  chkTrabajadores_->setVisible(false);

  lblINFO_ = placed(new QLabel(this), "lblINFO", scale.rect(kLblINFO));
  lblINFO_->setFont(tahomaBold(9.75));
  lblINFO_->setTextFormat(Qt::PlainText);
  lblINFO_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette info = lblINFO_->palette();
  info.setColor(QPalette::WindowText, kDarkRed);
  lblINFO_->setPalette(info);
}

void frmGeneracionDeTarquelas::buildButtons(const TwipsScale& scale) {
  cmdProcesar_ = placed(
      new PictureButton(QIcon(QStringLiteral(":/app/procesar.png")), QStringLiteral("&Procesar"), this),
      "cmdProcesar", scale.rect(kCmdProcesar));
  cmdProcesar_->setDefault(true);
  connect(cmdProcesar_, &QPushButton::clicked, this, &frmGeneracionDeTarquelas::cmdProcesar_Click);

  cmdSalir_ =
      placed(new PictureButton(QIcon(QStringLiteral(":/app/salir.png")), QStringLiteral("&Salir"), this),
             "cmdSalir", scale.rect(kCmdSalir));
  cmdSalir_->setToolTip(QStringLiteral("Cierra la Ventana"));
  connect(cmdSalir_, &QPushButton::clicked, this, &frmGeneracionDeTarquelas::cmdSalir_Click);
}

void frmGeneracionDeTarquelas::arrangeTabOrder() {
  QWidget::setTabOrder(txtArchivoTarquelas_, cmdVerArchivos_);
  QWidget::setTabOrder(cmdVerArchivos_, chkTrabajadores_);
  QWidget::setTabOrder(chkTrabajadores_, cmdProcesar_);
  QWidget::setTabOrder(cmdProcesar_, cmdSalir_);
  txtArchivoTarquelas_->setFocus();
}

void frmGeneracionDeTarquelas::Form_Load(const QString& commandLine) {
  centrarFormulario(*this);
  lblINFO_->clear();
  paths_ = WorkPaths::inDirectory(options_.appDir);
  if (commandLine.isEmpty()) return;
  const QString path = QString(commandLine).remove(QLatin1Char('"'));
  txtArchivoTarquelas_->setText(path);
  reconocerArchivo();
  if (!lblINFO_->text().isEmpty()) {
    cmdProcesar_Click();
  } else if (esNombreIrrepresentable(path)) {
    WindowRunUi(this, options_.openInViewer).showMessage(missingFileMessage(path));
  }
}

void frmGeneracionDeTarquelas::reconocerArchivo() {
  const Recognition r = recognizeFile(txtArchivoTarquelas_->text());
  switch (r.outcome) {
    case Recognition::Outcome::BlankPath: lblINFO_->clear(); return;
    case Recognition::Outcome::MissingFile: return;
    case Recognition::Outcome::Recognised: break;
  }
  sTipoArchivo_ = r.kind;
  sLineaCabecera_ = r.headerLine;
  // An empty summary would pass for a file read: the reason says what is wrong.
  lblINFO_->setText(r.unreadable.isEmpty() ? summaryForDisplay(r.summary) : r.unreadable);
  chkTrabajadores_->setVisible(fileKind(r.kind) == FileKind::Registry);
}

void frmGeneracionDeTarquelas::cmdVerArchivos_Click() {
  OvraCommonDialog dialog(options_.dialogs != nullptr ? *options_.dialogs : qtCommonDialogs());
  dialog.setFilter(QString::fromUtf16(kFilter));
  dialog.setFlags(kBrowseFlags);
  try {
    dialog.ShowOpen();
  } catch (const CommonDialogError& e) {
    WindowRunUi ui(this, options_.openInViewer);
    if (!ui.askContinue(e.description().isEmpty() ? QString::number(e.number()) : e.description())) return;
  }
  txtArchivoTarquelas_->setText(asChosen(dialog.FileName()));
  reconocerArchivo();
}

void frmGeneracionDeTarquelas::cmdProcesar_Click() {
  if (running_) return;  // a run never starts inside another
  running_ = true;
  RunRequest request;
  request.presentationPath = txtArchivoTarquelas_->text();
  request.paths = paths_;
  request.kind = sTipoArchivo_;
  request.headerLine = sLineaCabecera_;
  request.trabajadores = chkTrabajadores_->isChecked();
  WindowRunUi ui(this, options_.openInViewer);
  ui.guardFiles(request.presentationPath, request.paths);
  (void)procesarArchivo(request, ui);
  running_ = false;
}

void frmGeneracionDeTarquelas::cmdSalir_Click() {
  // While another program's run holds the App directory, its auxiliary
  // file is that run's.
  FolderLock lock(paths_.lock);
  const bool folderFree = lock.tryLock() != FolderLock::Result::Busy;
  if (folderFree && existeArchivo(paths_.auxiliar)) (void)removeIfExists(paths_.auxiliar);
  done(QDialog::Rejected);
}

void frmGeneracionDeTarquelas::keyPressEvent(QKeyEvent* event) {
  // Escape, wherever the focus is, acts as "&Salir"; closing the window by
  // its title bar deletes nothing.
  if (event->matches(QKeySequence::Cancel)) {
    cmdSalir_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool frmGeneracionDeTarquelas::acceptsDrop(const QMimeData* data) const {
  return !firstLocalFile(data).isEmpty();
}

void frmGeneracionDeTarquelas::txtArchivoTarquelas_OLEDragDrop(const QMimeData* data) {
  txtArchivoTarquelas_->setText(firstLocalFile(data));
  reconocerArchivo();
}

bool frmGeneracionDeTarquelas::eventFilter(QObject* watched, QEvent* event) {
  if (watched != txtArchivoTarquelas_) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (acceptsDrop(drag->mimeData())) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!acceptsDrop(drop->mimeData())) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      txtArchivoTarquelas_OLEDragDrop(drop->mimeData());
      return true;
    }
    default: return QDialog::eventFilter(watched, event);
  }
}

}  // namespace tarquelas
