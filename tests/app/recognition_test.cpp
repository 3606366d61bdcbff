// Recognition: the kind, the header line and the four-line summary of
// both kinds of presentation file, and every file that cannot be read.
#include "app/recognition.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>

#include "app_test_files.h"
#include "support/cp1252.h"

namespace tarquelas {
namespace {

using testing::LineBuilder;
using testing::writeBytes;

QByteArray cp(const char16_t* text) { return toCp1252(QStringView(text)); }

class RecognitionTest : public ::testing::Test {
 protected:
  QString fileWith(const QByteArray& bytes, const QString& name = QStringLiteral("presentacion.txt")) {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(writeBytes(path, bytes));
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(RecognitionTest, VoucherFileGivesPeriodSummary) {
  const Recognition r = recognizeFile(fileWith(testing::voucherHeader() + "\r\n"));
  EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
  EXPECT_EQ(r.kind, "B");
  EXPECT_EQ(r.headerLine, testing::voucherHeader());
  EXPECT_EQ(r.summary, cp(u"ABCD  (123)\r\nPeriodo:  03/2026.\r\n\r\nPresentación:  0747144854.\r\n"));
}

TEST_F(RecognitionTest, RegistryFileGivesDateInDayMonthYearOrder) {
  const Recognition r = recognizeFile(fileWith(testing::registryHeader() + "\r\n"));
  EXPECT_EQ(r.kind, "D");
  EXPECT_EQ(r.summary,
            cp(u"ABCD  (123)\r\nFecha: 12/03/2026, hora: 09:30.\r\n\r\nPresentación:  0144272509.\r\n"));
}

TEST_F(RecognitionTest, BundledSamplesAreRecognised) {
  const Recognition vouchers = recognizeFile(testing::samplePath("vouchers.txt"));
  EXPECT_EQ(vouchers.kind, "B");
  EXPECT_TRUE(vouchers.summary.startsWith(cp(u"Cámara de Administradores de Consorcios  (1234)\r\n")));
  const Recognition registry = recognizeFile(testing::samplePath("registry.txt"));
  EXPECT_EQ(registry.kind, "D");
  EXPECT_TRUE(registry.summary.startsWith(cp(u"Cámara de Administradores de Consorcios  (1234)\r\n")));
}

TEST_F(RecognitionTest, EmptyFileIsARegistryFileWithEmptyPieces) {
  const QByteArray emptySummary = cp(u"  ()\r\nFecha: //, hora: :.\r\n\r\nPresentación:  .\r\n");
  for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n")}) {
    const Recognition r = recognizeFile(fileWith(bytes));
    EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
    EXPECT_EQ(r.kind, "D");
    EXPECT_EQ(r.headerLine, QByteArray());
    EXPECT_EQ(r.summary, emptySummary);
  }
}

TEST_F(RecognitionTest, KindFollowsTheSecondCharacterAlone) {
  struct Case {
    QByteArray line;
    QByteArray kind;
  } cases[] = {
      {"X5", "B"}, {"C0000123", "B"}, {"CD0000123", "D"}, {"C", "D"}, {"", "D"}, {" 9", "B"}, {"9 ", "D"},
  };
  for (const Case& c : cases) EXPECT_EQ(kindOf(c.line), c.kind) << c.line.constData();
}

TEST_F(RecognitionTest, EntityCodeIsShownAsANumber) {
  struct Case {
    QByteArray code;
    QByteArray shown;
  } cases[] = {
      {"0001234", "1234"},    {"0000123", "123"}, {"0000000", "0"},
      {"  12   ", "12"},      {"0012.50", "13"},  {"-000012", "-12"},
      {"00A0123", "00A0123"}, {"", ""},           {"       ", "       "},
  };
  for (const Case& c : cases) EXPECT_EQ(codeAsNumber(c.code), c.shown) << c.code.constData();
}

TEST_F(RecognitionTest, OnlyTheNameIsTrimmed) {
  const QByteArray header =
      LineBuilder(132).at(2, "0000001").at(9, "  Con blancos").at(109, " 3").at(115, "  ID");
  EXPECT_EQ(summaryOf(header),
            "Con blancos  (1)\r\nPeriodo:   3/    .\r\n\r\n" + cp(u"Presentación:    ID      .\r\n"));
}

TEST_F(RecognitionTest, Utf8NameIsRepairedBeforePositionsApply) {
  QByteArray header = testing::voucherHeader();
  header.replace(8, 6, cp(u"Cámara"));
  QByteArray utf8 = header;
  utf8.replace(8, 6, QStringLiteral("Cámara").toUtf8());  // one byte longer
  const Recognition r = recognizeFile(fileWith(utf8 + "\r\n"));
  EXPECT_EQ(r.headerLine, header);
  EXPECT_EQ(r.summary, cp(u"Cámara  (123)\r\nPeriodo:  03/2026.\r\n\r\nPresentación:  0747144854.\r\n"));
}

TEST_F(RecognitionTest, BlankPathAndMissingFileChangeNothing) {
  EXPECT_EQ(recognizeFile(QString()).outcome, Recognition::Outcome::BlankPath);
  EXPECT_EQ(recognizeFile(QStringLiteral("    ")).outcome, Recognition::Outcome::BlankPath);
  EXPECT_EQ(recognizeFile(dir_.filePath(QStringLiteral("no-existe.txt"))).outcome,
            Recognition::Outcome::MissingFile);
  // The path is tested as typed: blanks around an existing file's path
  // name another file.
  const QString path = fileWith(testing::voucherHeader());
  EXPECT_EQ(recognizeFile(path + QStringLiteral(" ")).outcome, Recognition::Outcome::MissingFile);
}

TEST_F(RecognitionTest, DirectoryIsRecognisedWithAnEmptyHeader) {
  const Recognition r = recognizeFile(dir_.path());
  EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
  EXPECT_EQ(r.kind, "D");
  EXPECT_EQ(r.headerLine, QByteArray());
}

TEST_F(RecognitionTest, BinaryFileNeverFails) {
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i) bytes.append(char((i * 37 + 11) % 256));
  const Recognition r = recognizeFile(fileWith(bytes));
  EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
  EXPECT_FALSE(r.headerLine.contains('\0'));
  EXPECT_TRUE(r.summary.endsWith("\r\n"));
}

TEST_F(RecognitionTest, HugeFirstLineIsReadOnlyAsFarAsNeeded) {
  QByteArray line = testing::voucherHeader();
  line.append(QByteArray(10 * 1024 * 1024, 'x'));
  const Recognition r = recognizeFile(fileWith(line));
  EXPECT_EQ(r.kind, "B");
  EXPECT_EQ(r.headerLine.size(), kHeaderReadLimit);
  EXPECT_TRUE(r.summary.startsWith("ABCD  (123)\r\n"));
}

TEST_F(RecognitionTest, LineEndsAtTheFirstCarriageReturnOnly) {
  struct Case {
    QByteArray bytes;
    QByteArray header;
  } cases[] = {
      {"C0000123\r\nresto", "C0000123"},
      {"C0000123\rresto", "C0000123"},
      {"C00\n00123\r\n", "C00\n00123"},
      {"C0000123", "C0000123"},
  };
  for (const Case& c : cases) EXPECT_EQ(recognizeFile(fileWith(c.bytes)).headerLine, c.header);
}

TEST_F(RecognitionTest, PipeIsNeverWaitedFor) {
  const QString fifo = dir_.filePath(QStringLiteral("tuberia"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const Recognition r = recognizeFile(fifo);  // nobody writes: reading would block
  EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
  EXPECT_EQ(r.headerLine, QByteArray());
}

TEST_F(RecognitionTest, PathsWithBlanksAccentsAndGreatLengthWork) {
  QString deep = dir_.filePath(QStringLiteral("Presentación de junio con ñandúes"));
  while (deep.size() < 1500) deep += QStringLiteral("/carpeta con un nombre bastante largo ñ");
  ASSERT_TRUE(QDir().mkpath(deep));
  const QString path = deep + QStringLiteral("/Pagos año 2026.txt");
  ASSERT_TRUE(writeBytes(path, testing::registryHeader()));
  const Recognition r = recognizeFile(path);
  EXPECT_EQ(r.outcome, Recognition::Outcome::Recognised);
  EXPECT_EQ(r.kind, "D");
}

TEST_F(RecognitionTest, SummaryIsShownOneLineUnderAnother) {
  EXPECT_EQ(summaryForDisplay(cp(u"Cámara  (1)\r\nPeriodo:  03/2026.\r\n\r\nPresentación:  X.\r\n")),
            QStringLiteral("Cámara  (1)\nPeriodo:  03/2026.\n\nPresentación:  X.\n"));
}

}  // namespace
}  // namespace tarquelas
