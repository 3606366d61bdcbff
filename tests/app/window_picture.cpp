// Saves a picture of the main window with a presentation file recognised:
//   window_picture FILE OUT.png
// Run it on a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include "app/main_window.h"
#include "voucher_report/fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) return 2;
  tarquelas::registerProgramFonts();
  tarquelas::frmGeneracionDeTarquelas window({QDir::tempPath()});
  window.Form_Load(QString());
  window.findChild<QLineEdit*>(QStringLiteral("txtArchivoTarquelas"))
      ->setText(QString::fromLocal8Bit(argv[1]));
  window.show();
  const QString out = QString::fromLocal8Bit(argv[2]);
  QTimer::singleShot(500, [&window, out] { QApplication::exit(window.grab().save(out) ? 0 : 1); });
  return QApplication::exec();
}
