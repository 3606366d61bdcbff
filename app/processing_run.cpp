#include "app/processing_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <iterator>

#include "app/file_kind.h"
#include "declarations/validators.h"
#include "declarations/voucher_layout.h"
#include "support/folder_lock.h"
#include "support/system_reason.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas {

namespace {

// Whether the auxiliary file of a voucher file holds a voucher: a line
// after the first that is not a header record. Reads only as far as the
// first such line. One that cannot be read is left for the report to
// explain.
bool holdsVouchers(const QString& auxPath) {
  LineReader reader;
  if (!reader.open(auxPath).isOk()) return existeArchivo(auxPath);
  (void)reader.next();
  while (const auto line = reader.next()) {
    if (line->size() != voucher::kHeaderLength) return true;
  }
  return false;
}

// One run: the steps in order, and what the user answered to a failure.
class Run {
 public:
  Run(const RunRequest& request, RunUi& ui, const RunSteps& steps)
      : request_(request),
        input_(archivoDePresentacion(request.presentationPath)),
        paths_(request.paths),
        ui_(ui),
        steps_(steps),
        lock_(request.paths.lock) {}

  RunOutcome execute() {
    if (!lockWorkFolder()) return outcome_;
    setBusy(true);
    go();
    setBusy(false);
    return outcome_;
  }

 private:
  bool isVoucherFile() const { return fileKind(request_.kind) == FileKind::Voucher; }
  bool isRegistryFile() const { return fileKind(request_.kind) == FileKind::Registry; }

  void go() {
    if (!inputsAreNotOutputs() || !presentationIsThere()) return;
    if (!clearWorkingFiles() || input_.isEmpty() || !validate()) return;
    if (erroresStale_) return;  // an old error file cannot give this run's verdict
    if (existeArchivo(paths_.errores)) return reportRejected();
    if (isVoucherFile() && !showVouchers()) return;
    if (isRegistryFile()) writePrintout();
  }

  // The App directory is this run's until it ends; another program's run
  // is waited for. A lock path that is no regular file ends the run at
  // once, also while waiting, and is never opened.
  bool lockWorkFolder() {
    auto result = lock_.tryLock();
    const auto taken = [this, &result] {
      result = lock_.tryLock();
      return result != FolderLock::Result::Busy;
    };
    if (result == FolderLock::Result::Busy && !ui_.waitForWorkFolder(taken)) {
      outcome_ = RunOutcome::Cancelled;
      return false;
    }
    if (result != FolderLock::Result::Refused) return true;
    (void)refuse(lock_.refusal());
    return false;
  }

  // Before anything is deleted: the presentation file is none of the
  // program's own files, and the PDF would replace none of them.
  bool inputsAreNotOutputs() {
    if (!input_.isEmpty() && isOwnFile(input_, paths_)) return refuse(workingFileMessage(input_));
    const QString pdf = ui_.voucherOutput();
    if (pdf.isEmpty()) return true;
    const QString refused = outputRefusal(pdf, input_, paths_);
    return refused.isEmpty() || refuse(refused);
  }

  bool refuse(const QString& message) {
    outcome_ = RunOutcome::Failed;
    setBusy(false);
    ui_.showMessage(message);
    return false;
  }

  // A presentation file that is not there, or cannot be opened, ends the
  // run before anything is touched: going on would write an empty printout
  // over the last good one.
  bool presentationIsThere() {
    if (input_.isEmpty()) return true;
    Status there =
        existeArchivo(input_) ? LineReader().open(input_) : Status::error(missingFileMessage(input_));
    if (there.isOk()) return true;
    (void)goOn(there);
    return false;
  }

  // Deletes the auxiliary file and then the error file. One that cannot be
  // deleted is stale: nothing of it is shown later in the run.
  bool clearWorkingFiles() {
    if (!clear(paths_.auxiliar, auxStale_)) return false;
    return clear(paths_.errores, erroresStale_);
  }

  bool clear(const QString& path, bool& stale) {
    const Status removed = removeIfExists(path);
    stale = !removed.isOk();
    return goOn(removed);
  }

  bool validate() {
    const auto& validator = isVoucherFile() ? steps_.validarArchivoTarquelas : steps_.validarArchivoPadron;
    return goOn(validator(input_, paths_, ui_.progress()));
  }

  void reportRejected() {
    outcome_ = RunOutcome::Rejected;
    setBusy(false);
    ui_.showMessage(rejectedMessage(request_.kind, paths_.errores));
    open(paths_.errores);
  }

  bool showVouchers() {
    if (auxStale_) return true;
    setBusy(false);
    if (!holdsVouchers(paths_.auxiliar)) {
      // After a failure the person chose to pass, nothing shown is that
      // failure's doing, not the file's.
      if (outcome_ != RunOutcome::Finished) return true;
      outcome_ = RunOutcome::NoVouchers;
      ui_.showMessage(noVouchersMessage());
      return true;
    }
    return goOn(ui_.showVoucherReport(paths_.auxiliar));
  }

  void writePrintout() {
    if (auxStale_) return;  // an old auxiliary file would print an old registry
    LoadResult loaded = steps_.cargarPadron(paths_.auxiliar, ui_.progress());
    if (!goOn(loaded.status)) return;
    const ShowMessage show = [this](const QString& text) { ui_.showMessage(text); };
    const Status written = steps_.generarHTMLFinal(loaded.registry, paths_, request_.headerLine,
                                                   request_.trabajadores, show, ui_.progress());
    // Going on after a failed printout would open an old or missing file.
    if (!goOn(written) || !written.isOk()) return;
    open(paths_.padron);
  }

  // A run that ends in a file always says where it is: when no viewer can
  // show it, a message names it.
  void open(const QString& path) {
    setBusy(false);
    if (!ui_.openInViewer(path)) ui_.showMessage(viewerFailedMessage(path));
  }

  // Puts a failed step to the user. True to go on with the next step.
  bool goOn(const Status& status) {
    if (status.isOk()) return true;
    if (status.isCancelled()) {
      cancel();
      return false;
    }
    outcome_ = RunOutcome::Failed;
    setBusy(false);
    return ui_.askContinue(status.description());
  }

  // A cancelled run leaves no working file of its own behind.
  void cancel() {
    outcome_ = RunOutcome::Cancelled;
    setBusy(false);
    if (!auxStale_) (void)removeIfExists(paths_.auxiliar);
    if (!erroresStale_) (void)removeIfExists(paths_.errores);
    ui_.showMessage(cancelledMessage());
  }

  void setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    ui_.setBusy(busy);
  }

  const RunRequest& request_;
  const QString input_;  // the presentation file, settled once
  const WorkPaths& paths_;
  RunUi& ui_;
  const RunSteps& steps_;
  FolderLock lock_;
  RunOutcome outcome_ = RunOutcome::Finished;
  bool busy_ = false;
  bool auxStale_ = false;
  bool erroresStale_ = false;
};

}  // namespace

RunSteps RunSteps::real() {
  RunSteps steps;
  steps.validarArchivoTarquelas = [](const QString& path, const WorkPaths& paths, Progress& progress) {
    return tarquelas::validarArchivoTarquelas(path, paths, progress);
  };
  steps.validarArchivoPadron = [](const QString& path, const WorkPaths& paths, Progress& progress) {
    return tarquelas::validarArchivoPadron(path, paths, progress);
  };
  steps.cargarPadron = [](const QString& auxPath, Progress& progress) {
    return tarquelas::cargarPadron(auxPath, progress);
  };
  steps.generarHTMLFinal = [](const Registry& registry, const WorkPaths& paths, QByteArrayView header,
                              bool trabajadores, const ShowMessage& show, Progress& progress) {
    return tarquelas::GenerarHTMLFinal(registry, paths, header, trabajadores, show, progress);
  };
  return steps;
}

QString rejectedMessage(const QByteArray& kind, const QString& errorFilePath) {
  const QString first = fileKind(kind) == FileKind::Voucher
                            ? QStringLiteral("No se pueden generar las tarquelas. ")
                            : QStringLiteral("No se pueden generar los comprobantes. ");
  return first + QLatin1Char('\r') + QStringLiteral("Archivo con errores: ") + QLatin1Char('\r') +
         printablePath(errorFilePath);
}

QString cancelledMessage() { return QStringLiteral("Proceso cancelado."); }

bool isOwnFile(const QString& path, const WorkPaths& paths) {
  const QString own[] = {paths.auxiliar,        paths.errores,          paths.padron,
                         paths.disenoConsorcio, paths.disenoTrabajador, paths.lock};
  return std::any_of(std::begin(own), std::end(own),
                     [&path](const QString& file) { return esMismoArchivo(path, file); });
}

QString outputRefusal(const QString& output, const QString& presentationPath, const WorkPaths& paths) {
  const auto refused = [&output](const QString& reason) {
    return fileErrorDescription(QStringLiteral("escribir"), printablePath(output), reason);
  };
  const QString input = archivoDePresentacion(presentationPath);
  if (!input.isEmpty() && esMismoArchivo(output, input))
    return refused(QStringLiteral("es el archivo que se procesa"));
  if (isOwnFile(output, paths)) return refused(QStringLiteral("es un archivo de trabajo del programa"));
  if (QCoreApplication::instance() == nullptr) return {};
  const QString program = QCoreApplication::applicationFilePath();
  if (esMismoArchivo(output, program)) return refused(QStringLiteral("es el programa"));
  if (isInAnyFolder(output, installedFolders(program, paths.appDir)))
    return refused(QStringLiteral("está en una carpeta de la instalación del programa"));
  return {};
}

QStringList installedFolders(const QString& program, const QString& appDir) {
  const QFileInfo executable(program);
  const QString folder = executable.canonicalPath();
  QStringList folders;
  // A copy of the program in a folder of its own works there: its
  // vouchers may go beside it.
  if (folder.isEmpty() || esMismoArchivo(folder, appDir)) return folders;
  folders.append(folder);
  // An installed layout: <prefix>/lib/tarquelas with the launcher and the
  // guide beside it.
  if (folder.endsWith(QStringLiteral("/lib/tarquelas"))) {
    const QString prefix = folder.chopped(int(qstrlen("/lib/tarquelas")));
    folders.append(prefix + QStringLiteral("/share/doc/tarquelas"));
    folders.append(prefix + QStringLiteral("/bin/tarquelas"));
  }
  return folders;
}

bool isInAnyFolder(const QString& path, const QStringList& folders) {
  // The folder the path would be written in, through any links.
  const QFileInfo info(path);
  QString where =
      info.exists() ? info.canonicalFilePath() : QFileInfo(info.absolutePath()).canonicalFilePath();
  if (where.isEmpty()) return false;
  return std::any_of(folders.cbegin(), folders.cend(), [&where](const QString& folder) {
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    return !resolved.isEmpty() && (where == resolved || where.startsWith(resolved + QLatin1Char('/')));
  });
}

QString workingFileMessage(const QString& path) {
  return QStringLiteral(
             "El archivo %1 es un archivo de trabajo del programa. Cópielo a otra carpeta y "
             "procéselo desde allí.")
      .arg(printablePath(path));
}

QString missingFileMessage(const QString& path) {
  if (esNombreIrrepresentable(path)) {
    return QStringLiteral(
               "No se puede usar el archivo %1: su nombre no es texto UTF-8 válido. Cámbiele el "
               "nombre y vuelva a elegirlo.")
        .arg(printablePath(path));
  }
  // Only a name that names nothing is "missing"; a name too long, a folder
  // that may not be entered, say so.
  if (const int error = pathError(path); error != 0 && error != ENOENT)
    return fileErrorDescription(QStringLiteral("abrir"), printablePath(path), systemReason(error));
  return QStringLiteral("No existe el archivo: %1").arg(printablePath(path));
}

QString unrepresentableOutputMessage(const QString& path, bool folder) {
  if (!esNombreIrrepresentable(path)) return {};
  return (folder ? QStringLiteral("No se puede usar la carpeta %1: su nombre no es texto UTF-8 válido. "
                                  "Elija otra carpeta.")
                 : QStringLiteral("No se puede escribir el archivo %1: su nombre no es texto UTF-8 válido. "
                                  "Elija otro nombre."))
      .arg(printablePath(path));
}

QString noVouchersMessage() { return QStringLiteral("El archivo no contiene comprobantes."); }

QString viewerFailedMessage(const QString& path) {
  return QStringLiteral("No se pudo abrir el visor del escritorio. El archivo está en:") + QLatin1Char('\r') +
         printablePath(path);
}

RunOutcome procesarArchivo(const RunRequest& request, RunUi& ui, const RunSteps& steps) {
  return Run(request, ui, steps).execute();
}

}  // namespace tarquelas
