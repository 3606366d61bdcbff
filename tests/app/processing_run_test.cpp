// The processing run: outcomes on good and faulty files of both kinds, the
// error prompt and its answers, working files that cannot be written or
// deleted, and a cancelled run.
#include "app/processing_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "app/recognition.h"
#include "app_test_files.h"
#include "recording_ui.h"
#include "support/text_file.h"

namespace tarquelas {
namespace {

using testing::CancellingProgress;
using testing::readBytes;
using testing::RecordingUi;
using testing::writeBytes;
using Stage = Progress::Stage;

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
  bool exists(const QString& path) const { return QFileInfo::exists(path); }

  QTemporaryDir dir_;    // the App directory
  QTemporaryDir input_;  // where presentation files are
  WorkPaths paths_;
  RecordingUi ui_;
};

TEST_F(ProcessingRunTest, GoodVoucherFileShowsTheReportOfTheAuxiliaryFile) {
  EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath("vouchers.txt")), ui_), RunOutcome::Finished);
  EXPECT_EQ(ui_.reports, QStringList{paths_.auxiliar});
  EXPECT_TRUE(ui_.messages.isEmpty());
  EXPECT_TRUE(ui_.prompts.isEmpty());
  EXPECT_TRUE(ui_.opened.isEmpty());
  EXPECT_TRUE(exists(paths_.auxiliar));
  EXPECT_FALSE(exists(paths_.errores));
}

TEST_F(ProcessingRunTest, GoodRegistryFileWritesAndOpensThePrintout) {
  EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath("registry.txt"), true), ui_),
            RunOutcome::Finished);
  EXPECT_EQ(ui_.opened, QStringList{paths_.padron});
  EXPECT_TRUE(ui_.reports.isEmpty());
  EXPECT_TRUE(ui_.prompts.isEmpty());
  EXPECT_TRUE(exists(paths_.padron));
}

TEST_F(ProcessingRunTest, FaultyFileIsReportedAndItsErrorFileOpened) {
  struct Case {
    QByteArray bytes;
    QString firstLine;
  } cases[] = {
      {testing::faultyVouchers(), QStringLiteral("No se pueden generar las tarquelas. ")},
      {testing::faultyRegistry(), QStringLiteral("No se pueden generar los comprobantes. ")},
  };
  for (const Case& c : cases) {
    RecordingUi ui;
    EXPECT_EQ(procesarArchivo(requestFor(fileWith(c.bytes)), ui), RunOutcome::Rejected);
    EXPECT_EQ(ui.messages,
              QStringList{c.firstLine + QStringLiteral("\rArchivo con errores: \r") + paths_.errores});
    EXPECT_EQ(ui.opened, QStringList{paths_.errores});
    EXPECT_TRUE(ui.reports.isEmpty());
    EXPECT_TRUE(exists(paths_.errores));
  }
}

TEST_F(ProcessingRunTest, EachRunStartsFromACleanSlate) {
  writeBytes(paths_.auxiliar, "de una corrida anterior\r\n");
  writeBytes(paths_.errores, "de una corrida anterior\r\n");
  EXPECT_EQ(procesarArchivo(requestFor(fileWith(testing::faultyRegistry())), ui_), RunOutcome::Rejected);
  EXPECT_FALSE(readBytes(paths_.errores).contains("anterior"));
  EXPECT_FALSE(readBytes(paths_.auxiliar).contains("anterior"));

  EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath("vouchers.txt")), ui_), RunOutcome::Finished);
  EXPECT_FALSE(exists(paths_.errores));
}

TEST_F(ProcessingRunTest, EmptyPathBeforeAnyRecognitionLeavesNothing) {
  RunRequest request{QString(), paths_, QByteArray(), QByteArray(), false};
  EXPECT_EQ(procesarArchivo(request, ui_), RunOutcome::Finished);
  EXPECT_TRUE(ui_.messages.isEmpty() && ui_.prompts.isEmpty() && ui_.opened.isEmpty() &&
              ui_.reports.isEmpty());
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST_F(ProcessingRunTest, BusyPointerIsShownAndAlwaysRestored) {
  (void)procesarArchivo(requestFor(testing::samplePath("vouchers.txt")), ui_);
  EXPECT_EQ(ui_.busy, (QList<bool>{true, false}));
  RecordingUi failing;
  RunRequest request = requestFor(testing::samplePath("vouchers.txt"));
  request.paths = WorkPaths::inDirectory(testing::unwritableDirectory(dir_));
  (void)procesarArchivo(request, failing);
  EXPECT_FALSE(failing.busy.isEmpty());
  EXPECT_EQ(failing.busy.constLast(), false);
  EXPECT_EQ(failing.busy.count(true), failing.busy.count(false));
}

TEST_F(ProcessingRunTest, UnwritableAppDirectoryPromptsNamingTheFileAndOpensNothing) {
  for (const char* sample : {"vouchers.txt", "registry.txt"}) {
    for (bool yes : {false, true}) {
      RecordingUi ui;
      if (yes) ui.answers = QList<bool>(10, true);
      RunRequest request = requestFor(testing::samplePath(sample));
      request.paths = WorkPaths::inDirectory(testing::unwritableDirectory(dir_));
      EXPECT_EQ(procesarArchivo(request, ui), RunOutcome::Failed) << sample;
      ASSERT_FALSE(ui.prompts.isEmpty()) << sample;
      EXPECT_TRUE(ui.prompts.constFirst().contains(QStringLiteral("TarquelasAux.txt"))) << sample;
      if (!yes) {
        EXPECT_EQ(ui.prompts.size(), 1);
      }
      EXPECT_TRUE(ui.opened.isEmpty()) << sample;
      EXPECT_TRUE(ui.reports.isEmpty()) << sample;
    }
  }
}

TEST_F(ProcessingRunTest, WorkingFilesThatCannotBeDeletedAreNeverShown) {
  // A folder where a working file belongs can be neither deleted nor written.
  for (const QString* stuck : {&paths_.auxiliar, &paths_.errores}) {
    ASSERT_TRUE(QDir().mkpath(*stuck + QStringLiteral("/dentro")));
    for (const char* sample : {"vouchers.txt", "registry.txt"}) {
      RecordingUi ui;
      ui.answers = QList<bool>(10, true);
      EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath(sample)), ui), RunOutcome::Failed);
      EXPECT_FALSE(ui.prompts.isEmpty());
      EXPECT_TRUE(ui.opened.isEmpty()) << sample;
      EXPECT_TRUE(ui.reports.isEmpty()) << sample;
    }
    QDir(*stuck).removeRecursively();
  }
}

TEST_F(ProcessingRunTest, UnreadablePresentationFileIsPutToTheUser) {
  const QString folder = input_.filePath(QStringLiteral("carpeta.txt"));
  QDir().mkpath(folder);
  RunRequest request{folder, paths_, "B", QByteArray(), false};
  EXPECT_EQ(procesarArchivo(request, ui_), RunOutcome::Failed);
  ASSERT_EQ(ui_.prompts.size(), 1);
  EXPECT_TRUE(ui_.prompts.constFirst().contains(QStringLiteral("carpeta.txt")));
}

// Stand-ins for the steps of other parts, to follow the prompt's answers.
struct StepLog {
  QStringList calls;
  Status validation, loading, printout;

  RunSteps steps(const WorkPaths& paths) {
    RunSteps s;
    s.validarArchivoTarquelas = [this, paths](const QString&, const WorkPaths&, Progress&) {
      calls.append(QStringLiteral("validar B"));
      writeBytes(paths.auxiliar, "linea\r\n");
      return validation;
    };
    s.validarArchivoPadron = [this, paths](const QString&, const WorkPaths&, Progress&) {
      calls.append(QStringLiteral("validar D"));
      writeBytes(paths.auxiliar, "linea\r\n");
      return validation;
    };
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
    int failingStep;  // 0 validation, 1 loading, 2 printout
    QStringList calls;
    QStringList opened;
    QStringList reports;
  } cases[] = {
      {"voucher validation, yes", "B", true, 0, {"validar B"}, {}, {"aux"}},
      {"voucher validation, no", "B", false, 0, {"validar B"}, {}, {}},
      {"registry validation, yes", "D", true, 0, {"validar D", "cargar", "generar"}, {"padron"}, {}},
      {"registry validation, no", "D", false, 0, {"validar D"}, {}, {}},
      {"loading, yes", "D", true, 1, {"validar D", "cargar", "generar"}, {"padron"}, {}},
      {"loading, no", "D", false, 1, {"validar D", "cargar"}, {}, {}},
      {"printout, yes: nothing stale opened", "D", true, 2, {"validar D", "cargar", "generar"}, {}, {}},
      {"printout, no", "D", false, 2, {"validar D", "cargar", "generar"}, {}, {}},
  };
  const auto named = [this](QStringList list) {
    list.replaceInStrings(QStringLiteral("aux"), paths_.auxiliar);
    list.replaceInStrings(QStringLiteral("padron"), paths_.padron);
    return list;
  };
  for (const Case& c : cases) {
    StepLog log;
    Status* failing[] = {&log.validation, &log.loading, &log.printout};
    *failing[c.failingStep] = Status::error(QStringLiteral("falla de prueba"));
    RecordingUi ui;
    ui.answers = {c.answer};
    RunRequest request{QStringLiteral("x.txt"), paths_, c.kind, QByteArray(), false};
    EXPECT_EQ(procesarArchivo(request, ui, log.steps(paths_)), RunOutcome::Failed) << c.name;
    EXPECT_EQ(ui.prompts, QStringList{QStringLiteral("falla de prueba")}) << c.name;
    EXPECT_EQ(log.calls, c.calls) << c.name;
    EXPECT_EQ(ui.opened, named(c.opened)) << c.name;
    EXPECT_EQ(ui.reports, named(c.reports)) << c.name;
  }
}

TEST_F(ProcessingRunTest, CheckBoxOnlyChangesWhatThePrintoutWrites) {
  StepLog log;
  RunRequest request{QStringLiteral("x.txt"), paths_, "D", QByteArray(), true};
  EXPECT_EQ(procesarArchivo(request, ui_, log.steps(paths_)), RunOutcome::Finished);
  EXPECT_EQ(log.calls, (QStringList{"validar D", "cargar", "generar con trabajadores"}));
  EXPECT_EQ(ui_.opened, QStringList{paths_.padron});
}

TEST_F(ProcessingRunTest, CancelledRunRemovesItsWorkingFilesAndOpensNothing) {
  struct Case {
    const char* sample;
    Stage stage;
  } cases[] = {
      {"vouchers.txt", Stage::Validating},
      {"registry.txt", Stage::Validating},
      {"registry.txt", Stage::WritingPrintout},
  };
  for (const Case& c : cases) {
    writeBytes(paths_.padron, "anterior");
    CancellingProgress progress(c.stage);
    RecordingUi ui;
    ui.progressSink = &progress;
    EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath(c.sample)), ui), RunOutcome::Cancelled)
        << c.sample;
    // (the printout may first say that a template is missing)
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.constLast(), QStringLiteral("Proceso cancelado."));
    EXPECT_EQ(ui.messages.count(QStringLiteral("Proceso cancelado.")), 1);
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_TRUE(ui.reports.isEmpty());
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_FALSE(exists(paths_.auxiliar)) << c.sample;
    EXPECT_FALSE(exists(paths_.errores)) << c.sample;
    EXPECT_EQ(readBytes(paths_.padron), "anterior");  // never half-written
  }
}

TEST_F(ProcessingRunTest, CancelWhileLayingOutTheReportRemovesTheAuxiliaryFile) {
  ui_.reportStatus = Status::cancelled();
  EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath("vouchers.txt")), ui_), RunOutcome::Cancelled);
  EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("Proceso cancelado.")});
  EXPECT_FALSE(exists(paths_.auxiliar));
}

TEST_F(ProcessingRunTest, ReportThatCannotBeMadeIsPutToTheUser) {
  ui_.reportStatus = Status::error(QStringLiteral("No se puede escribir el archivo \"x.pdf\""));
  EXPECT_EQ(procesarArchivo(requestFor(testing::samplePath("vouchers.txt")), ui_), RunOutcome::Failed);
  EXPECT_EQ(ui_.prompts, QStringList{QStringLiteral("No se puede escribir el archivo \"x.pdf\"")});
}

TEST_F(ProcessingRunTest, MessageTextsAreExact) {
  EXPECT_EQ(rejectedMessage("B", QStringLiteral("/app/TarquelasErrores.txt")),
            QStringLiteral(
                "No se pueden generar las tarquelas. \rArchivo con errores: \r/app/TarquelasErrores.txt"));
  EXPECT_EQ(rejectedMessage("", QStringLiteral("/e")),
            QStringLiteral("No se pueden generar los comprobantes. \rArchivo con errores: \r/e"));
  EXPECT_EQ(errorPromptText(QStringLiteral("Falla")),
            QStringLiteral("Se ha detectado el siguiente error:\r\nFalla\r\n\r\n¿Desea continuar?"));
  EXPECT_EQ(cancelledMessage(), QStringLiteral("Proceso cancelado."));
}

}  // namespace
}  // namespace tarquelas
