// What both validators share: files that cannot be read or written,
// cancelling, progress, line ends, appending to the error file; and valid
// files, shipped and generated at scale.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "registry_lines.h"
#include "validation_fixture.h"
#include "voucher_lines.h"

namespace tarquelas::testing {
namespace {

struct Kind {
  const char* name;
  Validator validate;
  QList<QByteArray> goodThenBad;  // good lines, then a faulty last one
};

const Kind kKinds[] = {
    {"Vouchers", validarArchivoTarquelas, {voucherHeader(), voucherDetail().at(229, "19980610")}},
    {"Registry", validarArchivoPadron, {registryHeader(), administration(1), trailer(9, 1, 0, 0, 0)}},
};

void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.name; }

class BothKinds : public ValidationTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(BothKinds, FilesThatCannotBeReadOrWrittenFailNamingThePathAndLeaveNothing) {
  const QString folder = tempPath(QStringLiteral("carpeta")), plainFile = tempPath(QStringLiteral("archivo")),
                full = tempPath(QStringLiteral("lleno"));  // a link: a fault may remove it, never the device
  ASSERT_TRUE(QDir().mkpath(folder) && writeBytes(plainFile, "x") &&
              QFile::link(QStringLiteral("/dev/full"), full));
  givenFile(crlf(GetParam().goodThenBad));
  WorkPaths errorsInFolder = paths(), fullDisk = paths();
  errorsInFolder.errores = folder;
  fullDisk.errores = full;
  const WorkPaths appIsAFile = WorkPaths::inDirectory(plainFile);
  const struct {
    QString input;
    WorkPaths paths;
    QString named;
  } cases[] = {{folder, paths(), folder},
               {input(), appIsAFile, appIsAFile.auxiliar},
               {input(), errorsInFolder, folder},
               {input(), fullDisk, full}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named.toStdString());
    const Status status = GetParam().validate(c.input, c.paths, noProgress());
    ASSERT_TRUE(status.isError());
    EXPECT_TRUE(status.description().contains(QDir::toNativeSeparators(c.named)))
        << status.description().toStdString();
    EXPECT_EQ(errorFile() + auxFile(), QByteArray());
  }
  EXPECT_TRUE(QFileInfo(full).isSymLink());  // an earlier error file stays
  // A file that does not exist is no failure, and writes nothing; nor does one that was empty when
  // opened (the size every pseudo-file of /proc reports).
  for (const QString& nothing :
       {tempPath(QStringLiteral("no-existe.txt")), QStringLiteral("/proc/self/mem")}) {
    EXPECT_TRUE(GetParam().validate(nothing, paths(), noProgress()).isOk());
    EXPECT_EQ(errorFile() + auxFile(), QByteArray());
  }
}

// Records the bytes done it hears of, and cancels at report `cancelAt`.
class Probe final : public Progress {
 public:
  explicit Probe(qint64 total, int cancelAt = 0) : total_(total), cancelAt_(cancelAt) {}
  bool report(Stage stage, qint64 done, qint64 total) override {
    EXPECT_EQ(stage, Stage::Validating);
    EXPECT_EQ(total, total_);
    EXPECT_GE(done, done_.isEmpty() ? 0 : done_.last());
    done_.append(done);
    return done_.size() != cancelAt_;
  }
  qint64 total_;
  int cancelAt_;
  QList<qint64> done_;
};

// A cancel leaves no file of its own and keeps an earlier error file;
// progress runs through a file of several megabytes about every megabyte.
TEST_P(BothKinds, CancelLeavesNoFileOfItsOwnAndProgressRunsThroughTheFileInBytes) {
  QList<QByteArray> lines;
  for (int i = 0; i < 20000; ++i) lines.append(GetParam().goodThenBad);
  givenFile(crlf(lines));
  Probe probe(QFileInfo(input()).size());
  for (const QByteArray& earlier : {QByteArray(), QByteArray("previo\r\n")}) {
    for (const int report : {1, 3}) {
      ASSERT_TRUE(earlier.isEmpty() || writeBytes(paths().errores, earlier));
      Probe cancel(probe.total_, report);
      EXPECT_TRUE(validate(GetParam().validate, cancel).isCancelled()) << report;
      EXPECT_EQ(errorFile(), earlier);
      EXPECT_EQ(auxFile(), QByteArray());
    }
  }
  ASSERT_TRUE(validate(GetParam().validate, probe).isOk());
  ASSERT_GE(probe.done_.size(), 3);
  EXPECT_LE(probe.done_.size(), 3 + probe.total_ / (1 << 20));
  EXPECT_EQ(probe.done_.first(), 0);
  EXPECT_EQ(probe.done_.last(), probe.total_);
}

// Lone carriage returns and a missing last line end change nothing; the
// error file is appended to, so a run that clears it first keeps only its
// own errors.
TEST_P(BothKinds, LineEndsChangeNothingAndTheErrorFileIsAppendedTo) {
  const QList<QByteArray>& lines = GetParam().goodThenBad;
  ASSERT_TRUE(validateBytes(GetParam().validate, crlf(lines)).isOk());
  const QByteArray errors = errorFile(), aux = auxFile();
  ASSERT_FALSE(errors.isEmpty());  // the last line is checked
  QByteArray loneCr;
  for (const QByteArray& line : lines) loneCr.append(line).append('\r');
  for (const QByteArray& bytes : {loneCr, crlf(lines).chopped(2)}) {
    ASSERT_TRUE(validateBytes(GetParam().validate, bytes).isOk());
    EXPECT_EQ(errorFile(), errors);
    EXPECT_EQ(auxFile(), aux);
  }
  ASSERT_TRUE(validate(GetParam().validate).isOk());
  EXPECT_EQ(errorFile(), errors + errors);
}

INSTANTIATE_TEST_SUITE_P(Validators, BothKinds, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

class ValidFiles : public ValidationTest {};

// Shipped, and written at scale by samples/generate.py: they pass with
// every line copied, but for a voucher file's closing record.
TEST_F(ValidFiles, PassWithEveryLineCopied) {
  const QString samples = QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/");
  const struct {
    const char* source;
    Validator validator;
    qsizetype lines;  // copied; 0 when not counted
  } cases[] = {{"vouchers.txt", validarArchivoTarquelas, 0},
               {"registry.txt", validarArchivoPadron, 0},
               {"voucher --consortia 40 --encoding utf-8 --line-end cr", validarArchivoTarquelas, 0},
               {"registry --consortia 300 --workers 5", validarArchivoPadron, 2 + 15 + 300 * (1 + 5 * 3 + 1)},
               {"registry --lines 5003", validarArchivoPadron, 5003}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    (void)QFile::remove(paths().auxiliar);
    const QStringList arguments = QString::fromLatin1(c.source).split(u' ');
    QByteArray shipped;
    if (arguments.size() == 1) {
      givenFile(shipped = readBytes(samples + arguments[0]));
      ASSERT_FALSE(shipped.isEmpty());
      if (c.validator == validarArchivoTarquelas)
        shipped.truncate(shipped.lastIndexOf("\r\n", shipped.size() - 3) + 2);
    } else {
      QProcess python;
      python.start(QStringLiteral("python3"), QStringList{samples + QStringLiteral("generate.py")} +
                                                  arguments + QStringList{QStringLiteral("-o"), input()});
      ASSERT_TRUE(python.waitForFinished(60000));
      ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(validate(c.validator).isOk());
    EXPECT_EQ(errorFile(), QByteArray());
    EXPECT_EQ(shipped.isEmpty() ? QByteArray() : auxFile(), shipped);
    EXPECT_EQ(c.lines ? auxFile().count("\r\n") : 0, c.lines);
  }
}

}  // namespace
}  // namespace tarquelas::testing
