// Paths as users give them: blanks, accented and non-Latin letters (UTF-8 names on disk), long
// names and folders, and names the file system refuses, through LineReader and LineWriter.
#include <dirent.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "common/temp_dir.h"
#include "support/text_file.h"

namespace tarquelas {
namespace {

const QList<QByteArray> kLines = {"C1234567", "L\xEDnea con acento \xF1", "", "fin"};
const QByteArray kBytes = "C1234567\r\nL\xEDnea con acento \xF1\r\n\r\nfin\r\n";
constexpr LineWriter::Mode kModes[] = {LineWriter::Mode::Truncate, LineWriter::Mode::Atomic,
                                       LineWriter::Mode::Append};

// The raw names in a folder, as the file system holds them.
QList<QByteArray> rawNames(const QString& dir) {
  QList<QByteArray> names;
  DIR* d = opendir(QFile::encodeName(dir).constData());
  for (const dirent* e; d && (e = readdir(d));) {
    if (QByteArray(e->d_name) != "." && QByteArray(e->d_name) != "..") names << e->d_name;
  }
  if (d) closedir(d);
  return names;
}

Status writeLines(const QString& path, LineWriter::Mode mode, const QList<QByteArray>& lines = kLines) {
  LineWriter writer;
  if (Status s = writer.open(path, mode); !s.isOk()) return s;
  for (const QByteArray& l : lines) writer.writeLine(l);
  return writer.close();
}

TEST(FilePaths, UsersNamesAreWrittenReadBackAndStoredAsUtf8InEveryMode) {
  QStringList longFolder;  // about 3,000 bytes in twelve folders of 240 characters, under PATH_MAX
  for (int i = 0; i < 12; ++i) longFolder << QString(240, QChar(u'a' + i));
  const struct {
    QString folder, name;
  } cases[] = {
      {QStringLiteral("Mis Documentos"), QStringLiteral("presentaci\u00F3n de enero.txt")},
      {QString(), QStringLiteral("  nombre con blancos  ")},
      {QStringLiteral("Espa\u00F1a/A\u00F1o 2024"),
       QStringLiteral("Padr\u00F3n \u00D1and\u00FA \u00E1\u00E9.html")},
      {QStringLiteral("\u65E5\u672C"), QStringLiteral("\u0394\u03B5\u03BB\u03C4\u03B1.txt")},
      {longFolder.join(u'/'), QStringLiteral("TarquelasAux.txt")},
      {QString(), QString(196, u'n') + QStringLiteral(".txt")},
      {QString(), QString(236, u'm') + QStringLiteral(".txt")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.left(40).toStdString());
    QTemporaryDir root;
    const QString dir = c.folder.isEmpty() ? root.path() : root.filePath(c.folder);
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + u'/' + c.name;
    for (LineWriter::Mode mode : kModes) {
      const Status s = writeLines(path, mode);
      ASSERT_TRUE(s.isOk()) << s.description().toStdString();
      const bool twice = mode == LineWriter::Mode::Append;
      EXPECT_EQ(testing::readBytes(path), twice ? kBytes + kBytes : kBytes);
      EXPECT_EQ(readAllLines(path).lines, twice ? kLines + kLines : kLines);
    }
    EXPECT_EQ(rawNames(dir), QList<QByteArray>{c.name.toUtf8()});  // no temporary left beside it
  }
}

// A 300-byte name, a path past PATH_MAX and a missing folder fail naming the path, in every
// mode, reading too; nothing is left behind.
TEST(FilePaths, RefusedNamesFailNamingTheirPathAndLeaveNothing) {
  QTemporaryDir root;
  for (const QString& path : {root.filePath(QString(300, u'x')), root.path() + u'/' + QString(5000, u'y'),
                              root.filePath(QStringLiteral("no existe/archivo.txt"))}) {
    for (LineWriter::Mode mode : kModes) {
      const Status s = writeLines(path, mode);
      EXPECT_TRUE(s.isError() && s.description().contains(path.left(40))) << s.description().toStdString();
    }
    LineReader reader;
    EXPECT_TRUE(reader.open(path).isError());
    EXPECT_FALSE(reader.next().has_value());
    EXPECT_TRUE(readAllLines(path).status.isError());
  }
  EXPECT_TRUE(rawNames(root.path()).isEmpty());
}

// Replacing a file atomically needs a longer name beside it for a moment, so a name at the
// limit of 255 bytes can be written but maybe not replaced: then the failure names the file
// and the file keeps its earlier content.
TEST(FilePaths, FailedAtomicReplacementKeepsTheOldFile) {
  QTemporaryDir root;
  const QString path = root.filePath(QString(251, u'm') + QStringLiteral(".txt"));
  ASSERT_TRUE(writeLines(path, LineWriter::Mode::Truncate).isOk());
  const Status s = writeLines(path, LineWriter::Mode::Atomic, {"nuevo"});
  EXPECT_TRUE(s.isOk() || s.description().contains(path)) << s.description().toStdString();
  EXPECT_EQ(testing::readBytes(path), s.isOk() ? QByteArray("nuevo\r\n") : kBytes);
  EXPECT_EQ(rawNames(root.path()).size(), 1);
}

}  // namespace
}  // namespace tarquelas
