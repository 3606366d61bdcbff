// The working files of the program, all in the App directory: the
// auxiliary file, the error file, the two templates and the printout.
#pragma once

#include <QString>

namespace tarquelas {

struct WorkPaths {
  QString appDir;
  QString auxiliar;          // TarquelasAux.txt (the window's ptyArchivoOK)
  QString errores;           // TarquelasErrores.txt
  QString disenoConsorcio;   // DisenoConsorcio.htm
  QString disenoTrabajador;  // DisenoTrabajador.htm
  QString padron;            // Padron.html
  QString pdf;               // Tarquelas.pdf: batch mode's vouchers, unless told otherwise
  QString lock;              // .Tarquelas.lock: held by the run that uses the folder

  // Each path is appDir followed by "/" and the file name; nothing is
  // added or removed, so an appDir ending in "/" gives a doubled one.
  static WorkPaths inDirectory(const QString& appDir);
};

}  // namespace tarquelas
