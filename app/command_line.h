// The program's command line. Without options it names the presentation
// file the window opens on (all arguments joined with blanks, double
// quotes removed); with --procesar it asks for batch mode.
#pragma once

#include <QString>
#include <QStringList>

namespace tarquelas {

struct CommandLine {
  enum class Mode { Window, Batch, Help, Version, WrongUsage };
  Mode mode = Mode::Window;
  QString path;       // the window's path, or batch mode's FILE
  QString directory;  // --directorio: the App directory of a batch run
  QString pdf;        // --pdf: where the vouchers go in batch mode
  bool trabajadores = false;
  QString problem;     // what is wrong, for WrongUsage
  QString printQueue;  // --imprimir: the print queue of the vouchers in batch mode
  QStringList cuits;   // --cuit: only these consortia's vouchers, 11 digits each, as first given
  QString symbology;   // --simbologia: the bar code's, in lower case; empty for the settings file's
};

// arguments without the program's own name.
CommandLine parseCommandLine(const QStringList& arguments);

QString helpText();
QString versionText();

}  // namespace tarquelas
