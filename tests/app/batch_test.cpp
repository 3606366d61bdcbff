// Batch mode through the program itself: exit statuses, what it prints and which files it leaves in
// an App directory with blanks and accents in its name (the runs are in tests/data/batch_runs.txt).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>

#include "app_test_files.h"
#include "common/data_table.h"

namespace tarquelas {
namespace {

using testing::samplePath;

// settings: NAME=value pairs added to the environment.
void start(QProcess& program, const QStringList& arguments, const QStringList& settings = {},
           const QString& path = QStringLiteral(TARQUELAS_PROGRAM)) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // batch mode needs no display of its own
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // Qt would warn about it
  for (const QString& setting : settings) env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
  program.setProcessEnvironment(env);
  program.start(path, arguments);
}

// Permissions bind root only through this: the program runs as nobody,
// from a copy in a folder anyone may enter (the build's may be closed).
// Returns the program to start.
constexpr uid_t kNobody = 65534;
QString runAsOrdinaryUser(QProcess& program, const QTemporaryDir& copyDir) {
  if (geteuid() != 0) return QStringLiteral(TARQUELAS_PROGRAM);
  const QString copy = copyDir.filePath(QStringLiteral("tarquelas"));
  QFile::setPermissions(copyDir.path(),
                        QFile::permissions(copyDir.path()) | QFile::ReadOther | QFile::ExeOther);
  if (!QFileInfo::exists(copy)) QFile::copy(QStringLiteral(TARQUELAS_PROGRAM), copy);
  program.setChildProcessModifier([] {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
  });
  return copy;
}

QStringList filesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

// A run of the table: its arguments under '$', then its lines after their
// mark, joined by that mark; notes and empty lines left out. A line of
// another kind, or one without the blank after its mark, fails.
QList<QHash<QChar, QString>> readRuns() {
  QList<QHash<QChar, QString>> runs;
  for (const testing::CaseBlock& block :
       testing::caseBlocks("batch_runs.txt", testing::readBytes(testing::dataPath("batch_runs.txt")))) {
    QHash<QChar, QString>& run = runs.emplace_back();
    run[u'$'] = QString::fromUtf8(block.name);
    for (const QByteArray& bytes : block.lines) {
      const QString line = QString::fromUtf8(bytes);
      if (line.isEmpty() || line.startsWith(u'#')) continue;  // notes on the run after
      if (!QStringLiteral("=>~!&@").contains(line.front()) || (line.size() > 1 && line[1] != u' ')) {
        ADD_FAILURE() << "tests/data/batch_runs.txt: malformed line: " << line.toStdString();
        continue;
      }
      QString& text = run[line.front()];
      text += (text.isNull() ? QString() : QStringLiteral("\n")) + line.mid(2);
    }
  }
  return runs;
}

TEST(BatchTest, ExitStatusOutputAndFilesFollowTheOutcome) {
  QTemporaryDir input;
  QHash<QString, QString> names{{"{vouchers}", samplePath("vouchers.txt")},
                                {"{registry}", samplePath("registry.txt")},
                                {"{input}", input.path()},
                                {"{missing}", input.filePath("no\x1b[2Jexiste.txt")},
                                {"{unwritable}", testing::unwritableDirectory(input)}};
  const auto make = [&](const char* name, const char* file, const QByteArray& bytes) {
    names.insert(QLatin1String(name), input.filePath(QString::fromUtf8(file)));
    testing::writeBytes(names.value(QLatin1String(name)), bytes);
  };
  make("{faulty}", "con errores.txt", testing::faultyVouchers());
  make("{trailing}", "pagos.txt ", testing::faultyVouchers());
  make("{trimmed}", "pagos.txt", testing::readBytes(samplePath("vouchers.txt")));
  names.insert("{program}", QStringLiteral(TARQUELAS_PROGRAM));
  names.insert("{programDir}", QFileInfo(QStringLiteral(TARQUELAS_PROGRAM)).absolutePath());
  names.insert("{lockIsFolder}", input.filePath("lock es carpeta"));
  QDir().mkpath(names.value("{lockIsFolder}") + "/.Tarquelas.lock");
  make("{pdf}", "Comprobantes de marzo.pdf", "de otra corrida");
  // What an ordinary user may not read, nor delete; the rest of {input} is theirs to read.
  make("{unreadable}", "ilegible.txt", testing::faultyVouchers());
  ASSERT_TRUE(QDir(input.path()).mkdir(QStringLiteral("fija")));
  make("{keptPdf}", "fija/anterior.pdf", "de otra corrida");
  QFile::setPermissions(names.value("{unreadable}"), {});
  QFile::setPermissions(QFileInfo(names.value("{keptPdf}")).path(),
                        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
  QFile::setPermissions(input.path(), QFile::permissions(input.path()) | QFile::ReadOther | QFile::ExeOther);
  names.insert("{long}", input.filePath(QString(300, u'n')));
  names.insert("{badName}", input.filePath(QStringLiteral("o\uFFFD.pdf")));
  QByteArray escape = testing::voucherHeader();
  make("{headerOnly}", "sin comprobantes.txt", escape.replace(8, 6, "\x1b]0;X\x07") + "\r\n");
  // One line of a gigabyte between two short ones, with no disk space used.
  make("{hugeLine}", "renglon enorme.txt", testing::registryHeader() + "\r\n");
  {
    QFile huge(names.value("{hugeLine}"));
    ASSERT_TRUE(huge.open(QIODevice::Append) && huge.resize(qint64(1) << 30));
    ASSERT_TRUE(huge.seek(huge.size()) && huge.write("\r\nX") == 3);
  }
  QTemporaryDir programCopy;
  for (const auto& run : readRuns()) {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/Aplicación con ñ-XXXXXX"));
    names.insert(QStringLiteral("{dir}"), dir.path());
    const auto named = [&names](QString text) {
      for (auto name = names.cbegin(); name != names.cend(); ++name) text.replace(name.key(), name.value());
      return text;
    };
    QStringList arguments;
    for (const QString& argument : run.value(u'$').split(u' ')) arguments.append(named(argument));
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    QProcess program;
    QString path = QStringLiteral(TARQUELAS_PROGRAM);
    if (run.contains(u'@')) {
      path = runAsOrdinaryUser(program, programCopy);
      QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::WriteOther | QFile::ExeOther);
    }
    start(program, arguments, run.value(u'&').split(u'\n', Qt::SkipEmptyParts), path);
    program.waitForFinished(120000);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    const int status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    EXPECT_EQ((QStringList{QString::number(status)} + filesIn(dir.path())).join(u' '), run.value(u'='));
    const QString expected = named(run.value(u'>'));
    const QString whole = expected.isEmpty() ? QString() : expected + u'\n';
    EXPECT_TRUE(!run.contains(u'>') || (run.contains(u'~') ? out.startsWith(expected) : out == whole))
        << out.toStdString();
    EXPECT_TRUE(err.contains(named(run.value(u'!')))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("QStandardPaths")) || err.contains(u'\x1b'))
        << err.toStdString();
    EXPECT_EQ(testing::readBytes(dir.filePath("Tarquelas.pdf")).startsWith("%PDF"),
              filesIn(dir.path()).contains("Tarquelas.pdf"));
  }
  EXPECT_FALSE(QFileInfo::exists(names.value("{pdf}")));  // the last PDF run had no vouchers
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 512 * 1024) << "KiB";  // the gigabyte line was never held whole
}

// Two programs on one App directory: the second waits, saying so once and touching nothing, until
// the first lets it go, by ending or by being killed; only then does it read the file, made faulty
// meanwhile.
TEST(BatchTest, WaitsForAnotherRunInTheSameAppDirectory) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "ended");
    QTemporaryDir dir, input;
    const QString file = input.filePath(QStringLiteral("pagos.txt"));
    ASSERT_TRUE(testing::writeBytes(file, testing::readBytes(samplePath("vouchers.txt"))));
    // Another process holds the lock until its standard input closes.
    QProcess other;
    other.start(QStringLiteral("flock"), {"--close", dir.filePath(QStringLiteral(".Tarquelas.lock")), "sh",
                                          "-c", "echo tomado; exec cat"});
    ASSERT_TRUE(other.waitForReadyRead(60000));
    QProcess program;
    start(program, {"--procesar", file, "--directorio", dir.path()});
    program.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains('\n') && program.waitForReadyRead(60000)) err += program.readAllStandardError();
    EXPECT_EQ(QString::fromUtf8(err),
              QStringLiteral("Esperando que termine otro proceso que usa la carpeta de trabajo…\n"));
    EXPECT_EQ(filesIn(dir.path()), QStringList());
    ASSERT_TRUE(testing::writeBytes(file, testing::faultyVouchers()));
    if (killed) {
      other.kill();
    } else {
      other.closeWriteChannel();
    }
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(err + program.readAllStandardError()).count(QStringLiteral("Esperando")), 1);
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"TarquelasAux.txt", "TarquelasErrores.txt"}));
    other.closeWriteChannel();  // the killed holder's command ends too
    other.waitForFinished(60000);
  }
}

}  // namespace
}  // namespace tarquelas
