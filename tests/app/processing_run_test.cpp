// The processing run: working files that cannot be read, written or deleted, the program's own
// files as input, the error prompt's answers, the App directory's lock and a cancelled run.
#include "app/processing_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <optional>

#include "app/recognition.h"
#include "app_test_files.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::samplePath;
using testing::writeBytes;

// Records what the run asks of the person, answers the error prompt from a list (No when the list
// runs out) and cancels at the first report of a stage.
class RecordingUi final : public RunUi, public Progress {
 public:
  QStringList messages, prompts, opened, reports;
  QList<bool> busy, answers;
  Status reportStatus;
  std::optional<Stage> cancelAt;
  bool viewerStarts = true;
  QString pdf;  // where the vouchers would be written

  void showMessage(const QString& text) override { messages.append(text); }
  bool askContinue(const QString& description) override {
    prompts.append(description);
    return !answers.isEmpty() && answers.takeFirst();
  }
  bool openInViewer(const QString& path) override {
    opened.append(path);
    return viewerStarts;
  }
  Status showVoucherReport(const QString& auxPath) override {
    reports.append(auxPath);
    return reportStatus;
  }
  QString voucherOutput() const override { return pdf; }
  Progress& progress() override { return *this; }
  bool report(Stage stage, qint64, qint64) override { return stage != cancelAt; }
  void setBusy(bool on) override { busy.append(on); }
  bool waitForWorkFolder(const std::function<bool()>&) override { return false; }  // gives up
};

class ProcessingRunTest : public ::testing::Test {
 protected:
  // A request for the file, as the window makes it after recognition.
  RunRequest requestFor(const QString& path) {
    const Recognition r = recognizeFile(path);
    return RunRequest{path, paths_, r.kind, r.headerLine, false};
  }
  QString fileWith(const QByteArray& bytes) {
    const QString path = input_.filePath(QStringLiteral("presentacion.txt"));
    EXPECT_TRUE(writeBytes(path, bytes));
    return path;
  }
  static bool exists(const QString& path) { return QFileInfo::exists(path); }

  QTemporaryDir dir_;    // the App directory
  QTemporaryDir input_;  // where presentation files are
  WorkPaths paths_ = WorkPaths::inDirectory(dir_.path());
};

// Nothing of an earlier run is taken for this one's; no file, no run.
TEST_F(ProcessingRunTest, EachRunStartsFromACleanSlate) {
  RecordingUi ui;
  writeBytes(paths_.auxiliar, "de una corrida anterior\r\n");
  writeBytes(paths_.errores, "de una corrida anterior\r\n");
  EXPECT_EQ(procesarArchivo(requestFor(fileWith(testing::faultyRegistry())), ui), RunOutcome::Rejected);
  EXPECT_FALSE(readBytes(paths_.errores).contains("anterior") ||
               readBytes(paths_.auxiliar).contains("anterior"));
  EXPECT_EQ(procesarArchivo(requestFor(samplePath("vouchers.txt")), ui), RunOutcome::Finished);
  EXPECT_FALSE(exists(paths_.errores));

  RecordingUi empty;  // "&Procesar" before any file was recognised
  QDir(dir_.path()).removeRecursively();
  EXPECT_EQ(procesarArchivo(RunRequest{QString(), paths_, {}, {}, false}, empty), RunOutcome::Finished);
  EXPECT_TRUE(empty.messages.isEmpty() && empty.prompts.isEmpty() && empty.opened.isEmpty());
  EXPECT_FALSE(exists(dir_.path()));
}

// Files that cannot be read, written or deleted are put to the user with their path, whatever the
// answer, and nothing stale is opened.
TEST_F(ProcessingRunTest, WorkingFileFailuresPromptAndOpenNothing) {
  const QString unwritable = testing::unwritableDirectory(input_);
  const QString folder = input_.filePath(QStringLiteral("carpeta.txt"));
  QDir().mkpath(folder);
  const QString missing = input_.filePath(QStringLiteral("no-existe.txt"));
  struct Case {
    QString appDir, presentation, stuck;  // stuck: a working file made a folder
    QString named;                        // in the first prompt
  } cases[] = {
      {unwritable, {}, {}, "TarquelasAux.txt"},
      {{}, {}, paths_.auxiliar, "TarquelasAux.txt"},
      {{}, {}, paths_.errores, "TarquelasErrores.txt"},
      {{}, folder, {}, "carpeta.txt"},
      {{}, missing, {}, "No existe el archivo: " + missing},
  };
  for (const Case& c : cases) {
    for (const char* sample : {"vouchers.txt", "registry.txt"}) {
      for (bool yes : {false, true}) {
        SCOPED_TRACE(c.named.toStdString() + ", " + sample + (yes ? ", yes" : ", no"));
        RecordingUi ui;
        ui.answers = QList<bool>(10, yes);
        RunRequest request = requestFor(samplePath(sample));
        if (!c.appDir.isEmpty()) request.paths = WorkPaths::inDirectory(c.appDir);
        if (!c.presentation.isEmpty()) request.presentationPath = c.presentation;
        if (!c.stuck.isEmpty()) QDir().mkpath(c.stuck + QStringLiteral("/dentro"));
        EXPECT_EQ(procesarArchivo(request, ui), RunOutcome::Failed);
        ASSERT_FALSE(ui.prompts.isEmpty());
        EXPECT_TRUE(ui.prompts.constFirst().contains(c.named)) << ui.prompts.constFirst().toStdString();
        EXPECT_TRUE(yes || ui.prompts.size() == 1);
        EXPECT_TRUE(ui.opened.isEmpty() && ui.reports.isEmpty() && !exists(request.paths.padron));
        EXPECT_EQ(ui.busy.count(true), ui.busy.count(false));
        if (!c.stuck.isEmpty()) QDir(c.stuck).removeRecursively();
      }
    }
  }
}

// One file for the whole run and its summary: the name as typed when that file exists, blanks and
// all, else the trimmed name.
TEST_F(ProcessingRunTest, TheFileSummarisedIsTheFileProcessed) {
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(input_.path()));
  const QByteArray good = readBytes(samplePath("vouchers.txt"));
  writeBytes(QStringLiteral("x.txt "), testing::faultyVouchers());
  writeBytes(QStringLiteral("x.txt"), good);
  writeBytes(QStringLiteral(" y.txt"), good);
  const std::pair<const char*, RunOutcome> cases[] = {
      {"x.txt ", RunOutcome::Rejected}, {"x.txt", RunOutcome::Finished}, {"  x.txt  ", RunOutcome::Finished},
      {" y.txt", RunOutcome::Finished}, {"y.txt", RunOutcome::Failed},
  };
  for (const auto& [typed, outcome] : cases) {
    SCOPED_TRACE(typed);
    RecordingUi ui;
    const RunRequest request = requestFor(QLatin1String(typed));
    EXPECT_EQ(procesarArchivo(request, ui), outcome);
    EXPECT_EQ(request.headerLine.mid(108, 2), outcome == RunOutcome::Rejected   ? "13"
                                              : outcome == RunOutcome::Finished ? "03"
                                                                                : "");
  }
  QDir::setCurrent(cwd);
}

// The program's own files are refused before anything is deleted, by identity (a link), as input
// and as the PDF's place.
TEST_F(ProcessingRunTest, OwnFilesAreNeverInputsNorThePdf) {
  const QString voucherFile = fileWith(readBytes(samplePath("vouchers.txt")));
  for (const QString& own : {paths_.auxiliar, paths_.errores, paths_.disenoConsorcio})
    writeBytes(own, testing::voucherHeader() + "\r\n");
  const QString link = input_.filePath(QStringLiteral("enlace.txt"));
  ASSERT_TRUE(QFile::link(paths_.errores, link));
  const auto pdfRefused = [](const QString& pdf, const char* reason) {
    return "No se puede escribir el archivo \"" + pdf + "\": " + QString::fromUtf8(reason);
  };
  const struct {
    QString input, pdf, message;
  } cases[] = {
      {link, {}, workingFileMessage(link)},
      {paths_.disenoConsorcio, {}, workingFileMessage(paths_.disenoConsorcio)},
      {voucherFile, voucherFile, pdfRefused(voucherFile, "es el archivo que se procesa")},
      {voucherFile, paths_.padron, pdfRefused(paths_.padron, "es un archivo de trabajo del programa")},
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    ui.pdf = c.pdf;
    EXPECT_EQ(procesarArchivo(requestFor(c.input), ui), RunOutcome::Failed);
    EXPECT_EQ(ui.messages, QStringList{c.message});
    EXPECT_TRUE(ui.reports.isEmpty() && ui.opened.isEmpty());
    EXPECT_EQ(readBytes(paths_.auxiliar) + readBytes(paths_.errores),
              (testing::voucherHeader() + "\r\n").repeated(2));
  }
}

// Nothing is written in the folders installed with the program, through links too, unless the
// program's folder is the App directory (a copy of its own).
TEST_F(ProcessingRunTest, InstalledFoldersTakeNoOutput) {
  const QString prefix = input_.filePath(QStringLiteral("usr"));
  for (const char* dir : {"/lib/tarquelas", "/share/doc/tarquelas", "/bin", "/share/otra"})
    ASSERT_TRUE(QDir().mkpath(prefix + QLatin1String(dir)));
  const QString program = prefix + QStringLiteral("/lib/tarquelas/tarquelas");
  writeBytes(program, "");
  writeBytes(prefix + QStringLiteral("/bin/tarquelas"), "");
  ASSERT_TRUE(QFile::link(prefix + QStringLiteral("/share/doc"), input_.filePath(QStringLiteral("doc"))));
  const QStringList folders = installedFolders(program, dir_.path());
  const std::pair<const char*, bool> cases[] = {
      {"/usr/lib/tarquelas/nuevo.pdf", true},
      {"/usr/share/doc/tarquelas/x.pdf", true},
      {"/doc/tarquelas/x.pdf", true},
      {"/usr/bin/tarquelas", true},
      {"/usr/bin/otro.pdf", false},
      {"/usr/share/otra/x.pdf", false},
      {"/usr/lib/x.pdf", false},
  };
  for (const auto& [path, refused] : cases)
    EXPECT_EQ(isInAnyFolder(input_.path() + QLatin1String(path), folders), refused) << path;
  EXPECT_TRUE(installedFolders(program, prefix + QStringLiteral("/lib/tarquelas")).isEmpty());
}

// When no viewer can show a file, a message names it; a report that fails is put to the user. (A
// voucher file without vouchers is batch mode's test.)
TEST_F(ProcessingRunTest, EveryEndSaysWhereItsResultIs) {
  RecordingUi noViewer, failing;
  noViewer.viewerStarts = false;
  failing.reportStatus = Status::error(QStringLiteral("No se puede escribir el archivo \"x.pdf\""));
  EXPECT_EQ(procesarArchivo(requestFor(samplePath("registry.txt")), noViewer), RunOutcome::Finished);
  EXPECT_EQ(noViewer.messages.constLast(), viewerFailedMessage(paths_.padron));
  EXPECT_EQ(procesarArchivo(requestFor(samplePath("vouchers.txt")), failing), RunOutcome::Failed);
  EXPECT_EQ(failing.prompts, QStringList{QStringLiteral("No se puede escribir el archivo \"x.pdf\"")});
}

// Whatever a lock file holds, and whoever left it, a run that finds it free goes on; a lock path
// that is no regular file ends the run naming it, without opening it (a FIFO would block) and with
// nothing deleted. (Waiting for a live holder is the window's and batch mode's test.)
TEST_F(ProcessingRunTest, OnlyALiveHolderKeepsARunOutAndOddLockPathsAreRefused) {
  const QString target = input_.filePath(QStringLiteral("destino"));
  const std::function<bool()> makeLock[] = {
      [&] { return writeBytes(paths_.lock, ""); },  // what a crash leaves
      [&] {
        return writeBytes(paths_.lock,
                          "\x01"
                          "basura\xff");
      },                                                            // anything at all
      [&] { return writeBytes(paths_.lock, "2147483646\n\n\n"); },  // a holder's PID, of old
      [&] { return writeBytes(target, "ajeno") && QFile::link(target, paths_.lock); },
      [&] { return QFile::link(input_.filePath(QStringLiteral("no-hay")), paths_.lock); },
      [&] { return mkfifo(QFile::encodeName(paths_.lock).constData(), 0600) == 0; },
      [&] { return QDir().mkdir(paths_.lock); },
  };
  for (std::size_t i = 0; i < std::size(makeLock); ++i) {
    SCOPED_TRACE(i);
    QDir(dir_.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir_.path()) && makeLock[i]());
    writeBytes(paths_.errores, "de una corrida anterior\r\n");
    RecordingUi ui;
    const bool regular = i < 3;
    EXPECT_EQ(procesarArchivo(requestFor(fileWith(testing::faultyVouchers())), ui),
              regular ? RunOutcome::Rejected : RunOutcome::Failed);
    EXPECT_EQ(readBytes(paths_.errores).contains("anterior"), !regular);
    if (!regular) {
      EXPECT_EQ(ui.messages, QStringList{"No se puede usar la carpeta de trabajo: " + paths_.lock +
                                         " no es un archivo común. Bórrelo y vuelva a intentarlo."});
    }
  }
  EXPECT_EQ(readBytes(target), "ajeno");
}

// Stand-ins for the run's steps, to follow the prompt's answers.
struct StepLog {
  QStringList calls;
  Status status[3];  // of validation, loading and printout

  Status step(const char* name, int i) {
    calls.append(QLatin1String(name));
    return status[i];
  }
  RunSteps steps(const WorkPaths& paths) {
    RunSteps s;
    s.validarArchivoTarquelas = s.validarArchivoPadron = [this, paths](auto&&...) {
      writeBytes(paths.auxiliar, "cabecera\r\nlinea\r\n");
      return step("validar", 0);
    };
    s.cargarPadron = [this](auto&&...) { return LoadResult{step("cargar", 1), Registry()}; };
    s.generarHTMLFinal = [this](const Registry&, const WorkPaths&, QByteArrayView, bool trabajadores,
                                auto&&...) {
      return step(trabajadores ? "generar con trabajadores" : "generar", 2);
    };
    return s;
  }
};

TEST_F(ProcessingRunTest, YesGoesOnWithTheNextStepAndNoEndsTheRun) {
  const struct {
    const char* kind;
    bool answer;
    int failingStep;    // 0 validation, 1 loading, 2 printout, -1 none (with the check box ticked)
    const char* trace;  // the steps taken, then the report shown or the file opened
  } cases[] = {
      {"B", true, 0, "validar, informe"},
      {"D", true, 0, "validar, cargar, generar, padron"},
      {"D", false, 0, "validar"},
      {"D", true, 1, "validar, cargar, generar, padron"},
      {"D", false, 1, "validar, cargar"},
      {"D", true, 2, "validar, cargar, generar"},  // nothing stale opened
      {"D", false, -1, "validar, cargar, generar con trabajadores, padron"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trace);
    StepLog log;
    if (c.failingStep >= 0) log.status[c.failingStep] = Status::error(QStringLiteral("falla"));
    RecordingUi ui;
    ui.answers = {c.answer};
    RunRequest request{samplePath("registry.txt"), paths_, c.kind, QByteArray(), c.failingStep < 0};
    EXPECT_EQ(procesarArchivo(request, ui, log.steps(paths_)),
              c.failingStep < 0 ? RunOutcome::Finished : RunOutcome::Failed);
    EXPECT_EQ(ui.prompts.size(), c.failingStep < 0 ? 0 : 1);
    const QStringList shown = ui.reports.replaceInStrings(paths_.auxiliar, QStringLiteral("informe")) +
                              ui.opened.replaceInStrings(paths_.padron, QStringLiteral("padron"));
    EXPECT_EQ((log.calls + shown).join(QStringLiteral(", ")), QLatin1String(c.trace));
    EXPECT_EQ(ui.busy, (QList<bool>{true, false}));
  }
}

TEST_F(ProcessingRunTest, CancelledRunRemovesItsWorkingFilesAndSaysSo) {
  using Stage = Progress::Stage;
  const std::pair<const char*, Stage> cases[] = {
      {"vouchers.txt", Stage::Validating},
      {"registry.txt", Stage::Validating},
      {"registry.txt", Stage::WritingPrintout},
      {"vouchers.txt", Stage::LayingOutVouchers},  // the report says it was cancelled
  };
  for (const auto& [sample, stage] : cases) {
    SCOPED_TRACE(sample);
    writeBytes(paths_.padron, "anterior");
    RecordingUi ui;
    ui.cancelAt = stage;
    if (stage == Stage::LayingOutVouchers) ui.reportStatus = Status::cancelled();
    EXPECT_EQ(procesarArchivo(requestFor(samplePath(sample)), ui), RunOutcome::Cancelled);
    // (the printout may first say that a template is missing)
    EXPECT_EQ(ui.messages.constLast(), QStringLiteral("Proceso cancelado."));
    EXPECT_EQ(ui.messages.count(ui.messages.constLast()), 1);
    EXPECT_TRUE(ui.opened.isEmpty() && ui.prompts.isEmpty());
    EXPECT_FALSE(exists(paths_.auxiliar) || exists(paths_.errores));
    EXPECT_EQ(readBytes(paths_.padron), "anterior");  // never half-written
  }
}

}  // namespace
}  // namespace tarquelas
