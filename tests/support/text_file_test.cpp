#include "support/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "common/temp_dir.h"

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::writeBytes;

class TextFileTest : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

  QList<QByteArray> linesOf(const QByteArray& bytes) {
    const QString p = path("in.txt");
    EXPECT_TRUE(writeBytes(p, bytes));
    const LinesResult r = readAllLines(p);
    EXPECT_TRUE(r.status.isOk()) << r.status.description().toStdString();
    return r.lines;
  }

  QTemporaryDir dir_;
};

TEST_F(TextFileTest, SplitsAtCrLfAndLoneCrButNotLoneLf) {
  using L = QList<QByteArray>;
  EXPECT_EQ(linesOf(""), L{});
  EXPECT_EQ(linesOf("a\r\nb\r\n"), (L{"a", "b"}));
  EXPECT_EQ(linesOf("a\rb\r"), (L{"a", "b"}));
  EXPECT_EQ(linesOf("a\nb\r\nc"), (L{"a\nb", "c"}));  // last line without line end
  EXPECT_EQ(linesOf("\r\n\r\n"), (L{"", ""}));
  EXPECT_EQ(linesOf("\r\r\n"), (L{"", ""}));
  EXPECT_EQ(linesOf("x\r\n\n"), (L{"x", "\n"}));
  EXPECT_EQ(linesOf(QByteArray("a\0b\r\n", 5)), (L{QByteArray("a\0b", 3)}));
}

TEST_F(TextFileTest, ReadsLinesLongerThanItsBufferAndCrLfAcrossBufferEdges) {
  const QByteArray huge(3 * 1024 * 1024 + 7, 'x');
  // Place a CR as the very last byte of the first 1 MiB chunk, LF after it.
  QByteArray edge(1024 * 1024 - 1, 'y');
  edge += "\r\nz";
  const QList<QByteArray> lines = linesOf(huge + "\r\n" + edge);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], huge);
  EXPECT_EQ(lines[1], QByteArray(1024 * 1024 - 1, 'y'));
  EXPECT_EQ(lines[2], "z");
}

TEST_F(TextFileTest, CountsLinesAndBytesForProgress) {
  ASSERT_TRUE(writeBytes(path("c.txt"), "one\r\ntwo\rthree"));
  LineReader reader;
  ASSERT_TRUE(reader.open(path("c.txt")).isOk());
  EXPECT_EQ(reader.size(), 14);
  while (reader.next()) {
  }
  EXPECT_EQ(reader.lineCount(), 3);
  EXPECT_EQ(reader.position(), 14);
}

TEST_F(TextFileTest, SeeksBackAndOnToPositionsReportedBetweenLines) {
  ASSERT_TRUE(writeBytes(path("s.txt"), "one\r\n\ntwo\rthree\r\nx"));
  LineReader reader;
  ASSERT_TRUE(reader.open(path("s.txt")).isOk());
  std::vector<std::pair<qint64, QByteArray>> lines;  // each line with the position before it
  for (qint64 at = reader.position(); auto line = reader.next(); at = reader.position())
    lines.emplace_back(at, line->toByteArray());
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i : {2, 0, 1, 3}) {
    ASSERT_TRUE(reader.seek(lines[i].first).isOk());
    EXPECT_EQ(reader.next().value_or("<none>").toByteArray(), lines[i].second) << i;
  }
  ASSERT_TRUE(reader.seek(reader.size()).isOk());
  EXPECT_FALSE(reader.next().has_value());
}

TEST_F(TextFileTest, MissingFolderAndUnreadableFilesNameThePath) {
  LineReader missing;
  Status s = missing.open(path("nope.txt"));
  EXPECT_TRUE(s.isError());
  EXPECT_TRUE(s.description().contains(QStringLiteral("nope.txt")));
  EXPECT_FALSE(missing.next());

  LineReader folder;
  EXPECT_TRUE(folder.open(dir_.path()).isError());

  // A named pipe nobody writes to must not block.
  const QString fifo = path("pipe");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  LineReader pipe;
  EXPECT_TRUE(pipe.open(fifo).isError());

  if (geteuid() != 0) {  // root reads everything
    ASSERT_TRUE(writeBytes(path("locked.txt"), "x"));
    QFile::setPermissions(path("locked.txt"), QFileDevice::WriteOwner);
    LineReader locked;
    EXPECT_TRUE(locked.open(path("locked.txt")).isError());
  }
}

TEST_F(TextFileTest, FirstLineOfEmptyFileIsNothing) {
  ASSERT_TRUE(writeBytes(path("e.txt"), ""));
  const FirstLineResult r = readFirstLine(path("e.txt"));
  EXPECT_TRUE(r.status.isOk());
  EXPECT_FALSE(r.line.has_value());
  ASSERT_TRUE(writeBytes(path("f.txt"), "head\r\nbody"));
  EXPECT_EQ(readFirstLine(path("f.txt")).line, QByteArray("head"));
}

TEST_F(TextFileTest, WriterEndsLinesInCrLfAndAppends) {
  const QString p = path("out.txt");
  {
    LineWriter w;
    ASSERT_TRUE(w.open(p, LineWriter::Mode::Truncate).isOk());
    w.writeLine("uno");
    w.writeLine("");
    ASSERT_TRUE(w.close().isOk());
  }
  {
    LineWriter w;
    ASSERT_TRUE(w.open(p, LineWriter::Mode::Append).isOk());
    w.writeLine("dos");
    w.write("x");
    ASSERT_TRUE(w.close().isOk());
  }
  EXPECT_EQ(readBytes(p), QByteArray("uno\r\n\r\ndos\r\nx"));
}

TEST_F(TextFileTest, AtomicWriterLeavesTheOldFileUntilCommitted) {
  const QString p = path("Padron.html");
  ASSERT_TRUE(writeBytes(p, "old"));
  {
    LineWriter w;
    ASSERT_TRUE(w.open(p, LineWriter::Mode::Atomic).isOk());
    w.write("half");
    // destroyed without close(): abandoned
  }
  EXPECT_EQ(readBytes(p), QByteArray("old"));
  ASSERT_TRUE(writeFileAtomically(p, "new").isOk());
  EXPECT_EQ(readBytes(p), QByteArray("new"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1);  // no temporary left
}

TEST_F(TextFileTest, WriterReportsAFolderThatCannotBeWritten) {
  const QString p = dir_.filePath(QStringLiteral("no/such/folder/out.txt"));
  LineWriter w;
  const Status s = w.open(p, LineWriter::Mode::Truncate);
  EXPECT_TRUE(s.isError());
  EXPECT_TRUE(s.description().contains(QStringLiteral("out.txt")));
  EXPECT_TRUE(writeFileAtomically(p, "x").isError());
}

TEST_F(TextFileTest, WriterReportsAFullDisk) {
  // A file-size limit stands in for a full disk: writes past it fail.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  LineWriter w;
  Status opened = w.open(path("big.txt"), LineWriter::Mode::Truncate);
  const QByteArray line(1000, 'x');
  for (int i = 0; i < 2000; ++i) w.writeLine(line);
  const Status closed = w.close();
  LineWriter a;
  Status atomicOpened = a.open(path("big.html"), LineWriter::Mode::Atomic);
  for (int i = 0; i < 2000; ++i) a.writeLine(line);
  const Status atomicClosed = a.close();
  setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_TRUE(opened.isOk());
  EXPECT_TRUE(closed.isError());
  ASSERT_TRUE(atomicOpened.isOk());
  EXPECT_TRUE(atomicClosed.isError());
  EXPECT_FALSE(QFile::exists(path("big.html")));
}

TEST_F(TextFileTest, RemoveIfExists) {
  EXPECT_TRUE(removeIfExists(path("absent")).isOk());
  ASSERT_TRUE(writeBytes(path("there"), "x"));
  EXPECT_TRUE(removeIfExists(path("there")).isOk());
  EXPECT_FALSE(QFile::exists(path("there")));
}

}  // namespace
}  // namespace tarquelas
