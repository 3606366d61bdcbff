// The processing run behind "&Procesar" and batch mode: clears the working
// files, validates the presentation file by its kind, reports a rejected
// file, and then shows the voucher report or writes and opens Padron.html.
// A run holds the App directory for itself from start to end, so two
// programs never mix their working files. Widget-free: everything the
// person sees goes through RunUi.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "app/run_ui.h"
#include "registry_printout/printout.h"
#include "support/work_paths.h"

namespace tarquelas {

// What a run works on: the window's fields at the moment "&Procesar" is
// chosen.
struct RunRequest {
  QString presentationPath;   // the path box's text
  WorkPaths paths;            // ptyArchivoOK, sPathErrores, ...
  QByteArray kind;            // sTipoArchivo: "B", "D" or empty
  QByteArray headerLine;      // sLineaCabecera
  bool trabajadores = false;  // chkTrabajadores
};

enum class RunOutcome {
  Finished,    // went through to the end: report shown or printout opened
  NoVouchers,  // a voucher file without vouchers: said so, nothing shown
  Rejected,    // the error file was written, reported and opened
  Failed,      // an unexpected failure was put to the user (whatever the answer)
  Cancelled,   // the user cancelled; the working files of the run are gone
};

// The steps of a run that belong to other parts of the program; tests may
// put stand-ins in their place.
struct RunSteps {
  using Validator = std::function<Status(const QString&, const WorkPaths&, Progress&)>;
  using Loader = std::function<LoadResult(const QString&, Progress&)>;
  using Printout = std::function<Status(const Registry&, const WorkPaths&, QByteArrayView, bool,
                                        const ShowMessage&, Progress&)>;

  Validator validarArchivoTarquelas;
  Validator validarArchivoPadron;
  Loader cargarPadron;
  Printout generarHTMLFinal;

  // The program's own steps.
  static RunSteps real();
};

// The message of a rejected file: the kind's first line, CR, "Archivo con
// errores: ", CR, the error file's path.
QString rejectedMessage(const QByteArray& kind, const QString& errorFilePath);

// The message of a cancelled run.
QString cancelledMessage();

// The message that refuses a presentation file that is one of the App
// directory's working files or templates.
QString workingFileMessage(const QString& path);

// True when path is (the same file as) one of the App directory's working
// files or templates.
bool isOwnFile(const QString& path, const WorkPaths& paths);

// Why a file the run would write (a PDF, a print to a file) must not be
// written at output: it is the presentation file, one of the App
// directory's own files, the program itself or in one of its installed
// folders; empty when it may.
QString outputRefusal(const QString& output, const QString& presentationPath, const WorkPaths& paths);

// The folders installed with the program at program (its executable) that
// nothing is written in: the program's folder unless it is appDir, and for
// an install under <prefix>/lib/tarquelas the launcher and the guide's
// folder too.
QStringList installedFolders(const QString& program, const QString& appDir);

// Whether path is one of folders, or is or would be written inside one,
// through any links.
bool isInAnyFolder(const QString& path, const QStringList& folders);

// The description of a presentation file that is not there: "No existe el
// archivo: " and the path; for a name that cannot be represented, or one
// the system cannot look at (too long, in a folder that may not be
// entered), a message that says so.
QString missingFileMessage(const QString& path);

// The refusal of an output (a PDF, or the App directory when folder) whose
// name is not valid UTF-8, so would be written under another name; empty
// when the name can be used.
QString unrepresentableOutputMessage(const QString& path, bool folder);

// The message of a voucher file without vouchers.
QString noVouchersMessage();

// The message when no viewer could be started for path.
QString viewerFailedMessage(const QString& path);

// Runs the whole processing of request.presentationPath.
RunOutcome procesarArchivo(const RunRequest& request, RunUi& ui, const RunSteps& steps = RunSteps::real());

}  // namespace tarquelas
