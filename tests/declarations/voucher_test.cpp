// The voucher file validator: its number reading and line repair, then
// whole runs compared byte for byte on the error and auxiliary files.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "declarations/error_file.h"
#include "declarations/voucher_checks.h"
#include "support/cp1252.h"
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

QByteArray utf8(const QByteArray& cp1252) { return fromCp1252(cp1252).toUtf8(); }

// The line at place (1 header, 2 detail) of a valid file is replaced; a
// faulty one is reported and not copied, a good one is copied as `copied`
// (the line itself when null, nothing when empty).
TEST_F(VoucherValidation, OneLineReportsExactlyItsFailedChecksAndIsCopiedOnlyWhenGood) {
  const QByteArray accented = voucherDetail().at(110, "C\xD3RDOBA PE\xD1O");
  ASSERT_EQ(utf8(accented).size(), 551);
  const QByteArray withNul = QByteArray(voucherDetail()).insert(120, '\0');
  const QByteArray length = "Longitud de l\xEDnea. ";
  const QByteArray dueDate = "Fecha de vencimiento. ";
  const struct {
    int place;
    QByteArray line;
    QByteArray pieces;
    QByteArray copied;
  } cases[] = {
      {1, voucherHeader().at(1, "A"), "", {}},
      {1, voucherHeader().at(1, "N"), "", {}},
      {1, voucherHeader().at(1, "c"), "Tipo de Entidad. ", {}},
      {1, voucherHeader().at(109, "00"), "Mes. ", {}},
      {1, voucherHeader().at(109, "13"), "Mes. ", {}},
      {1, voucherHeader().at(109, " 7"), "", {}},
      {1, voucherHeader().at(109, "\t7"), "Mes. ", {}},  // a tab is no blank
      {1, voucherHeader().at(111, "2000"), "A\xF1o. ", {}},
      {1, voucherHeader().at(111, "2001"), "", {}},
      {1, voucherHeader().at(125, "19950315"), "Fecha de Proceso. ", {}},
      {1, voucherHeader().at(125, "        "), "", {}},
      {1,
       voucherHeader().at(1, "n").at(109, "00").at(111, "1999").at(125, "19980101"),
       "Tipo de Entidad. Mes. A\xF1o. Fecha de Proceso. ",
       {}},
      {2, voucherDetail().at(14, "30123456782"), "CUIT. ", {}},
      {2, voucherDetail().at(229, "19990101"), "", {}},
      {2, voucherDetail().at(229, "19980610"), dueDate, {}},
      {2, voucherDetail().at(229, "20200231"), dueDate, {}},  // no such day
      {2, voucherDetail().at(229, "21000229"), dueDate, {}},
      {2, voucherDetail().at(229, "2026AB15"), dueDate, {}},
      {2, voucherDetail().at(14, "30123456782").at(229, "19980610"), "CUIT. " + dueDate, {}},
      {2, voucherHeader().length(131), length, {}},
      {2, voucherDetail().length(550), length, {}},
      {2, QByteArray(10 * 1024 * 1024, 'x'), length, {}},
      {1, voucherHeader().bytes() + '\n' + voucherDetail().bytes(), length, {}},  // a lone LF ends no line
      {2, voucherClosing(), "", ""},  // neither reported nor copied
      // Repair: UTF-8 letters count one character each, NUL bytes go,
      // invalid UTF-8 and single-byte accents stay.
      {2, utf8(accented), "", accented},
      {2, withNul, "", voucherDetail()},
      {2, voucherDetail().at(110, "A\xC3 B\x80 C\xE2\x82 PE\xD1O"), "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.left(140).toStdString());
    QList<QByteArray> lines = {voucherHeader(), voucherDetail(), voucherClosing()};
    lines[c.place - 1] = c.line;
    ASSERT_TRUE(validateBytes(validarArchivoTarquelas, crlf(lines)).isOk());
    QList<QByteArray> copied = lines.mid(0, 2);
    copied[c.place - 1] = c.pieces.isEmpty() && !c.copied.isNull() ? c.copied : c.line;
    if (!c.pieces.isEmpty() || copied[c.place - 1].isEmpty()) copied.removeAt(c.place - 1);
    const QByteArray number = QByteArray::number(c.place);
    EXPECT_EQ(errorFile(),
              c.pieces.isEmpty() ? QByteArray() : "L\xEDnea " + number + ": " + c.pieces + "\r\n");
    EXPECT_EQ(auxFile(), crlf(copied));
  }
}

// Whole files: every physical line counts, the closing record is skipped
// wherever it stands, later headers are checked like any other line.
TEST_F(VoucherValidation, WholeFilesGiveTheirErrorAndAuxiliaryFiles) {
  const QByteArray h = voucherHeader(), d = voucherDetail(), t = voucherClosing();
  const struct {
    QByteArray file;
    QByteArray errors;
    QByteArray aux;
  } cases[] = {
      {crlf({t, h, t, d, t}), {}, crlf({h, d})},
      {crlf({h, d, "", t, voucherDetail().at(14, "30123456782"), d}),
       "L\xEDnea 3: Longitud de l\xEDnea. \r\nL\xEDnea 5: CUIT. \r\n", crlf({h, d, d})},
      {crlf({h, t, voucherHeader().at(111, "1999"), d}), "L\xEDnea 3: A\xF1o. \r\n", crlf({h, d})},
      {"", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.errors.toStdString());
    ASSERT_TRUE(validateBytes(validarArchivoTarquelas, c.file).isOk());
    EXPECT_EQ(errorFile(), c.errors);
    EXPECT_EQ(auxFile(), c.aux);
  }
}

TEST_F(VoucherValidation, PathIsFoundAsTypedAndOpenedWithoutItsBlanks) {
  givenFile(crlf({voucherHeader().at(1, "x")}));
  // Blanks before the path name no file that exists: nothing is read.
  ASSERT_TRUE(validarArchivoTarquelas(QStringLiteral("  ") + input(), paths()).isOk());
  EXPECT_EQ(errorFile(), QByteArray());
  // A file named with blanks after exists; the one read is named without them.
  ASSERT_TRUE(writeBytes(input() + QStringLiteral("  "), "whatever"));
  ASSERT_TRUE(validarArchivoTarquelas(input() + QStringLiteral("  "), paths()).isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. \r\n");
}

}  // namespace
}  // namespace tarquelas::testing
