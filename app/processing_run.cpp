#include "app/processing_run.h"

#include <QDir>

#include "declarations/validators.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas {

namespace {

// One run: the steps in order, and what the user answered to a failure.
class Run {
 public:
  Run(const RunRequest& request, RunUi& ui, const RunSteps& steps)
      : request_(request), paths_(request.paths), ui_(ui), steps_(steps) {}

  RunOutcome execute() {
    setBusy(true);
    go();
    setBusy(false);
    return outcome_;
  }

 private:
  bool isVoucherFile() const { return request_.kind == QByteArrayView("B"); }
  bool isRegistryFile() const { return request_.kind == QByteArrayView("D"); }

  void go() {
    if (!clearWorkingFiles() || !validate()) return;
    if (erroresStale_) return;  // an old error file cannot give this run's verdict
    if (existeArchivo(paths_.errores)) return reportRejected();
    if (isVoucherFile() && !showVouchers()) return;
    if (isRegistryFile()) writePrintout();
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
    return goOn(validator(request_.presentationPath, paths_, ui_.progress()));
  }

  void reportRejected() {
    outcome_ = RunOutcome::Rejected;
    setBusy(false);
    ui_.showMessage(rejectedMessage(request_.kind, paths_.errores));
    ui_.openInViewer(paths_.errores);
  }

  bool showVouchers() {
    if (auxStale_ || !existeArchivo(paths_.auxiliar)) return true;
    setBusy(false);
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
    ui_.openInViewer(paths_.padron);
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
  const WorkPaths& paths_;
  RunUi& ui_;
  const RunSteps& steps_;
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
  const QString first = kind == QByteArrayView("B")
                            ? QStringLiteral("No se pueden generar las tarquelas. ")
                            : QStringLiteral("No se pueden generar los comprobantes. ");
  return first + QLatin1Char('\r') + QStringLiteral("Archivo con errores: ") + QLatin1Char('\r') +
         QDir::toNativeSeparators(errorFilePath);
}

QString cancelledMessage() { return QStringLiteral("Proceso cancelado."); }

RunOutcome procesarArchivo(const RunRequest& request, RunUi& ui, const RunSteps& steps) {
  return Run(request, ui, steps).execute();
}

}  // namespace tarquelas
