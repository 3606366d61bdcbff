#include "declarations/validators.h"

#include "declarations/error_file.h"
#include "declarations/registry_checks.h"
#include "declarations/validation_run.h"
#include "declarations/voucher_checks.h"
#include "support/varias.h"

namespace tarquelas {

Status validarArchivoTarquelas(const QString& presentationPath, const WorkPaths& paths, Progress& progress) {
  const QString file = archivoDePresentacion(presentationPath);
  if (!existeArchivo(file)) return Status::ok();
  validation::Run run(paths, progress);
  if (Status opened = run.open(file); !opened.isOk()) return opened;
  QByteArray storage;
  while (const auto raw = run.next()) {
    const QByteArrayView line = voucher::repairedLine(*raw, storage);
    const QByteArray pieces = voucher::lineErrors(line);
    if (!pieces.isEmpty()) {
      run.errores.writeLine(error_file::voucherLine(run.lineNumber(), pieces));
    } else if (voucher::recordOf(line.size()) != voucher::Record::Closing) {
      run.auxiliar.writeLine(line);
    }
  }
  return run.finish();
}

Status validarArchivoPadron(const QString& presentationPath, const WorkPaths& paths, Progress& progress) {
  const QString file = archivoDePresentacion(presentationPath);
  if (!existeArchivo(file)) return Status::ok();
  validation::Run run(paths, progress);
  if (Status opened = run.open(file); !opened.isOk()) return opened;
  registry::Checker checker;
  bool clean = true;  // no finding yet: lines are still copied
  while (const auto line = run.next()) {
    const registry::Checker::Messages found = checker.check(*line);
    for (const QByteArrayView message : found) {
      run.errores.writeLine(error_file::registryLine(run.lineNumber(), message));
    }
    clean = clean && found.isEmpty();
    if (clean) run.auxiliar.writeLine(*line);
  }
  // The findings end with one empty line.
  if (run.completed() && run.errores.written()) run.errores.write("\r\n");
  return run.finish();
}

}  // namespace tarquelas
