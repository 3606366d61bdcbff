// Paths as users give them: blanks, accented and non-Latin letters (UTF-8 names on disk), long
// names and folders, and names the file system refuses, through LineReader and LineWriter.
#include <gtest/gtest.h>

#include <QDir>

#include "common/temp_dir.h"
#include "support/text_file.h"

namespace tarquelas {
namespace {

const QList<QByteArray> kLines = {"C1234567", "L\xEDnea con acento \xF1", "", "fin"};
const QByteArray kBytes = "C1234567\r\nL\xEDnea con acento \xF1\r\n\r\nfin\r\n";
using Mode = LineWriter::Mode;

Status writeLines(const QString& path, Mode mode, const QList<QByteArray>& lines = kLines) {
  LineWriter writer;
  if (Status s = writer.open(path, mode); !s.isOk()) return s;
  for (const QByteArray& l : lines) writer.writeLine(l);
  return writer.close();
}

// Names as the file system holds them (Qt reads them as UTF-8).
QStringList names(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST(FilePaths, UsersNamesAreWrittenReadBackAndStoredAsUtf8InEveryMode) {
  QStringList longFolder;  // about 3,000 bytes in twelve folders of 240 characters, under PATH_MAX
  for (int i = 0; i < 12; ++i) longFolder << QString(240, QChar(u'a' + i));
  const std::pair<QString, QString> cases[] = {
      {QStringLiteral("Mis Documentos"), QStringLiteral("  presentaci\u00F3n de enero.txt  ")},
      {QStringLiteral("Espa\u00F1a/\u65E5\u672C"),
       QStringLiteral("Padr\u00F3n \u00D1and\u00FA \u0394\u03B5.html")},
      {longFolder.join(u'/'), QStringLiteral("TarquelasAux.txt")},
      {QString(), QString(236, u'm') + QStringLiteral(".txt")},  // room for the temporary name beside it
  };
  for (const auto& [folder, name] : cases) {
    SCOPED_TRACE(name.left(40).toStdString());
    QTemporaryDir root;
    const QString dir = folder.isEmpty() ? root.path() : root.filePath(folder);
    ASSERT_TRUE(QDir().mkpath(dir));
    for (Mode mode : {Mode::Truncate, Mode::Atomic, Mode::Append}) {
      const Status s = writeLines(dir + u'/' + name, mode);
      ASSERT_TRUE(s.isOk()) << s.description().toStdString();
      const bool twice = mode == Mode::Append;
      EXPECT_EQ(testing::readBytes(dir + u'/' + name), twice ? kBytes + kBytes : kBytes);
      EXPECT_EQ(readAllLines(dir + u'/' + name).lines, twice ? kLines + kLines : kLines);
    }
    EXPECT_EQ(names(dir), QStringList{name});  // no temporary left beside it
  }
}

// A 300-byte name, a path past PATH_MAX and a missing folder fail naming the path, in every
// mode, reading too; nothing is left behind.
TEST(FilePaths, RefusedNamesFailNamingTheirPathAndLeaveNothing) {
  QTemporaryDir root;
  for (const QString& path : {root.filePath(QString(300, u'x')), root.path() + u'/' + QString(5000, u'y'),
                              root.filePath(QStringLiteral("no existe/archivo.txt"))}) {
    for (Mode mode : {Mode::Truncate, Mode::Atomic, Mode::Append}) {
      const Status s = writeLines(path, mode);
      EXPECT_TRUE(s.isError() && s.description().contains(path.left(40))) << s.description().toStdString();
    }
    LineReader reader;
    EXPECT_TRUE(reader.open(path).isError());
    EXPECT_FALSE(reader.next().has_value());
    EXPECT_TRUE(readAllLines(path).status.isError());
  }
  EXPECT_TRUE(names(root.path()).isEmpty());
}

}  // namespace
}  // namespace tarquelas
