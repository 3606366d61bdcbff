// Batch mode through the program itself: exit statuses, what it prints and
// which files it leaves in the App directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "app_test_files.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::writeBytes;

struct Result {
  int status = -1;
  QString out;
  QString err;
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
  return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

class BatchTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
};

TEST_F(BatchTest, VoucherSampleGivesThePdfAndExitStatusZero) {
  const Result r = runProgram({QStringLiteral("--procesar"), testing::samplePath("vouchers.txt"),
                               QStringLiteral("--directorio"), dir_.path()});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QStringLiteral("Cámara de Administradores de Consorcios  (1234)\nPeriodo:  03/2026.\n\n"
                                  "Presentación:  0747144854.\n"));
  EXPECT_EQ(filesIn(dir_.path()), (QStringList{"Tarquelas.pdf", "TarquelasAux.txt"}));
  EXPECT_TRUE(readBytes(dir_.filePath(QStringLiteral("Tarquelas.pdf"))).startsWith("%PDF"));
}

TEST_F(BatchTest, PdfGoesWhereAsked) {
  QTemporaryDir elsewhere;
  const QString pdf = elsewhere.filePath(QStringLiteral("Comprobantes de marzo.pdf"));
  const Result r = runProgram({QStringLiteral("--procesar"), testing::samplePath("vouchers.txt"),
                               QStringLiteral("--directorio"), dir_.path(), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(readBytes(pdf).startsWith("%PDF"));
  EXPECT_EQ(filesIn(dir_.path()), QStringList{"TarquelasAux.txt"});
}

TEST_F(BatchTest, RegistrySampleGivesThePrintoutAndExitStatusZero) {
  const Result r =
      runProgram({QStringLiteral("--procesar"), testing::samplePath("registry.txt"),
                  QStringLiteral("--directorio"), dir_.path(), QStringLiteral("--trabajadores")});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("Cámara de Administradores de Consorcios  (1234)\nFecha: ")));
  EXPECT_EQ(filesIn(dir_.path()), (QStringList{"Padron.html", "TarquelasAux.txt"}));
}

TEST_F(BatchTest, FaultyFileExitsOneAndListsItsErrors) {
  for (const QByteArray& bytes : {testing::faultyVouchers(), testing::faultyRegistry()}) {
    QTemporaryDir app;
    const QString input = dir_.filePath(QStringLiteral("con errores.txt"));
    writeBytes(input, bytes);
    const Result r =
        runProgram({QStringLiteral("--procesar"), input, QStringLiteral("--directorio"), app.path()});
    EXPECT_EQ(r.status, 1);
    const QString errores = app.filePath(QStringLiteral("TarquelasErrores.txt"));
    EXPECT_TRUE(QFileInfo::exists(errores));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Archivo con errores: \n") + errores + QLatin1Char('\n')));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Línea ")) || r.err.contains(QStringLiteral("Error Línea ")));
    EXPECT_FALSE(filesIn(app.path()).contains(QStringLiteral("Tarquelas.pdf")));
    EXPECT_FALSE(filesIn(app.path()).contains(QStringLiteral("Padron.html")));
  }
}

TEST_F(BatchTest, WrongUsageAndFailuresExitTwo) {
  struct Case {
    QStringList arguments;
    QString saying;
  } cases[] = {
      {{QStringLiteral("--procesar")}, QStringLiteral("Falta el valor de --procesar")},
      {{QStringLiteral("--desconocida")}, QStringLiteral("Opción desconocida")},
      {{QStringLiteral("--procesar"), dir_.filePath(QStringLiteral("no-existe.txt"))},
       QStringLiteral("No existe el archivo")},
      {{QStringLiteral("--procesar"), testing::samplePath("vouchers.txt"), QStringLiteral("--directorio"),
        testing::unwritableDirectory(dir_)},
       QStringLiteral("Se ha detectado el siguiente error:")},
  };
  for (const Case& c : cases) {
    const Result r = runProgram(c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments.join(u' ').toStdString();
    EXPECT_TRUE(r.err.contains(c.saying)) << r.err.toStdString();
  }
}

TEST_F(BatchTest, HelpAndVersionExitZero) {
  const Result help = runProgram({QStringLiteral("--help")});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains(QStringLiteral("--procesar ARCHIVO")));
  const Result version = runProgram({QStringLiteral("--version")});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith(QStringLiteral("tarquelas ")));
}

}  // namespace
}  // namespace tarquelas
