// Files that cannot be read or written, and cancelling: the validators
// end with a failure that names the file, and leave no working file of
// theirs behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "registry_lines.h"
#include "validation_fixture.h"
#include "voucher_lines.h"

namespace tarquelas::testing {
namespace {

using Validator = Status (*)(const QString&, const WorkPaths&, Progress&);

struct Kind {
  const char* name;
  Validator validate;
  QList<QByteArray> goodAndBad;  // one good line, then a faulty one
};

const Kind kKinds[] = {
    {"Vouchers", validarArchivoTarquelas, {voucherHeader(), QByteArray("x")}},
    {"Registry", validarArchivoPadron, {registryHeader(), administration(1), QByteArray("x")}},
};

class Failures : public ValidationTest, public ::testing::WithParamInterface<Kind> {
 protected:
  Status validate(const QString& path, const WorkPaths& paths, Progress& progress = noProgress()) {
    return GetParam().validate(path, paths, progress);
  }
  QString tempPath(const QString& name) const {
    return QFileInfo(paths().errores).absolutePath() + u'/' + name;
  }
};

TEST_P(Failures, DirectoryAsPresentationFileFailsNamingIt) {
  const QString folder = tempPath(QStringLiteral("carpeta"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const Status status = validate(folder, paths());
  ASSERT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(QDir::toNativeSeparators(folder)))
      << status.description().toStdString();
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, ReadErrorFailsNamingTheFileAndTheReason) {
  // Reading the process's own memory at offset 0 fails with an I/O error.
  const QString unreadable = QStringLiteral("/proc/self/mem");
  const Status status = validate(unreadable, paths());
  ASSERT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(unreadable)) << status.description().toStdString();
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, MissingPresentationFileIsOkAndWritesNothing) {
  EXPECT_TRUE(validate(tempPath(QStringLiteral("no-existe.txt")), paths()).isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, AppDirectoryThatCannotHoldFilesFailsNamingTheWorkingFile) {
  // A plain file where the App directory should be.
  const QString notADirectory = tempPath(QStringLiteral("archivo"));
  ASSERT_TRUE(writeBytes(notADirectory, "x"));
  const WorkPaths broken = WorkPaths::inDirectory(notADirectory);
  givenLines(GetParam().goodAndBad);
  const Status status = validate(input(), broken);
  ASSERT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(QDir::toNativeSeparators(broken.auxiliar)))
      << status.description().toStdString();
}

TEST_P(Failures, ErrorFileThatCannotBeWrittenFailsAndRemovesTheAuxiliaryFile) {
  WorkPaths paths = this->paths();
  paths.errores = tempPath(QStringLiteral("carpeta-errores"));
  ASSERT_TRUE(QDir().mkpath(paths.errores));
  givenLines(GetParam().goodAndBad);
  const Status status = validate(input(), paths);
  ASSERT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(QDir::toNativeSeparators(paths.errores)));
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, FullDiskFailsAtTheEndInsteadOfLookingSuccessful) {
  WorkPaths paths = this->paths();
  paths.errores = QStringLiteral("/dev/full");
  givenLines(GetParam().goodAndBad);
  const Status status = validate(input(), paths);
  ASSERT_TRUE(status.isError());
  EXPECT_TRUE(status.description().contains(QStringLiteral("/dev/full")));
  EXPECT_FALSE(hasAuxFile());
  EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
}

// Cancels at the given report, counting from 1.
class CancelAt final : public Progress {
 public:
  explicit CancelAt(int report) : report_(report) {}
  bool report(Stage, qint64, qint64) override { return ++calls_ < report_; }

 private:
  int report_;
  int calls_ = 0;
};

QList<QByteArray> manyLines(const QList<QByteArray>& goodAndBad, int times) {
  QList<QByteArray> lines;
  for (int i = 0; i < times; ++i) lines.append(goodAndBad);
  return lines;
}

TEST_P(Failures, CancelAtTheStartWritesNothing) {
  givenLines(GetParam().goodAndBad);
  CancelAt cancel(1);
  EXPECT_TRUE(validate(input(), paths(), cancel).isCancelled());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, CancelHalfWayLeavesNoWorkingFileBehind) {
  givenLines(manyLines(GetParam().goodAndBad, 20000));  // several megabytes
  CancelAt cancel(3);
  EXPECT_TRUE(validate(input(), paths(), cancel).isCancelled());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_P(Failures, CancelKeepsWhatAnEarlierWriterLeftInTheErrorFile) {
  ASSERT_TRUE(writeBytes(paths().errores, "previo\r\n"));
  givenLines(manyLines(GetParam().goodAndBad, 20000));
  CancelAt cancel(3);
  EXPECT_TRUE(validate(input(), paths(), cancel).isCancelled());
  EXPECT_EQ(errorFile(), "previo\r\n");
}

class Recorder final : public Progress {
 public:
  bool report(Stage stage, qint64 done, qint64 total) override {
    stages.append(stage);
    done_.append(done);
    totals.append(total);
    return true;
  }
  QList<Stage> stages;
  QList<qint64> done_;
  QList<qint64> totals;
};

TEST_P(Failures, ProgressRunsThroughTheFileInBytes) {
  givenLines(manyLines(GetParam().goodAndBad, 20000));
  const qint64 size = QFileInfo(input()).size();
  Recorder recorder;
  ASSERT_TRUE(validate(input(), paths(), recorder).isOk());
  ASSERT_GE(recorder.done_.size(), 3);
  EXPECT_LE(recorder.done_.size(), 3 + size / (1 << 20));
  for (qsizetype i = 0; i < recorder.done_.size(); ++i) {
    EXPECT_EQ(recorder.stages[i], Progress::Stage::Validating);
    EXPECT_EQ(recorder.totals[i], size);
    if (i > 0) {
      EXPECT_GE(recorder.done_[i], recorder.done_[i - 1]);
    }
  }
  EXPECT_EQ(recorder.done_.first(), 0);
  EXPECT_EQ(recorder.done_.last(), size);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, Failures, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarquelas::testing
