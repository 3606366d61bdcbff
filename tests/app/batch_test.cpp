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

// Rows name the App directory "DIR": a fresh one for each row.
TEST(BatchTest, ExitStatusOutputAndFilesFollowTheOutcome) {
  QTemporaryDir input;
  const QString vouchers = samplePath("vouchers.txt"), registry = samplePath("registry.txt");
  const QString faultyB = input.filePath(QStringLiteral("con errores B.txt"));
  const QString faultyD = input.filePath(QStringLiteral("con errores D.txt"));
  testing::writeBytes(faultyB, testing::faultyVouchers());
  testing::writeBytes(faultyD, testing::faultyRegistry());
  const QString pdf = input.filePath(QStringLiteral("Comprobantes de marzo.pdf"));
  const QString summary = QStringLiteral("Cámara de Administradores de Consorcios  (1234)\n");
  const QString voucherSummary = summary + "Periodo:  03/2026.\n\nPresentación:  0747144854.\n";
  const QString rejected = QStringLiteral("Archivo con errores: \nDIR/TarquelasErrores.txt\n");
  const QStringList rejectedFiles{"TarquelasAux.txt", "TarquelasErrores.txt"};
  struct Case {
    QStringList arguments;
    int status;
    QString out, err;  // out starts with (is, when it ends a line), err holds
    QStringList files;
  } cases[] = {
      {{"--procesar", vouchers, "--directorio", "DIR"},
       0,
       voucherSummary,
       {},
       {"Tarquelas.pdf", "TarquelasAux.txt"}},
      {{"--procesar", vouchers, "--directorio", "DIR", "--pdf", pdf},
       0,
       voucherSummary,
       {},
       {"TarquelasAux.txt"}},
      {{"--procesar", registry, "--directorio", "DIR", "--trabajadores"},
       0,
       summary + "Fecha: ",
       {},
       {"Padron.html", "TarquelasAux.txt"}},
      {{"--procesar", faultyB, "--directorio", "DIR"}, 1, {}, rejected, rejectedFiles},
      {{"--procesar", faultyD, "--directorio", "DIR"}, 1, {}, rejected, rejectedFiles},
      {{"--procesar"}, 2, {}, "Falta el valor de --procesar", {}},
      {{"--desconocida"}, 2, {}, "Opción desconocida", {}},
      {{"--procesar", input.filePath("no-existe.txt")}, 2, {}, "No existe el archivo", {}},
      {{"--procesar", vouchers, "--directorio", "DIR", "--imprimir", "no-hay-tal-cola"},
       2,
       {},
       "No existe la cola de impresión «no-hay-tal-cola».",
       {}},
      {{"--procesar", vouchers, "--directorio", testing::unwritableDirectory(input)},
       2,
       {},
       "Se ha detectado el siguiente error:",
       {}},
      {{"--help"}, 0, "Uso:\n  tarquelas [ARCHIVO]\n", {}, {}},
      {{"--version"}, 0, "tarquelas ", {}, {}},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    const Result r = runProgram(QStringList(c.arguments).replaceInStrings(QStringLiteral("DIR"), dir.path()));
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(c.out)) << r.out.toStdString();
    EXPECT_TRUE(!c.out.endsWith(u'\n') || c.arguments[0] == "--help" || r.out == c.out)
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QString(c.err).replace(QStringLiteral("DIR"), dir.path())))
        << r.err.toStdString();
    EXPECT_TRUE(c.status != 1 || r.err.contains(QStringLiteral("Línea "))) << r.err.toStdString();
    EXPECT_EQ(filesIn(dir.path()), c.files);
    EXPECT_EQ(testing::readBytes(dir.filePath("Tarquelas.pdf")).startsWith("%PDF"),
              c.files.contains("Tarquelas.pdf"));
  }
  EXPECT_TRUE(testing::readBytes(pdf).startsWith("%PDF"));
}

}  // namespace
}  // namespace tarquelas
