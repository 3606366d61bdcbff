// Paths as users give them: blanks, accented letters (UTF-8 file names on
// disk), very long names and folders, through LineReader and LineWriter in
// every mode.
#include <dirent.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "common/temp_dir.h"
#include "support/text_file.h"

namespace tarquelas {
namespace {

using testing::readBytes;

const QList<QByteArray> kLines = {"C1234567", "L\xEDnea con acento \xF1", "", "fin"};
const QByteArray kBytes = "C1234567\r\nL\xEDnea con acento \xF1\r\n\r\nfin\r\n";

// The raw names in a folder, as the file system holds them.
QList<QByteArray> rawNames(const QString& dir) {
  QList<QByteArray> names;
  DIR* d = opendir(QFile::encodeName(dir).constData());
  if (!d) return names;
  while (const dirent* e = readdir(d)) {
    const QByteArray n(e->d_name);
    if (n != "." && n != "..") names << n;
  }
  closedir(d);
  return names;
}

Status writeLines(const QString& path, LineWriter::Mode mode) {
  LineWriter writer;
  if (Status s = writer.open(path, mode); !s.isOk()) return s;
  for (const QByteArray& l : kLines) writer.writeLine(l);
  return writer.close();
}

QList<QByteArray> readLines(const QString& path) {
  LinesResult r = readAllLines(path);
  EXPECT_TRUE(r.status.isOk()) << r.status.description().toStdString();
  return r.lines;
}

struct NameCase {
  const char* what;
  QString folder;  // relative, may be empty or nested
  QString name;
};

class FilePathsTest : public ::testing::TestWithParam<NameCase> {
 protected:
  QTemporaryDir root_;
};

TEST_P(FilePathsTest, WritesAndReadsBackInEveryMode) {
  const NameCase& c = GetParam();
  ASSERT_TRUE(QDir(root_.path()).mkpath(c.folder.isEmpty() ? QStringLiteral(".") : c.folder));
  const QString dir = c.folder.isEmpty() ? root_.path() : root_.path() + u'/' + c.folder;
  const QString path = dir + u'/' + c.name;
  for (LineWriter::Mode mode : {LineWriter::Mode::Truncate, LineWriter::Mode::Atomic}) {
    const Status s = writeLines(path, mode);
    ASSERT_TRUE(s.isOk()) << s.description().toStdString();
    EXPECT_EQ(readBytes(path), kBytes);
    EXPECT_EQ(readLines(path), kLines);
  }
  ASSERT_TRUE(writeLines(path, LineWriter::Mode::Append).isOk());
  EXPECT_EQ(readLines(path).size(), 2 * kLines.size());
  // Nothing but the file itself is left in its folder (no temporary file).
  EXPECT_EQ(rawNames(dir), QList<QByteArray>{QFile::encodeName(c.name)});
  LineReader reader;
  ASSERT_TRUE(reader.open(path).isOk());
  EXPECT_EQ(reader.next(), QByteArrayView(kLines[0]));
}

const QString kLongFolder = [] {
  // About 3,000 bytes in twelve folders of 240 characters, under PATH_MAX.
  QStringList parts;
  for (int i = 0; i < 12; ++i) parts << QString(240, QChar(u'a' + i));
  return parts.join(u'/');
}();

INSTANTIATE_TEST_SUITE_P(
    Names, FilePathsTest,
    ::testing::Values(
        NameCase{"Blanks", QStringLiteral("Mis Documentos"),
                 QStringLiteral("presentaci\u00F3n de enero.txt")},
        NameCase{"LeadingAndTrailingBlanks", QString(), QStringLiteral("  nombre con blancos  ")},
        NameCase{"AccentedFolderAndName", QStringLiteral("Espa\u00F1a/A\u00F1o 2024"),
                 QStringLiteral("Padr\u00F3n \u00D1and\u00FA \u00E1\u00E9\u00ED\u00F3\u00FA.html")},
        NameCase{"NonLatinLetters", QStringLiteral("\u65E5\u672C"),
                 QStringLiteral("\u0394\u03B5\u03BB\u03C4\u03B1.txt")},
        NameCase{"LongFolders", kLongFolder, QStringLiteral("TarquelasAux.txt")},
        NameCase{"NameOf200Characters", QString(), QString(196, u'n') + QStringLiteral(".txt")},
        NameCase{"NameOf240Characters", QString(), QString(236, u'm') + QStringLiteral(".txt")}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.what); });

TEST(FilePathsOnDisk, StoresAccentedNamesAsUtf8) {
  QTemporaryDir root;
  const QString name = QStringLiteral("Presentaci\u00F3n \u00F1.txt");
  ASSERT_TRUE(writeLines(root.filePath(name), LineWriter::Mode::Truncate).isOk());
  EXPECT_EQ(rawNames(root.path()), QList<QByteArray>{"Presentaci\xC3\xB3n \xC3\xB1.txt"});
}

// Replacing a file atomically needs a second, longer name beside it for a
// moment, so a name at the file system's limit of 255 bytes can be written
// once but not replaced: the replacement fails naming the file, and the
// file keeps its earlier content.
TEST(FilePathsOnDisk, FailedAtomicReplacementKeepsTheOldFile) {
  QTemporaryDir root;
  const QString path = root.filePath(QString(251, u'm') + QStringLiteral(".txt"));
  ASSERT_TRUE(writeLines(path, LineWriter::Mode::Truncate).isOk());
  LineWriter writer;
  ASSERT_TRUE(writer.open(path, LineWriter::Mode::Atomic).isOk());
  writer.writeLine("nuevo");
  const Status s = writer.close();
  if (s.isOk()) {
    EXPECT_EQ(readBytes(path), "nuevo\r\n");  // a file system that allows longer names
  } else {
    EXPECT_TRUE(s.description().contains(path)) << s.description().toStdString();
    EXPECT_EQ(readBytes(path), kBytes);
  }
  EXPECT_EQ(rawNames(root.path()).size(), 1);
}

// Names the file system refuses fail with a description naming the file;
// nothing crashes and nothing is left behind.
TEST(FilePathsOnDisk, RefusedNamesFailWithTheirPath) {
  QTemporaryDir root;
  const QString tooLongName = root.filePath(QString(300, u'x'));
  const QString beyondPathMax = root.path() + u'/' + QString(5000, u'y');
  const QString missingFolder = root.filePath(QStringLiteral("no existe/archivo.txt"));
  for (const QString& path : {tooLongName, beyondPathMax, missingFolder}) {
    for (LineWriter::Mode mode :
         {LineWriter::Mode::Truncate, LineWriter::Mode::Append, LineWriter::Mode::Atomic}) {
      const Status s = writeLines(path, mode);
      EXPECT_TRUE(s.isError());
      EXPECT_TRUE(s.description().contains(path.left(40))) << s.description().toStdString();
    }
    LineReader reader;
    const Status s = reader.open(path);
    EXPECT_TRUE(s.isError());
    EXPECT_FALSE(reader.next().has_value());
    EXPECT_TRUE(readAllLines(path).status.isError());
  }
  EXPECT_TRUE(rawNames(root.path()).isEmpty());
}

}  // namespace
}  // namespace tarquelas
