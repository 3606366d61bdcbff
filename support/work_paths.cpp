#include "support/work_paths.h"

namespace tarquelas {

WorkPaths WorkPaths::inDirectory(const QString& appDir) {
  WorkPaths p;
  p.appDir = appDir;
  p.auxiliar = appDir + QStringLiteral("/TarquelasAux.txt");
  p.errores = appDir + QStringLiteral("/TarquelasErrores.txt");
  p.disenoConsorcio = appDir + QStringLiteral("/DisenoConsorcio.htm");
  p.disenoTrabajador = appDir + QStringLiteral("/DisenoTrabajador.htm");
  p.padron = appDir + QStringLiteral("/Padron.html");
  p.pdf = appDir + QStringLiteral("/Tarquelas.pdf");
  p.lock = appDir + QStringLiteral("/.Tarquelas.lock");
  return p;
}

}  // namespace tarquelas
