// Batch mode through the program itself: exit statuses, what it prints and
// which files it leaves in the App directory.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QLockFile>
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
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // Qt would warn about it
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
  const QString earlierPdf = input.filePath(QStringLiteral("anterior.pdf"));
  testing::writeBytes(earlierPdf, "de otra corrida");
  // A header without vouchers, whose name would set the terminal's title.
  QByteArray escape = testing::voucherHeader();
  const QString headerOnly = input.filePath(QStringLiteral("sin comprobantes.txt"));
  testing::writeBytes(headerOnly, escape.replace(8, 6, "\x1b]0;X\x07") + "\r\n");
  const QString copy = input.filePath(QStringLiteral("copia.txt"));
  testing::writeBytes(copy, testing::readBytes(vouchers));
  // One line of a gigabyte between two short ones, with no disk space used.
  const QString hugeLine = input.filePath(QStringLiteral("renglon enorme.txt"));
  {
    QFile huge(hugeLine);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write(testing::registryHeader() + "\r\n") > 0);
    ASSERT_TRUE(huge.resize(qint64(1) << 30) && huge.seek(huge.size()) && huge.write("\r\nX") == 3);
  }
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
       voucherSummary + "Comprobantes: DIR/Tarquelas.pdf\n",
       {},
       {"Tarquelas.pdf", "TarquelasAux.txt"}},
      {{"--procesar", vouchers, "--directorio", "DIR", "--pdf", pdf},
       0,
       voucherSummary + "Comprobantes: " + pdf + "\n",
       {},
       {"TarquelasAux.txt"}},
      {{"--procesar", registry, "--directorio", "DIR", "--trabajadores"},
       0,
       summary + "Fecha: 12/03/2026, hora: 09:30.\n\nPresentación:  0144272509.\nPadrón: DIR/Padron.html\n",
       {},
       {"Padron.html", "TarquelasAux.txt"}},
      {{"--procesar", headerOnly, "--directorio", "DIR", "--pdf", earlierPdf},
       0,
       "?]0;X?  (123)\nPeriodo:  03/2026.\n\nPresentación:  0747144854.\n",
       "El archivo no contiene comprobantes.\n",
       {"TarquelasAux.txt"}},
      {{"--procesar", copy, "--directorio", "DIR", "--pdf", copy}, 2, {}, "es el archivo que se procesa", {}},
      {{"--procesar", hugeLine, "--directorio", "DIR"}, 1, {}, "Error Línea 3: La longitud", rejectedFiles},
      {{"--procesar", faultyB, "--directorio", "DIR"}, 1, {}, rejected, rejectedFiles},
      {{"--procesar", faultyD, "--directorio", "DIR"}, 1, {}, rejected, rejectedFiles},
      {{"--procesar"}, 2, {}, "Falta el valor de --procesar", {}},
      {{"--desconocida"}, 2, {}, "Opción desconocida", {}},
      {{"--procesar", input.filePath("no-existe.txt")}, 2, {}, "No existe el archivo", {}},
      {{"--procesar", input.filePath("no\x1b[2Jexiste.txt")}, 2, {}, "no?[2Jexiste.txt\n", {}},
      {{"--procesar", input.filePath("pagos\uFFFD.txt")}, 2, {}, "su nombre no es texto UTF-8 válido", {}},
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
    const QString out = QString(c.out).replace(QStringLiteral("DIR"), dir.path());
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(out)) << r.out.toStdString();
    EXPECT_TRUE(!out.endsWith(u'\n') || c.arguments[0] == "--help" || r.out == out) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QString(c.err).replace(QStringLiteral("DIR"), dir.path())))
        << r.err.toStdString();
    EXPECT_TRUE(c.status != 1 || r.err.contains(QStringLiteral("Línea "))) << r.err.toStdString();
    EXPECT_TRUE(c.status != 1 || r.err.count(dir.filePath("TarquelasErrores.txt")) == 1)
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("QStandardPaths"))) << r.err.toStdString();  // Qt's own
    EXPECT_EQ(filesIn(dir.path()), c.files);
    EXPECT_EQ(testing::readBytes(dir.filePath("Tarquelas.pdf")).startsWith("%PDF"),
              c.files.contains("Tarquelas.pdf"));
  }
  EXPECT_TRUE(testing::readBytes(pdf).startsWith("%PDF"));
  EXPECT_FALSE(QFileInfo::exists(earlierPdf));
  EXPECT_EQ(testing::readBytes(copy), testing::readBytes(vouchers));  // never the PDF's place
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 512 * 1024) << "KiB";  // the gigabyte line was never held whole
}

// Two programs on one App directory: the second waits, saying so once,
// until the first lets it go.
TEST(BatchTest, WaitsForAnotherRunInTheSameAppDirectory) {
  QTemporaryDir dir;
  QLockFile other(dir.filePath(QStringLiteral(".Tarquelas.lock")));
  ASSERT_TRUE(other.tryLock(0));
  QProcess program;
  program.start(QStringLiteral(TARQUELAS_PROGRAM),
                {"--procesar", samplePath("vouchers.txt"), "--directorio", dir.path()});
  program.setReadChannel(QProcess::StandardError);
  QByteArray err;
  while (!err.contains('\n') && program.waitForReadyRead(60000)) err += program.readAllStandardError();
  EXPECT_EQ(QString::fromUtf8(err),
            QStringLiteral("Esperando que termine otro proceso que usa la carpeta de trabajo…\n"));
  EXPECT_EQ(filesIn(dir.path()), QStringList());  // nothing touched while it waits
  other.unlock();
  ASSERT_TRUE(program.waitForFinished(120000));
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(err + program.readAllStandardError()).count(QStringLiteral("Esperando")), 1);
  EXPECT_EQ(filesIn(dir.path()), (QStringList{"Tarquelas.pdf", "TarquelasAux.txt"}));
}

}  // namespace
}  // namespace tarquelas
