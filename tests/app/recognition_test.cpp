// Recognition: the kind, the header line and the summary of a first line,
// and files that cannot be read as text. (The summaries of the two kinds and
// of an empty file are checked where the window shows them.)
#include "app/recognition.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app_test_files.h"
#include "support/cp1252.h"

namespace tarquelas {
namespace {

using testing::LineBuilder;

QByteArray cp(const char16_t* text) { return toCp1252(QStringView(text)); }

class RecognitionTest : public ::testing::Test {
 protected:
  QString fileWith(const QByteArray& bytes) {
    const QString path = dir_.filePath(QStringLiteral("presentacion.txt"));
    EXPECT_TRUE(testing::writeBytes(path, bytes));
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(RecognitionTest, FirstLineGivesKindHeaderAndSummary) {
  QByteArray repaired = testing::voucherHeader(), utf8 = repaired;
  repaired.replace(8, 6, cp(u"Cámara"));
  utf8.replace(8, 6, QStringLiteral("Cámara").toUtf8());  // one byte longer
  const QByteArray padded =
      LineBuilder(132).at(2, "0000001").at(9, "  Con blancos").at(109, " 3").at(115, "  ID");
  struct Case {
    const char* name;
    QByteArray bytes, kind, header, summary;  // a null summary is not checked
  } cases[] = {
      {"one empty line", "\r\n", "D", "", cp(u"  ()\r\nFecha: //, hora: :.\r\n\r\nPresentación:  .\r\n")},
      {"UTF-8 repaired before positions apply", utf8 + "\r\n", "B", repaired,
       cp(u"Cámara  (123)\r\nPeriodo:  03/2026.\r\n\r\nPresentación:  0747144854.\r\n")},
      {"only the name is trimmed", padded, "B", padded,
       cp(u"Con blancos  (1)\r\nPeriodo:   3/    .\r\n\r\nPresentación:    ID      .\r\n")},
      {"lone CR ends the line", "C0000123\rresto", "B", "C0000123", {}},
      {"lone LF stays inside", "C00\n00123\r\n", "B", "C00\n00123", {}},
      {"no line end", "CD0000123", "D", "CD0000123", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Recognition r = recognizeFile(fileWith(c.bytes));
    EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.headerLine, c.header);
    if (!c.summary.isNull()) {
      EXPECT_EQ(r.summary, c.summary);
    }
  }
}

TEST_F(RecognitionTest, KindFollowsTheSecondCharacterAlone) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"X5", "B"}, {"C0000123", "B"}, {"CD0000123", "D"}, {"C", "D"}, {"", "D"}, {" 9", "B"}, {"9 ", "D"},
  };
  for (const auto& [line, kind] : cases) EXPECT_EQ(kindOf(line), kind) << line.constData();
}

TEST_F(RecognitionTest, EntityCodeIsShownAsANumber) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"0001234", "1234"},    {"0000123", "123"}, {"0000000", "0"},
      {"  12   ", "12"},      {"0012.50", "13"},  {"-000012", "-12"},
      {"00A0123", "00A0123"}, {"", ""},           {"       ", "       "},
  };
  for (const auto& [code, shown] : cases) EXPECT_EQ(codeAsNumber(code), shown) << code.constData();
}

TEST_F(RecognitionTest, BlankPathAndMissingFileAreTold) {
  using Outcome = Recognition::Outcome;
  EXPECT_EQ(recognizeFile(QString()).outcome, Outcome::BlankPath);
  EXPECT_EQ(recognizeFile(QStringLiteral("    ")).outcome, Outcome::BlankPath);
  EXPECT_EQ(recognizeFile(dir_.filePath(QStringLiteral("no-existe.txt"))).outcome, Outcome::MissingFile);
  // The path is tested as typed.
  EXPECT_EQ(recognizeFile(fileWith(testing::voucherHeader()) + u' ').outcome, Outcome::MissingFile);
}

TEST_F(RecognitionTest, FolderAndPipeGiveAnEmptyHeaderWithoutWaiting) {
  const QString fifo = dir_.filePath(QStringLiteral("tuberia"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);  // nobody writes: reading would block
  for (const QString& path : {dir_.path(), fifo}) {
    const Recognition r = recognizeFile(path);
    EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised) << path.toStdString();
    EXPECT_EQ(r.kind, "D");
    EXPECT_EQ(r.headerLine, QByteArray());
  }
}

TEST_F(RecognitionTest, BinaryFileAndHugeLineNeverFail) {
  QByteArray binary;
  for (int i = 0; i < 4096; ++i) binary.append(char((i * 37 + 11) % 256));
  const Recognition b = recognizeFile(fileWith(binary));
  EXPECT_EQ(b.outcome, Recognition::Outcome::Recognised);
  EXPECT_FALSE(b.headerLine.contains('\0'));
  EXPECT_TRUE(b.summary.endsWith("\r\n"));

  const Recognition huge = recognizeFile(fileWith(testing::voucherHeader() + QByteArray(10 << 20, 'x')));
  EXPECT_EQ(huge.kind, "B");
  EXPECT_EQ(huge.headerLine.size(), kHeaderReadLimit);  // read only as far as needed
  EXPECT_TRUE(huge.summary.startsWith("ABCD  (123)\r\n"));
}

}  // namespace
}  // namespace tarquelas
