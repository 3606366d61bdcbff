// Batch mode through the program itself: exit statuses, what it prints and
// which files it leaves in the App directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "app_test_files.h"

namespace tarquelas {
namespace {

using testing::samplePath;

struct Result {
  int status = -1;
  QString out, err;
};

Result runProgram(const QStringList& arguments) {
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // batch mode needs no display of its own
  env.remove(QStringLiteral("DISPLAY"));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(TARQUELAS_PROGRAM), arguments);
  program.waitForFinished(120000);
  return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
          QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError())};
}

QStringList filesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

TEST(BatchTest, SamplesExitZeroWithTheSummaryAndOnlyTheirFiles) {
  QTemporaryDir elsewhere;
  const QString pdf = elsewhere.filePath(QStringLiteral("Comprobantes de marzo.pdf"));
  const QString vouchersOut = QStringLiteral(
      "Cámara de Administradores de Consorcios  (1234)\nPeriodo:  03/2026.\n\nPresentación:  0747144854.\n");
  struct Case {
    QStringList options;
    QString out;  // starts with
    QStringList files;
    QString pdf;
  } cases[] = {
      {{"--procesar", samplePath("vouchers.txt")}, vouchersOut, {"Tarquelas.pdf", "TarquelasAux.txt"}, {}},
      {{"--procesar", samplePath("vouchers.txt"), "--pdf", pdf},
       vouchersOut,
       {"TarquelasAux.txt"},
       pdf},  // elsewhere
      {{"--procesar", samplePath("registry.txt"), "--trabajadores"},
       "Cámara de Administradores de Consorcios  (1234)\nFecha: ",
       {"Padron.html", "TarquelasAux.txt"},
       {}},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const Result r = runProgram(c.options + QStringList{"--directorio", dir.path()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(c.out)) << r.out.toStdString();
    if (c.out.endsWith(QLatin1Char('\n'))) {
      EXPECT_EQ(r.out, c.out);  // the summary and nothing else
    }
    EXPECT_EQ(filesIn(dir.path()), c.files);
    const QString pdfFile = c.pdf.isEmpty() ? dir.filePath(QStringLiteral("Tarquelas.pdf")) : c.pdf;
    EXPECT_EQ(testing::readBytes(pdfFile).startsWith("%PDF"), c.out == vouchersOut);
  }
}

TEST(BatchTest, FaultyFileExitsOneAndListsItsErrorsOnStandardError) {
  for (const QByteArray& bytes : {testing::faultyVouchers(), testing::faultyRegistry()}) {
    QTemporaryDir app, input;
    const QString file = input.filePath(QStringLiteral("con errores.txt"));
    testing::writeBytes(file, bytes);
    const Result r = runProgram({"--procesar", file, "--directorio", app.path()});
    EXPECT_EQ(r.status, 1);
    const QString errores = app.filePath(QStringLiteral("TarquelasErrores.txt"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Archivo con errores: \n") + errores + QLatin1Char('\n')));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Línea ")));
    EXPECT_EQ(filesIn(app.path()), (QStringList{"TarquelasAux.txt", "TarquelasErrores.txt"}));
  }
}

TEST(BatchTest, WrongUsageAndFailuresExitTwo) {
  QTemporaryDir dir;
  const std::pair<QStringList, QString> cases[] = {
      {{"--procesar"}, "Falta el valor de --procesar"},
      {{"--desconocida"}, "Opción desconocida"},
      {{"--procesar", dir.filePath("no-existe.txt")}, "No existe el archivo"},
      {{"--procesar", samplePath("vouchers.txt"), "--directorio", testing::unwritableDirectory(dir)},
       "Se ha detectado el siguiente error:"},
  };
  for (const auto& [arguments, saying] : cases) {
    const Result r = runProgram(arguments);
    EXPECT_EQ(r.status, 2) << arguments.join(u' ').toStdString();
    EXPECT_TRUE(r.err.contains(saying)) << r.err.toStdString();
  }
}

TEST(BatchTest, HelpAndVersionExitZero) {
  const Result help = runProgram({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* part : {"tarquelas [ARCHIVO]", "tarquelas --procesar ARCHIVO",
                           "Padron.html (por omisión, la carpeta de la aplicación)"})
    EXPECT_TRUE(help.out.contains(QString::fromUtf8(part))) << part;
  const Result version = runProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith(QStringLiteral("tarquelas ")));
}

}  // namespace
}  // namespace tarquelas
