// What both validators share: files that cannot be read or written,
// cancelling, progress, line ends, appending to the error file; and the
// sample files, shipped and generated.
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

class BothKinds : public ValidationTest, public ::testing::WithParamInterface<Kind> {
 protected:
  void givenLargeFile() {  // several megabytes
    QList<QByteArray> lines;
    for (int i = 0; i < 20000; ++i) lines.append(GetParam().goodThenBad);
    givenFile(crlf(lines));
  }
};

TEST_P(BothKinds, FilesThatCannotBeReadOrWrittenFailNamingThePathAndLeaveNothing) {
  const QString folder = tempPath(QStringLiteral("carpeta")), plainFile = tempPath(QStringLiteral("archivo"));
  ASSERT_TRUE(QDir().mkpath(folder) && writeBytes(plainFile, "x"));
  givenFile(crlf(GetParam().goodThenBad));
  WorkPaths errorsInFolder = paths(), fullDisk = paths();
  errorsInFolder.errores = folder;
  fullDisk.errores = QStringLiteral("/dev/full");
  const WorkPaths appIsAFile = WorkPaths::inDirectory(plainFile);
  const struct {
    QString input;
    WorkPaths paths;
    QString named;
  } cases[] = {
      {folder, paths(), folder},
      {QStringLiteral("/proc/self/mem"), paths(), QStringLiteral("/proc/self/mem")},  // reading fails
      {input(), appIsAFile, appIsAFile.auxiliar},
      {input(), errorsInFolder, folder},
      {input(), fullDisk, QStringLiteral("/dev/full")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named.toStdString());
    const Status status = GetParam().validate(c.input, c.paths, noProgress());
    ASSERT_TRUE(status.isError());
    EXPECT_TRUE(status.description().contains(QDir::toNativeSeparators(c.named)))
        << status.description().toStdString();
    EXPECT_EQ(errorFile() + auxFile(), QByteArray());
  }
  EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
  // A file that does not exist is no failure, and writes nothing.
  EXPECT_TRUE(GetParam().validate(tempPath(QStringLiteral("no-existe.txt")), paths(), noProgress()).isOk());
  EXPECT_EQ(errorFile() + auxFile(), QByteArray());
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

TEST_P(BothKinds, ProgressRunsThroughTheFileInBytesAboutEveryMegabyte) {
  givenLargeFile();
  Probe probe(QFileInfo(input()).size());
  ASSERT_TRUE(validate(GetParam().validate, probe).isOk());
  ASSERT_GE(probe.done_.size(), 3);
  EXPECT_LE(probe.done_.size(), 3 + probe.total_ / (1 << 20));
  EXPECT_EQ(probe.done_.first(), 0);
  EXPECT_EQ(probe.done_.last(), probe.total_);
}

TEST_P(BothKinds, CancelLeavesNoFileOfItsOwnAndKeepsAnEarlierErrorFile) {
  givenLargeFile();
  for (const QByteArray& earlier : {QByteArray(), QByteArray("previo\r\n")}) {
    for (const int report : {1, 3}) {
      SCOPED_TRACE(report);
      ASSERT_TRUE(earlier.isEmpty() || writeBytes(paths().errores, earlier));
      Probe cancel(QFileInfo(input()).size(), report);
      EXPECT_TRUE(validate(GetParam().validate, cancel).isCancelled());
      EXPECT_EQ(errorFile(), earlier);
      EXPECT_EQ(auxFile(), QByteArray());
    }
  }
}

TEST_P(BothKinds, LoneCarriageReturnsAndAMissingLastLineEndChangeNothing) {
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
}

TEST_P(BothKinds, ErrorFileIsAppendedToSoARunThatClearsItFirstKeepsOnlyItsOwnErrors) {
  givenFile(crlf(GetParam().goodThenBad));
  ASSERT_TRUE(validate(GetParam().validate).isOk());
  const QByteArray once = errorFile();
  ASSERT_TRUE(validate(GetParam().validate).isOk());
  EXPECT_EQ(errorFile(), once + once);
  ASSERT_TRUE(QFile::remove(paths().errores) && QFile::remove(paths().auxiliar));
  ASSERT_TRUE(validate(GetParam().validate).isOk());
  EXPECT_EQ(errorFile(), once);
}

INSTANTIATE_TEST_SUITE_P(Validators, BothKinds, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

QString sample(const char* name) {
  return QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/") + QLatin1String(name);
}

TEST(Samples, ShippedSamplesAreValidAndCopiedWithoutTheVoucherClosingRecord) {
  for (const bool vouchers : {true, false}) {
    const QString path = sample(vouchers ? "vouchers.txt" : "registry.txt");
    const QByteArray bytes = readBytes(path);
    ASSERT_FALSE(bytes.isEmpty());
    QTemporaryDir dir;
    const WorkPaths paths = WorkPaths::inDirectory(dir.path());
    ASSERT_TRUE(
        (vouchers ? validarArchivoTarquelas : validarArchivoPadron)(path, paths, noProgress()).isOk());
    EXPECT_EQ(fileOrNothing(paths.errores), QByteArray());
    EXPECT_EQ(fileOrNothing(paths.auxiliar),
              vouchers ? bytes.left(bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2) : bytes);
  }
}

// Valid files at scale, written by samples/generate.py.
class Generated : public ValidationTest {
 protected:
  void generate(const QString& arguments) {
    QStringList list = arguments.split(u' ');
    list.prepend(sample("generate.py"));
    QProcess python;
    python.start(QStringLiteral("python3"), list << QStringLiteral("-o") << input());
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  }
};

TEST_F(Generated, ValidFilesPassWithEveryLineCopied) {
  const struct {
    const char* arguments;
    Validator validator;
    qsizetype lines;  // copied; -1 when not counted
  } cases[] = {{"voucher --consortia 40 --encoding utf-8 --line-end cr", validarArchivoTarquelas, -1},
               {"registry --consortia 300 --workers 5", validarArchivoPadron, 2 + 15 + 300 * (1 + 5 * 3 + 1)},
               {"registry --lines 5003", validarArchivoPadron, 5003}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    (void)QFile::remove(paths().auxiliar);
    generate(QLatin1String(c.arguments));
    ASSERT_TRUE(validate(c.validator).isOk());
    EXPECT_EQ(errorFile(), QByteArray());
    EXPECT_EQ(c.lines < 0 ? -1 : auxFile().count("\r\n"), c.lines);
  }
}

}  // namespace
}  // namespace tarquelas::testing
