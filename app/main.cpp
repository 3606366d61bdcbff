// The program: the window on an optional presentation file, or batch mode.
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "app/batch.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/translation.h"
#include "report_engine/fonts.h"
#include "support/app_directory.h"

namespace {

// Arguments decoded as file names are; a name whose bytes are not valid
// in the system's encoding keeps the marks that tell it apart.
QStringList argumentsOf(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args.append(QFile::decodeName(argv[i]));
  return args;
}

// Batch mode's standard error carries the program's own messages only:
// Qt's warnings about a desktop that batch mode does not use would bury them.
void onlyFatalQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) QTextStream(stderr) << message << '\n';
}

int runWindow(int argc, char** argv, const QString& path) {
  QApplication app(argc, argv);
  tarquelas::registerProgramFonts();
  tarquelas::installSpanishQtTexts(app);
  tarquelas::frmGeneracionDeTarquelas window({tarquelas::appDirectory()});
  window.Form_Load(path);
  window.show();
  return QApplication::exec();
}

int runBatch(int argc, char** argv, const tarquelas::CommandLine& command) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(onlyFatalQtMessages);
  QGuiApplication app(argc, argv);
  tarquelas::registerProgramFonts();
  QTextStream out(stdout);
  QTextStream err(stderr);
  return tarquelas::runBatch({command.path, command.directory, command.pdf, command.trabajadores,
                              command.printQueue, command.cuits, command.symbology},
                             out, err);
}

int print(const QString& text, FILE* stream, int status) {
  QTextStream(stream) << text;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  using Mode = tarquelas::CommandLine::Mode;
  const tarquelas::CommandLine command = tarquelas::parseCommandLine(argumentsOf(argc, argv));
  switch (command.mode) {
    case Mode::Window: return runWindow(argc, argv, command.path);
    case Mode::Batch: return runBatch(argc, argv, command);
    case Mode::Help: return print(tarquelas::helpText(), stdout, tarquelas::kExitProcessed);
    case Mode::Version: return print(tarquelas::versionText(), stdout, tarquelas::kExitProcessed);
    case Mode::WrongUsage: break;
  }
  return print(command.problem + QStringLiteral("\n\n") + tarquelas::helpText(), stderr,
               tarquelas::kExitFailure);
}
