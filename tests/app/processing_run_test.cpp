// The processing run: outcomes on good and faulty files of both kinds, the
// error prompt and its answers, working files that cannot be read, written
// or deleted, and a cancelled run.
#include "app/processing_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include "app/recognition.h"
#include "app_test_files.h"
#include "recording_ui.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::samplePath;
using testing::writeBytes;

class ProcessingRunTest : public ::testing::Test {
 protected:
  void SetUp() override { paths_ = WorkPaths::inDirectory(dir_.path()); }

  // A request for the file, as the window makes it after recognition.
  RunRequest requestFor(const QString& path, bool trabajadores = false) {
    const Recognition r = recognizeFile(path);
    return RunRequest{path, paths_, r.kind, r.headerLine, trabajadores};
  }
  QString fileWith(const QByteArray& bytes) {
    const QString path = input_.filePath(QStringLiteral("presentacion.txt"));
    EXPECT_TRUE(writeBytes(path, bytes));
    return path;
  }
  static bool exists(const QString& path) { return QFileInfo::exists(path); }

  QTemporaryDir dir_;    // the App directory
  QTemporaryDir input_;  // where presentation files are
  WorkPaths paths_;
};

TEST_F(ProcessingRunTest, FaultyFileIsReportedWordForWordAndItsErrorFileOpened) {
  const std::pair<QByteArray, QString> cases[] = {
      {testing::faultyVouchers(), QStringLiteral("No se pueden generar las tarquelas. ")},
      {testing::faultyRegistry(), QStringLiteral("No se pueden generar los comprobantes. ")},
  };
  for (const auto& [bytes, firstLine] : cases) {
    RecordingUi ui;
    EXPECT_EQ(procesarArchivo(requestFor(fileWith(bytes)), ui), RunOutcome::Rejected);
    EXPECT_EQ(ui.messages,
              QStringList{firstLine + QStringLiteral("\rArchivo con errores: \r") + paths_.errores});
    EXPECT_EQ(ui.opened, QStringList{paths_.errores});
    EXPECT_TRUE(ui.reports.isEmpty());
  }
  EXPECT_EQ(errorPromptText(QStringLiteral("Falla")),
            QStringLiteral("Se ha detectado el siguiente error:\r\nFalla\r\n\r\n¿Desea continuar?"));
}

TEST_F(ProcessingRunTest, EachRunStartsFromACleanSlate) {
  RecordingUi ui;
  writeBytes(paths_.auxiliar, "de una corrida anterior\r\n");
  writeBytes(paths_.errores, "de una corrida anterior\r\n");
  EXPECT_EQ(procesarArchivo(requestFor(fileWith(testing::faultyRegistry())), ui), RunOutcome::Rejected);
  EXPECT_FALSE(readBytes(paths_.errores).contains("anterior"));
  EXPECT_FALSE(readBytes(paths_.auxiliar).contains("anterior"));
  EXPECT_EQ(procesarArchivo(requestFor(samplePath("vouchers.txt")), ui), RunOutcome::Finished);
  EXPECT_FALSE(exists(paths_.errores));

  RecordingUi empty;  // "&Procesar" before any file was recognised
  QDir(dir_.path()).removeRecursively();
  EXPECT_EQ(procesarArchivo(RunRequest{QString(), paths_, {}, {}, false}, empty), RunOutcome::Finished);
  EXPECT_TRUE(empty.messages.isEmpty() && empty.prompts.isEmpty() && empty.opened.isEmpty());
  EXPECT_FALSE(exists(dir_.path()));
}

// Files that cannot be read, written or deleted are put to the user with
// their path, whatever the answer, and nothing stale is opened.
TEST_F(ProcessingRunTest, WorkingFileFailuresPromptAndOpenNothing) {
  const QString unwritable = testing::unwritableDirectory(input_);
  const QString folder = input_.filePath(QStringLiteral("carpeta.txt"));
  QDir().mkpath(folder);
  const QString missing = input_.filePath(QStringLiteral("no-existe.txt"));
  const QString notUtf8 = input_.filePath(QStringLiteral("pagos\uFFFD.txt"));  // as Qt decodes byte 0xFF
  struct Case {
    const char* name;
    QString appDir, presentation, stuck;  // stuck: a working file made a folder
    QString named;                        // in the first prompt
  } cases[] = {
      {"App directory unwritable", unwritable, {}, {}, "TarquelasAux.txt"},
      {"auxiliary file stuck", {}, {}, paths_.auxiliar, "TarquelasAux.txt"},
      {"error file stuck", {}, {}, paths_.errores, "TarquelasErrores.txt"},
      {"presentation file unreadable", {}, folder, {}, "carpeta.txt"},
      {"presentation file missing", {}, missing, {}, "No existe el archivo: " + missing},
      {"name not UTF-8", {}, notUtf8, {}, notUtf8 + ": su nombre no es texto UTF-8 válido"},
  };
  for (const Case& c : cases) {
    for (const char* sample : {"vouchers.txt", "registry.txt"}) {
      for (bool yes : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + ", " + sample + (yes ? ", yes" : ", no"));
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
        EXPECT_TRUE(ui.opened.isEmpty() && ui.reports.isEmpty());
        EXPECT_FALSE(exists(request.paths.padron));
        EXPECT_EQ(ui.busy.count(true), ui.busy.count(false));
        if (!c.stuck.isEmpty()) QDir(c.stuck).removeRecursively();
      }
    }
  }
  RecordingUi ui;
  ui.reportStatus = Status::error(QStringLiteral("No se puede escribir el archivo \"x.pdf\""));
  EXPECT_EQ(procesarArchivo(requestFor(samplePath("vouchers.txt")), ui), RunOutcome::Failed);
  EXPECT_EQ(ui.prompts, QStringList{QStringLiteral("No se puede escribir el archivo \"x.pdf\"")});
}

// The program's own files are refused before anything is deleted, by
// identity (a link, another spelling), as input and as the PDF's place.
TEST_F(ProcessingRunTest, OwnFilesAreNeverInputsNorThePdf) {
  const QString voucherFile = fileWith(readBytes(samplePath("vouchers.txt")));
  for (const QString& own : {paths_.auxiliar, paths_.errores, paths_.disenoConsorcio}) {
    writeBytes(own, testing::voucherHeader() + "\r\n");
  }
  const QString link = input_.filePath(QStringLiteral("enlace.txt"));
  ASSERT_TRUE(QFile::link(paths_.errores, link));
  const QString respelt = dir_.path() + QStringLiteral("/./TarquelasAux.txt");
  const auto pdfRefused = [](const QString& pdf, const char* reason) {
    return "No se puede escribir el archivo \"" + pdf + "\": " + QString::fromUtf8(reason);
  };
  const struct {
    QString input, pdf, message;
  } cases[] = {
      {paths_.auxiliar, {}, workingFileMessage(paths_.auxiliar)},
      {link, {}, workingFileMessage(link)},
      {respelt, {}, workingFileMessage(respelt)},
      {paths_.disenoConsorcio, {}, workingFileMessage(paths_.disenoConsorcio)},
      {voucherFile, voucherFile, pdfRefused(voucherFile, "es el archivo que se procesa")},
      {voucherFile, paths_.padron, pdfRefused(paths_.padron, "es un archivo de trabajo del programa")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    RecordingUi ui;
    ui.pdf = c.pdf;
    EXPECT_EQ(procesarArchivo(requestFor(c.input), ui), RunOutcome::Failed);
    EXPECT_EQ(ui.messages, QStringList{c.message});
    EXPECT_TRUE(ui.reports.isEmpty() && ui.opened.isEmpty());
    EXPECT_EQ(readBytes(paths_.auxiliar) + readBytes(paths_.errores),
              (testing::voucherHeader() + "\r\n").repeated(2));
  }
}

// A voucher file without vouchers says so; when no viewer can show a
// file, a message names it.
TEST_F(ProcessingRunTest, EveryEndSaysWhereItsResultIs) {
  const struct {
    QByteArray bytes;
    RunOutcome outcome;
  } cases[] = {
      {(testing::voucherHeader() + "\r\n").repeated(3), RunOutcome::NoVouchers},
      {readBytes(samplePath("registry.txt")), RunOutcome::Finished},
      {testing::faultyRegistry(), RunOutcome::Rejected},
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    ui.viewerStarts = false;
    EXPECT_EQ(procesarArchivo(requestFor(fileWith(c.bytes)), ui), c.outcome);
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.constLast(),
              ui.opened.isEmpty() ? noVouchersMessage() : viewerFailedMessage(ui.opened.constFirst()));
    EXPECT_TRUE(ui.reports.isEmpty());
  }
}

// One run at a time in an App directory: another holder of its lock is
// waited for; a lock left by a program that ended is taken over.
TEST_F(ProcessingRunTest, ARunWaitsForTheAppDirectoryAndTakesOverAStaleLock) {
  const QString file = fileWith(testing::faultyVouchers());
  writeBytes(paths_.errores, "de la otra corrida\r\n");
  QLockFile other(paths_.lock);
  ASSERT_TRUE(other.tryLock(0));
  RecordingUi givesUp;
  EXPECT_EQ(procesarArchivo(requestFor(file), givesUp), RunOutcome::Cancelled);
  EXPECT_EQ(givesUp.waits, 1);
  EXPECT_TRUE(givesUp.messages.isEmpty() && givesUp.busy.isEmpty());
  EXPECT_EQ(readBytes(paths_.errores), "de la otra corrida\r\n");  // untouched
  RecordingUi waits;
  waits.whileWaiting = [&other] { other.unlock(); };
  EXPECT_EQ(procesarArchivo(requestFor(file), waits), RunOutcome::Rejected);
  EXPECT_EQ(waits.waits, 1);
  writeBytes(paths_.lock, "2147483646\n\n\n");  // a holder that no longer runs
  RecordingUi stale;
  EXPECT_EQ(procesarArchivo(requestFor(file), stale), RunOutcome::Rejected);
  EXPECT_EQ(stale.waits, 0);
  EXPECT_FALSE(exists(paths_.lock));
}

// Stand-ins for the steps of other parts, to follow the prompt's answers.
struct StepLog {
  QStringList calls;
  Status validation, loading, printout;

  RunSteps steps(const WorkPaths& paths) {
    RunSteps s;
    const auto validator = [this, paths](const char* name) {
      return [this, paths, name](const QString&, const WorkPaths&, Progress&) {
        calls.append(QString::fromLatin1(name));
        writeBytes(paths.auxiliar, "cabecera\r\nlinea\r\n");
        return validation;
      };
    };
    s.validarArchivoTarquelas = validator("validar B");
    s.validarArchivoPadron = validator("validar D");
    s.cargarPadron = [this](const QString&, Progress&) {
      calls.append(QStringLiteral("cargar"));
      return LoadResult{loading, Registry()};
    };
    s.generarHTMLFinal = [this](const Registry&, const WorkPaths&, QByteArrayView, bool trabajadores,
                                const ShowMessage&, Progress&) {
      calls.append(trabajadores ? QStringLiteral("generar con trabajadores") : QStringLiteral("generar"));
      return printout;
    };
    return s;
  }
};

TEST_F(ProcessingRunTest, YesGoesOnWithTheNextStepAndNoEndsTheRun) {
  struct Case {
    const char* name;
    QByteArray kind;
    bool answer;
    int failingStep;  // 0 validation, 1 loading, 2 printout, -1 none (with the check box ticked)
    QStringList calls, opened, reports;
  } cases[] = {
      {"voucher validation, yes", "B", true, 0, {"validar B"}, {}, {"aux"}},
      {"voucher validation, no", "B", false, 0, {"validar B"}, {}, {}},
      {"registry validation, yes", "D", true, 0, {"validar D", "cargar", "generar"}, {"padron"}, {}},
      {"registry validation, no", "D", false, 0, {"validar D"}, {}, {}},
      {"loading, yes", "D", true, 1, {"validar D", "cargar", "generar"}, {"padron"}, {}},
      {"loading, no", "D", false, 1, {"validar D", "cargar"}, {}, {}},
      {"printout, yes: nothing stale opened", "D", true, 2, {"validar D", "cargar", "generar"}, {}, {}},
      {"printout, no", "D", false, 2, {"validar D", "cargar", "generar"}, {}, {}},
      {"no failure", "D", false, -1, {"validar D", "cargar", "generar con trabajadores"}, {"padron"}, {}},
  };
  const auto named = [this](QStringList list) {
    list.replaceInStrings(QStringLiteral("aux"), paths_.auxiliar);
    return list.replaceInStrings(QStringLiteral("padron"), paths_.padron);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StepLog log;
    Status* failing[] = {&log.validation, &log.loading, &log.printout};
    if (c.failingStep >= 0) *failing[c.failingStep] = Status::error(QStringLiteral("falla de prueba"));
    RecordingUi ui;
    ui.answers = {c.answer};
    RunRequest request{samplePath("registry.txt"), paths_, c.kind, QByteArray(), c.failingStep < 0};
    EXPECT_EQ(procesarArchivo(request, ui, log.steps(paths_)),
              c.failingStep < 0 ? RunOutcome::Finished : RunOutcome::Failed);
    EXPECT_EQ(ui.prompts, c.failingStep < 0 ? QStringList() : QStringList{QStringLiteral("falla de prueba")});
    EXPECT_EQ(log.calls, c.calls);
    EXPECT_EQ(ui.opened, named(c.opened));
    EXPECT_EQ(ui.reports, named(c.reports));
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
    testing::CancellingProgress progress(stage);
    RecordingUi ui;
    ui.progressSink = &progress;
    if (stage == Stage::LayingOutVouchers) ui.reportStatus = Status::cancelled();
    EXPECT_EQ(procesarArchivo(requestFor(samplePath(sample)), ui), RunOutcome::Cancelled);
    // (the printout may first say that a template is missing)
    EXPECT_EQ(ui.messages.mid(ui.messages.size() - 1), QStringList{QStringLiteral("Proceso cancelado.")});
    EXPECT_EQ(ui.messages.count(QStringLiteral("Proceso cancelado.")), 1);
    EXPECT_TRUE(ui.opened.isEmpty() && ui.prompts.isEmpty());
    EXPECT_FALSE(exists(paths_.auxiliar));
    EXPECT_FALSE(exists(paths_.errores));
    EXPECT_EQ(readBytes(paths_.padron), "anterior");  // never half-written
  }
}

}  // namespace
}  // namespace tarquelas
