// Lines read at CR LF or a lone CR, across buffer edges, past a line limit
// and back after a seek; lines written in CR LF, directly or atomically; and
// the failures, each naming the file and the system's reason.
#include "support/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>

#include "common/temp_dir.h"

using namespace Qt::StringLiterals;

namespace tarquelas {
namespace {

using testing::readBytes;
using testing::writeBytes;
using Lines = QList<QByteArray>;

class TextFileTest : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
};

// Each line is read again after a seek back to the position reported before it; what is appended
// after opening is not read.
TEST_F(TextFileTest, LinesEndAtCrLfOrALoneCrWhereverTheBufferEndsKeepTheirFirstBytesPastTheLimitAndSeekBack) {
  const QByteArray edge(1024 * 1024 - 1, 'y');  // its CR the last byte of the first read
  const QByteArray huge(3 * 1024 * 1024 + 7, 'x'), kept(64 * 1024, 'x');
  const struct {
    QByteArray bytes;
    qsizetype limit;
    Lines lines;
  } cases[] = {
      {"", -1, {}},
      {"a\r\nb\r\n", -1, {"a", "b"}},
      {"a\rb\r", -1, {"a", "b"}},
      {"\na\nb\r\nc", -1, {"\na\nb", "c"}},  // a lone LF stays; a last line without its end
      {"\r\n\r\n", -1, {"", ""}},
      {"\r\r\n", -1, {"", ""}},
      {"x\r\n\n", -1, {"x", "\n"}},
      {QByteArray("a\0b\r\n", 5), -1, {QByteArray("a\0b", 3)}},
      {edge + "\r\nz", -1, {edge, "z"}},
      {huge + "\r\n" + edge + "\r\nz", -1, {huge, edge, "z"}},
      {huge + "\r\nz\r\n" + huge, kept.size(), {kept, "z", kept}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.left(12).toPercentEncoding().toStdString());
    ASSERT_TRUE(writeBytes(path("in.txt"), c.bytes));
    LineReader reader;
    ASSERT_TRUE(reader.open(path("in.txt")).isOk());
    reader.setLineLimit(c.limit);
    {  // a file that grows while it is read is read as it was when opened
      QFile grown(path("in.txt"));
      ASSERT_TRUE(grown.open(QIODevice::Append) && grown.write("mas\r\n") == 5);
    }
    Lines lines;
    std::vector<qint64> starts;
    for (qint64 at = 0; auto line = reader.next(); at = reader.position()) {
      lines.append(line->toByteArray());
      starts.push_back(at);
    }
    EXPECT_TRUE(lines == c.lines);
    EXPECT_EQ(reader.lineCount(), c.lines.size());
    EXPECT_EQ(reader.position(), reader.size());  // for progress
    EXPECT_EQ(reader.size(), c.bytes.size());
    ASSERT_TRUE(QFile::resize(path("in.txt"), c.bytes.size()));
    EXPECT_EQ(readFirstLine(path("in.txt"), c.limit).line,
              c.lines.isEmpty() ? std::nullopt : std::optional(c.lines[0]));
    if (c.limit < 0) {
      EXPECT_TRUE(readAllLines(path("in.txt")).lines == c.lines);
    }
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
      ASSERT_TRUE(reader.seek(starts[i]).isOk());
      EXPECT_TRUE(reader.next().value_or("<none>").toByteArray() == lines[i]) << i;
    }
    ASSERT_TRUE(reader.seek(reader.size()).isOk());
    EXPECT_FALSE(reader.next().has_value());
  }
}

TEST_F(TextFileTest, MissingFoldersPipesAndUnreadableFilesAreErrorsNamingThePath) {
  ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);  // nobody writes: must not block
  ASSERT_TRUE(writeBytes(path("locked"), "x") &&
              QFile::setPermissions(path("locked"), QFileDevice::WriteOwner));
  for (const QString& p : {path("nope.txt"), dir_.path(), path("pipe"), path("locked")}) {
    if (p == path("locked") && geteuid() == 0) continue;  // root reads everything
    LineReader reader;
    const Status s = reader.open(p);
    EXPECT_TRUE(s.isError() && s.description().contains(p)) << s.description().toStdString();
    EXPECT_FALSE(reader.next());
  }
}

TEST_F(TextFileTest, WriterEndsLinesInCrLfAndAnAtomicOneLeavesTheOldFileUntilCommitted) {
  for (const auto mode : {LineWriter::Mode::Truncate, LineWriter::Mode::Append}) {
    LineWriter w;
    ASSERT_TRUE(w.open(path("out.txt"), mode).isOk());
    w.writeLine("uno");
    w.writeLine("");
    w.write("x");
    ASSERT_TRUE(w.close().isOk());
  }
  EXPECT_EQ(readBytes(path("out.txt")), "uno\r\n\r\nxuno\r\n\r\nx");
  ASSERT_TRUE(writeBytes(path("plain.html"), "old") && QFile::link(path("plain.html"), path("to-plain")));
  {
    LineWriter w;
    ASSERT_TRUE(w.open(path("to-plain"), LineWriter::Mode::Atomic).isOk());
    w.write("half");
  }  // destroyed without close(): abandoned
  EXPECT_EQ(readBytes(path("plain.html")), "old");
  ASSERT_TRUE(writeFileAtomically(path("to-plain"), "new").isOk());  // through the link
  EXPECT_TRUE(QFileInfo(path("to-plain")).isSymLink());
  EXPECT_EQ(readBytes(path("plain.html")), "new");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 3);  // no temporary left
  EXPECT_TRUE(removeIfExists(path("out.txt")).isOk() && removeIfExists(path("out.txt")).isOk());
  EXPECT_FALSE(QFile::exists(path("out.txt")));
}

// A file size limit stands in for a full disk. A new file is renamed into
// place only over a plain file, never over a folder, a pipe or a device,
// named directly or through a link.
TEST_F(TextFileTest, FailedWritesTellTheSystemsReasonAndAnAtomicOneLeavesNoFile) {
  using Mode = LineWriter::Mode;
  ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkpath(path("folder")) && QFile::link(path("pipe"), path("to-pipe")));
  ASSERT_TRUE(QFile::link(u"/dev/full"_s, path("full")));  // a fault may replace the link, never the device
  ASSERT_TRUE(QFile::link(path("loop-a"), path("loop-b")) && QFile::link(path("loop-b"), path("loop-a")));
  const QString tooLarge = u"El archivo es demasiado grande"_s, notPlain = u"no es un archivo común"_s,
                missing = u"No existe el archivo o la carpeta"_s;
  const struct {
    QString path;
    Mode mode;
    rlim_t sizeLimit;
    QString reason;
  } cases[] = {
      {path("no/such/folder/out.txt"), Mode::Truncate, RLIM_INFINITY, missing},
      {path("no/such/folder/out.txt"), Mode::Atomic, RLIM_INFINITY, missing},
      {path("big.txt"), Mode::Truncate, 64 * 1024, tooLarge},
      {path("big.html"), Mode::Atomic, 64 * 1024, tooLarge},
      {path("full"), Mode::Append, RLIM_INFINITY, u"No queda espacio en el disco"_s},
      {path("folder"), Mode::Atomic, RLIM_INFINITY, notPlain},
      {path("pipe"), Mode::Atomic, RLIM_INFINITY, notPlain},
      {path("to-pipe"), Mode::Atomic, RLIM_INFINITY, notPlain},
      {path(QByteArray(300, 'n').constData()), Mode::Truncate, RLIM_INFINITY,
       u"El nombre es más largo de lo que el sistema permite"_s},
      {path("loop-a"), Mode::Append, RLIM_INFINITY, u"Demasiados enlaces simbólicos encadenados"_s},
  };
  std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{std::min(c.sizeLimit, saved.rlim_max), saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    LineWriter w;
    Status s = w.open(c.path, c.mode);
    for (int i = 0; s.isOk() && i < 2000; ++i) w.writeLine(QByteArray(1000, 'x'));
    if (s.isOk()) s = w.close();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(s.description(), u"No se puede escribir el archivo \"%1\": %2"_s.arg(c.path, c.reason));
    EXPECT_TRUE(c.mode != Mode::Atomic || !QFileInfo(c.path).isFile());
  }
}

}  // namespace
}  // namespace tarquelas
