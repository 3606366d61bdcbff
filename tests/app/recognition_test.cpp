// Recognition: the kind, the header line and the summary of a first line, and paths that cannot be
// read as text files.
#include "app/recognition.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app_test_files.h"
#include "common/data_table.h"
#include "support/cp1252.h"

namespace tarquelas {
namespace {

using Outcome = Recognition::Outcome;

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
      testing::LineBuilder(132).at(2, "0000001").at(9, "  Con blancos").at(109, " 3").at(115, "  ID");
  struct Case {
    QByteArray bytes, kind, header, summary;  // a null summary is not checked
  } cases[] = {
      {"\r\n", "D", "", cp(u"  ()\r\nFecha: //, hora: :.\r\n\r\nPresentación:  .\r\n")},
      {utf8 + "\r\n", "B", repaired,
       cp(u"Cámara  (123)\r\nPeriodo:  03/2026.\r\n\r\nPresentación:  0747144854.\r\n")},
      {padded, "B", padded,
       cp(u"Con blancos  (1)\r\nPeriodo:   3/    .\r\n\r\nPresentación:    ID      .\r\n")},
      {"C0000123\rresto", "B", "C0000123", {}},
      {"C00\n00123\r\n", "B", "C00\n00123", {}},
      {"CD0000123", "D", "CD0000123", {}},
  };
  for (const Case& c : cases) {
    const Recognition r = recognizeFile(fileWith(c.bytes));
    EXPECT_EQ(r.outcome, Outcome::Recognised);
    EXPECT_EQ(r.kind + ' ' + r.headerLine, c.kind + ' ' + c.header);
    EXPECT_TRUE(c.summary.isNull() || r.summary == c.summary) << r.summary.constData();
  }
  for (const QList<QByteArray>& c :
       testing::dataRows("recognition_codes.txt", {{"kindOf", 4}, {"codeAsNumber", 4}})) {
    const QByteArray in = QString::fromUtf8(c[1]).toLatin1();
    EXPECT_EQ(c[0] == "kindOf" ? kindOf(in) : codeAsNumber(in), QString::fromUtf8(c[2]).toLatin1())
        << in.data();
  }
}

TEST_F(RecognitionTest, PathsThatAreNoTextFile) {
  const QString fifo = dir_.filePath(QStringLiteral("tuberia"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);  // nobody writes: reading would block
  const struct {
    QString path;
    Outcome outcome;
    const char* unreadable;  // the reason shown instead of the summary
  } cases[] = {
      {QStringLiteral("    "), Outcome::BlankPath, ""},
      {dir_.path(), Outcome::Recognised, "es una carpeta"},
      {fifo, Outcome::Recognised, "no es un archivo común"},
  };
  for (const auto& c : cases) {
    const Recognition r = recognizeFile(c.path);
    EXPECT_EQ(r.outcome, c.outcome) << c.path.toStdString();
    EXPECT_TRUE(r.headerLine.isEmpty());
    EXPECT_TRUE(*c.unreadable
                    ? r.unreadable.endsWith(QString::fromUtf8(c.unreadable)) && r.unreadable.contains(c.path)
                    : r.unreadable.isEmpty())
        << r.unreadable.toStdString();
  }
  // A name that names nothing as typed stands for its trimmed name.
  EXPECT_EQ(recognizeFile(QStringLiteral("  ") + fileWith(testing::voucherHeader()) + u' ').headerLine,
            testing::voucherHeader());
  QByteArray binary;
  for (int i = 0; i < 4096; ++i) binary.append(char((i * 37 + 11) % 256));
  EXPECT_FALSE(recognizeFile(fileWith(binary)).headerLine.contains('\0'));
  const Recognition huge = recognizeFile(fileWith(testing::voucherHeader() + QByteArray(10 << 20, 'x')));
  EXPECT_EQ(huge.headerLine.size(), kHeaderReadLimit);  // read only as far as needed
  EXPECT_TRUE(huge.summary.startsWith("ABCD  (123)\r\n"));
}

}  // namespace
}  // namespace tarquelas
