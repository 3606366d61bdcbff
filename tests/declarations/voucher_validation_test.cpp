// The voucher file validator end to end: error file lines and the
// auxiliary file, byte for byte.
#include <gtest/gtest.h>

#include "support/cp1252.h"
#include "validation_fixture.h"
#include "voucher_lines.h"

namespace tarquelas::testing {
namespace {

class VoucherValidation : public ValidationTest {};

// ---------------------------------------------------------------- header

struct HeaderCase {
  const char* name;
  int start;
  QByteArray value;
  QByteArray pieces;  // empty: the header passes
};

class HeaderChecks : public VoucherValidation, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderChecks, ReportsExactlyTheFailedChecks) {
  const HeaderCase& c = GetParam();
  const QByteArray header = voucherHeader().at(c.start, c.value);
  givenLines({header, voucherDetail(), voucherClosing()});
  ASSERT_TRUE(validateVouchers().isOk());
  if (c.pieces.isEmpty()) {
    EXPECT_FALSE(hasErrorFile());
    EXPECT_EQ(auxFile(), crlfFile({header, voucherDetail()}));
  } else {
    EXPECT_EQ(errorFile(), "L\xEDnea 1: " + c.pieces + "\r\n");
    EXPECT_EQ(auxFile(), crlfFile({voucherDetail()}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderChecks,
    ::testing::Values(
        HeaderCase{"EntityC", 1, "C", ""}, HeaderCase{"EntityA", 1, "A", ""},
        HeaderCase{"EntityN", 1, "N", ""}, HeaderCase{"LowerCaseEntity", 1, "c", "Tipo de Entidad. "},
        HeaderCase{"EntityX", 1, "X", "Tipo de Entidad. "},
        HeaderCase{"EntityBlank", 1, " ", "Tipo de Entidad. "}, HeaderCase{"Month00", 109, "00", "Mes. "},
        HeaderCase{"Month13", 109, "13", "Mes. "}, HeaderCase{"MonthBlank", 109, "  ", "Mes. "},
        HeaderCase{"Month01", 109, "01", ""}, HeaderCase{"Month12", 109, "12", ""},
        HeaderCase{"MonthBlankThen7", 109, " 7", ""}, HeaderCase{"MonthTabThen7", 109, "\t7", "Mes. "},
        HeaderCase{"MonthLetters", 109, "AB", "Mes. "}, HeaderCase{"MonthNumberThenLetter", 109, "1A", ""},
        HeaderCase{"Year2000", 111, "2000", "A\xF1o. "}, HeaderCase{"Year2001", 111, "2001", ""},
        HeaderCase{"YearBlank", 111, "    ", "A\xF1o. "},
        HeaderCase{"ProcessingDate2005", 125, "20050315", ""},
        HeaderCase{"ProcessingDate1995", 125, "19950315", "Fecha de Proceso. "},
        HeaderCase{"ProcessingDateBlank", 125, "        ", ""},
        HeaderCase{"ProcessingDateImpossible1995", 125, "19950230", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VoucherValidation, HeaderFailingThreeChecksGivesOneLineInCheckOrder) {
  givenLines({voucherHeader().at(1, "c").at(109, "13").at(111, "2000")});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. Mes. A\xF1o. \r\n");
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(VoucherValidation, HeaderFailingAllFourChecksListsThemAll) {
  givenLines({voucherHeader().at(1, "n").at(109, "00").at(111, "1999").at(125, "19980101")});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. Mes. A\xF1o. Fecha de Proceso. \r\n");
}

// ---------------------------------------------------------------- detail

struct DetailCase {
  const char* name;
  int start;
  QByteArray value;
  QByteArray pieces;
};

class DetailChecks : public VoucherValidation, public ::testing::WithParamInterface<DetailCase> {};

TEST_P(DetailChecks, ReportsExactlyTheFailedChecks) {
  const DetailCase& c = GetParam();
  const QByteArray detail = voucherDetail().at(c.start, c.value);
  givenLines({voucherHeader(), detail, voucherClosing()});
  ASSERT_TRUE(validateVouchers().isOk());
  if (c.pieces.isEmpty()) {
    EXPECT_FALSE(hasErrorFile());
    EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), detail}));
  } else {
    EXPECT_EQ(errorFile(), "L\xEDnea 2: " + c.pieces + "\r\n");
    EXPECT_EQ(auxFile(), crlfFile({voucherHeader()}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetailChecks,
    ::testing::Values(DetailCase{"ValidCuit", 14, kValidConsortiumCuit, ""},
                      DetailCase{"WrongCheckDigit", 14, kInvalidConsortiumCuit, "CUIT. "},
                      DetailCase{"BlankCuit", 14, "           ", "CUIT. "},
                      DetailCase{"CuitStarting00", 14, "00123456781", "CUIT. "},
                      DetailCase{"DueDate1999", 229, "19990101", ""},
                      DetailCase{"DueDateLeapDay2000", 229, "20000229", ""},
                      DetailCase{"DueDate1998", 229, "19980610", "Fecha de vencimiento. "},
                      // A due date that is no calendar date is rejected rather than
                      // printed on the voucher.
                      DetailCase{"DueDateNoSuchDay", 229, "20200231", "Fecha de vencimiento. "},
                      DetailCase{"DueDateNotLeap2100", 229, "21000229", "Fecha de vencimiento. "},
                      DetailCase{"DueDateMonth13", 229, "20261301", "Fecha de vencimiento. "},
                      DetailCase{"DueDateBlank", 229, "        ", "Fecha de vencimiento. "},
                      DetailCase{"DueDateLetters", 229, "2026AB15", "Fecha de vencimiento. "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VoucherValidation, DetailFailingBothChecksGivesBothPiecesInOrder) {
  givenLines({voucherHeader(), voucherDetail().at(14, kInvalidConsortiumCuit).at(229, "19980610")});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 2: CUIT. Fecha de vencimiento. \r\n");
}

// ---------------------------------------------------------- line lengths

struct LengthCase {
  const char* name;
  int length;
};

class LineLengths : public VoucherValidation, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(LineLengths, LineOfNoRecordLengthIsReported) {
  const QByteArray odd = voucherDetail().length(GetParam().length);
  givenLines({voucherHeader(), odd, voucherDetail()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 2: Longitud de l\xEDnea. \r\n");
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

INSTANTIATE_TEST_SUITE_P(Cases, LineLengths,
                         ::testing::Values(LengthCase{"Empty", 0}, LengthCase{"Header131", 131},
                                           LengthCase{"Header133", 133}, LengthCase{"Detail548", 548},
                                           LengthCase{"Detail550", 550}, LengthCase{"Closing17", 17},
                                           LengthCase{"Closing19", 19}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VoucherValidation, ClosingRecordIsNeitherReportedNorCopiedWhereverItStands) {
  givenLines({voucherClosing(), voucherHeader(), voucherClosing(), voucherDetail(), voucherClosing()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

// ------------------------------------------------------------ whole files

TEST_F(VoucherValidation, ValidFileCopiesHeaderAndDetailsWithoutClosing) {
  const QByteArray second = voucherDetail().at(296, "Contribucion patronal");
  givenLines({voucherHeader(), voucherDetail(), second, voucherClosing()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail(), second}));
}

TEST_F(VoucherValidation, EveryPhysicalLineCountsAndGoodLinesAreStillCopied) {
  const QByteArray bad = voucherDetail().at(14, kInvalidConsortiumCuit);
  givenLines({voucherHeader(), voucherDetail(), "", voucherClosing(), bad, voucherDetail()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(),
            "L\xEDnea 3: Longitud de l\xEDnea. \r\n"
            "L\xEDnea 5: CUIT. \r\n");
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail(), voucherDetail()}));
}

TEST_F(VoucherValidation, SecondHeaderAndRecordsAfterClosingAreCheckedLikeAnyOther) {
  givenLines({voucherHeader(), voucherClosing(), voucherHeader().at(111, "1999"), voucherDetail()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 3: A\xF1o. \r\n");
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

TEST_F(VoucherValidation, OnlyTheLastLineFaultyLeavesEveryOtherLineCopied) {
  givenLines({voucherHeader(), voucherDetail(), voucherDetail().at(229, "19980610")});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 3: Fecha de vencimiento. \r\n");
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

TEST_F(VoucherValidation, PathIsOpenedWithoutItsTrailingBlanks) {
  givenLines({voucherHeader().at(1, "x")});
  // Existence is asked of the path as typed, blanks and all; the file read
  // is the one named without them.
  const QString typed = input() + QStringLiteral("  ");
  ASSERT_TRUE(writeBytes(typed, "whatever"));
  ASSERT_TRUE(validarArchivoTarquelas(typed, paths()).isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Tipo de Entidad. \r\n");
}

TEST_F(VoucherValidation, FaultyFileWithoutGoodLinesLeavesNoAuxiliaryFile) {
  givenLines({"x", "y"});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(),
            "L\xEDnea 1: Longitud de l\xEDnea. \r\n"
            "L\xEDnea 2: Longitud de l\xEDnea. \r\n");
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(VoucherValidation, EmptyFileWritesNothing) {
  givenFile("");
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(VoucherValidation, MissingFileWritesNothing) {
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(VoucherValidation, PathWithBlanksAroundIsFoundOnlyWhenItExistsAsTyped) {
  givenLines({voucherHeader().at(1, "x")});
  // Existence is tested on the path as typed; blanks around it name no file.
  ASSERT_TRUE(validarArchivoTarquelas(QStringLiteral("  ") + input(), paths()).isOk());
  EXPECT_FALSE(hasErrorFile());
}

TEST_F(VoucherValidation, ErrorFileIsAppendedTo) {
  ASSERT_TRUE(writeBytes(paths().errores, "previo\r\n"));
  givenLines({"x"});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "previo\r\nL\xEDnea 1: Longitud de l\xEDnea. \r\n");
}

// ----------------------------------------------------------- text repair

TEST_F(VoucherValidation, Utf8DetailOf551BytesIsA549CharacterRecordCopiedRepaired) {
  const QByteArray repaired = voucherDetail().at(110,
                                                 "CONSORCIO C\xD3RDOBA PE\xD1"
                                                 "A");
  const QByteArray utf8 = fromCp1252(repaired).toUtf8();  // two accented letters: two bytes more
  ASSERT_EQ(utf8.size(), 551);
  givenLines({voucherHeader(), utf8});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), repaired}));
}

TEST_F(VoucherValidation, Utf8HeaderIsRepairedBeforeItsFieldsAreRead) {
  const QByteArray repaired = voucherHeader().at(9, "C\xE1mara");
  const QByteArray utf8 = fromCp1252(repaired).toUtf8();
  ASSERT_EQ(utf8.size(), 133);
  givenLines({utf8, voucherDetail()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({repaired, voucherDetail()}));
}

TEST_F(VoucherValidation, Utf8DashAndSymbolOutsideTheCodePageAreOneCharacterEach) {
  const QByteArray repaired = voucherDetail().at(110, "TORRE - ?");
  QByteArray utf8 = repaired;
  utf8.replace(115, 1, "\xE2\x80\x93");      // en dash, three bytes
  utf8.replace(119, 1, "\xF0\x9F\x98\x80");  // a symbol the code page lacks, four bytes
  ASSERT_EQ(utf8.size(), 554);
  givenLines({voucherHeader(), utf8});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), repaired}));
}

TEST_F(VoucherValidation, SingleByteAccentsStayAsTheyAre) {
  const QByteArray detail = voucherDetail().at(110,
                                               "CONSORCIO PE\xD1"
                                               "A \xC1LVAREZ");
  givenLines({voucherHeader(), detail});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), detail}));
}

TEST_F(VoucherValidation, InvalidUtf8BytesStaySingleByteCharacters) {
  // A lone lead byte and a stray continuation byte are Windows-1252 letters.
  const QByteArray detail = voucherDetail().at(110, "A\xC3 B\x80 C\xE2\x82");
  givenLines({voucherHeader(), detail});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), detail}));
}

TEST_F(VoucherValidation, NulBytesAreDroppedBeforeTheLengthIsTaken) {
  QByteArray withNul = voucherDetail();
  withNul.insert(120, '\0');
  ASSERT_EQ(withNul.size(), 550);
  givenLines({voucherHeader(), withNul});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

// ------------------------------------------------------------ line ends

TEST_F(VoucherValidation, LastLineWithoutLineEndIsChecked) {
  givenFile(crlfFileWithoutFinalEnd({voucherHeader(), voucherDetail().at(14, kInvalidConsortiumCuit)}));
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 2: CUIT. \r\n");
}

TEST_F(VoucherValidation, LoneCarriageReturnsEndLinesAndCopiesGetCrLf) {
  givenFile(voucherHeader().bytes() + "\r" + voucherDetail().bytes() + "\r" + voucherClosing() + "\r");
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

TEST_F(VoucherValidation, LoneLineFeedStaysInsideTheLine) {
  givenFile(voucherHeader().bytes() + "\n" + voucherDetail().bytes() + "\r\n");
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 1: Longitud de l\xEDnea. \r\n");
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(VoucherValidation, TenMegabyteLineIsOneLengthError) {
  const QByteArray huge(10 * 1024 * 1024, 'x');
  givenLines({voucherHeader(), huge, voucherDetail()});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_EQ(errorFile(), "L\xEDnea 2: Longitud de l\xEDnea. \r\n");
  EXPECT_EQ(auxFile(), crlfFile({voucherHeader(), voucherDetail()}));
}

}  // namespace
}  // namespace tarquelas::testing
