// The voucher file validator: its number reading and line repair, then
// whole runs compared byte for byte on the error and auxiliary files.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "declarations/error_file.h"
#include "declarations/voucher_checks.h"
#include "support/varias.h"
#include "validation_fixture.h"
#include "voucher_lines.h"

namespace tarquelas::testing {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartPassingOverBlanksOnly) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"03", 3},    {"  ", 0},     {"AB", 0}, {"1A", 1}, {" 7", 7},    {"1 2", 12}, {"-5", -5},
               {"2.5", 2.5}, {"1E3", 1000}, {"2E", 2}, {"-", 0},  {"20x1", 20}, {"\t7", 0},  {"1\t2", 1}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(voucher::leadingNumber(c.text), c.value) << c.text;
}

// The shortcut for lines without UTF-8 or NUL bytes must never differ from
// the full repair, and must not copy such lines.
TEST(RepairedLine, AgreesWithTheFullRepairAndCopiesOnlyLinesItChanges) {
  QRandomGenerator random(20261206);
  const QByteArray alphabet(
      "AZaz09 \x01\x7F\x80\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC2\xED\x00\xD3\xF4\xF5\xBF", 26);
  for (int round = 0; round < 5000; ++round) {
    QByteArray line;
    for (int i = int(random.bounded(60)); i > 0; --i) {
      line.append(round % 2 ? alphabet[random.bounded(alphabet.size())] : char(' ' + random.bounded(95)));
    }
    QByteArray storage;
    const QByteArrayView repaired = voucher::repairedLine(line, storage);
    EXPECT_EQ(repaired, QByteArrayView(decodificarUTF8(line))) << line.toHex().constData();
    EXPECT_TRUE(round % 2 || line.isEmpty() || (repaired.data() == line.constData() && storage.isEmpty()));
  }
}

TEST(ErrorFileLines, LineNumbersBeyond32BitsAreWrittenWhole) {
  EXPECT_EQ(error_file::voucherLine(4000000000LL, "Mes. "), QByteArray("L\xEDnea 4000000000: Mes. "));
  EXPECT_EQ(error_file::registryLine(4000000000LL, ": X"), QByteArray("Error L\xEDnea 4000000000: X"));
}

class VoucherValidation : public ValidationTest {};

// Each case is a file of tests/data/voucher_cases.txt ("== name", then its
// lines, kept in UTF-8); its error and auxiliary files, case after case, are
// tests/data/voucher_findings.txt. Every physical line counts; a faulty line
// is reported with exactly its failed checks and not copied; a good one is
// copied repaired (UTF-8 letters count one character each, NUL bytes go,
// invalid UTF-8 and single-byte accents stay); the closing record is
// neither, wherever it stands; later headers are checked like any other line.
TEST_F(VoucherValidation, EachFileGivesItsErrorAndAuxiliaryFiles) {
  QList<FileCase> cases = fileCases("voucher_cases.txt");
  cases.append({"a line of 10 MiB", {voucherHeader(), QByteArray(10 * 1024 * 1024, 'x'), voucherClosing()}});
  cases.append({"a lone LF ends no line",
                {voucherHeader().bytes() + '\n' + voucherDetail().bytes(), voucherDetail()}});
  QByteArray outcome;
  for (const auto& c : cases) {
    ASSERT_TRUE(validateBytes(validarArchivoTarquelas, crlf(c.lines)).isOk());
    outcome += "== " + c.name + "\r\n" + errorFile() + "-- copied:\r\n" + auxFile();
  }
  expectDataFile(outcome, "voucher_findings.txt");
}

TEST_F(VoucherValidation, PathIsTheNameAsTypedWhenThatFileExistsElseTheTrimmedName) {
  givenFile(crlf({voucherHeader().at(1, "x")}));
  // Blanks before the path name no file that exists: the file without them is read.
  ASSERT_TRUE(validarArchivoTarquelas(QStringLiteral("  ") + input(), paths()).isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. \r\n");
  // A file named with blanks after exists: it is the one read.
  ASSERT_TRUE(writeBytes(input() + QStringLiteral("  "), "whatever"));
  ASSERT_TRUE(validarArchivoTarquelas(input() + QStringLiteral("  "), paths()).isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. \r\nL\xEDnea 1: Longitud de l\xEDnea. \r\n");
}

}  // namespace
}  // namespace tarquelas::testing
