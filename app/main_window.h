// frmGeneracionDeTarquelas: the program's one window. The user names a
// presentation file (typing, the browse button, a drop, or the command
// line), sees its summary and starts the processing run with "&Procesar".
// The window owns the paths of the working files.
#pragma once

#include <QByteArray>
#include <QDialog>

#include "app/window_run_ui.h"
#include "support/work_paths.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;

namespace tarquelas {

class CommonDialogPlatform;
class TwipsScale;

class frmGeneracionDeTarquelas : public QDialog {
  Q_OBJECT
 public:
  struct Options {
    QString appDir;                               // the App directory
    ViewerOpener openInViewer = desktopViewer();  // the desktop's viewer
    CommonDialogPlatform* dialogs = nullptr;      // null: Qt's own dialogs
  };

  explicit frmGeneracionDeTarquelas(Options options, QWidget* parent = nullptr);
  ~frmGeneracionDeTarquelas() override;

  // Start-up: places the window, empties the summary, builds the working
  // paths and, for a command line that names a file, recognises it and
  // processes it. Runs before the window is first shown.
  void Form_Load(const QString& commandLine);

  // The auxiliary file's path (the window's public property).
  const QString& ptyArchivoOK() const { return paths_.auxiliar; }
  void setPtyArchivoOK(const QString& path) { paths_.auxiliar = path; }
  const WorkPaths& workPaths() const { return paths_; }
  const QByteArray& sTipoArchivo() const { return sTipoArchivo_; }
  const QByteArray& sLineaCabecera() const { return sLineaCabecera_; }

 public slots:
  void cmdVerArchivos_Click();
  void cmdProcesar_Click();
  void cmdSalir_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildFileFrame(const TwipsScale& scale);
  void buildSummary(const TwipsScale& scale);
  void buildButtons(const TwipsScale& scale);
  void arrangeTabOrder();
  void reconocerArchivo();
  // The drop on the path box: the first local file of a file list.
  bool acceptsDrop(const QMimeData* data) const;
  void txtArchivoTarquelas_OLEDragDrop(const QMimeData* data);

  Options options_;
  WorkPaths paths_;
  QByteArray sTipoArchivo_;
  QByteArray sLineaCabecera_;
  bool running_ = false;

  QGroupBox* fraArchivo_ = nullptr;
  QLabel* lbl_ = nullptr;
  QLineEdit* txtArchivoTarquelas_ = nullptr;
  QPushButton* cmdVerArchivos_ = nullptr;
  QCheckBox* chkTrabajadores_ = nullptr;
  QLabel* lblINFO_ = nullptr;
  QPushButton* cmdProcesar_ = nullptr;
  QPushButton* cmdSalir_ = nullptr;
};

// Places window centred across the screen's available area, a little above
// the middle.
void centrarFormulario(QWidget& window);

}  // namespace tarquelas
