// Validation benchmark driver: validates one presentation file into an App
// directory and prints the time taken. bench/validate.sh runs it.
//
//   validate_bench voucher|registry <presentation file> <app directory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

#include "declarations/validators.h"
#include "support/text_file.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // figures with a point, whatever the desktop's locale
  const QStringList args = app.arguments();
  if (args.size() != 4 || (args[1] != u"voucher" && args[1] != u"registry")) {
    std::fprintf(stderr, "usage: validate_bench voucher|registry <presentation file> <app directory>\n");
    return 2;
  }
  const auto paths = tarquelas::WorkPaths::inDirectory(args[3]);
  if (!tarquelas::removeIfExists(paths.auxiliar).isOk() || !tarquelas::removeIfExists(paths.errores).isOk()) {
    std::fprintf(stderr, "cannot clear the working files in %s\n", qPrintable(args[3]));
    return 1;
  }
  QElapsedTimer timer;
  timer.start();
  const tarquelas::Status status = args[1] == u"voucher" ? tarquelas::validarArchivoTarquelas(args[2], paths)
                                                         : tarquelas::validarArchivoPadron(args[2], paths);
  const qint64 elapsed = timer.nsecsElapsed();
  if (!status.isOk()) {
    std::fprintf(stderr, "%s\n", qPrintable(status.description()));
    return 1;
  }
  std::printf("seconds %.3f\n", double(elapsed) / 1e9);
  std::printf("rejected %s\n", QFileInfo::exists(paths.errores) ? "yes" : "no");
  std::printf("auxiliary_bytes %lld\n", QFileInfo(paths.auxiliar).size());
  return 0;
}
