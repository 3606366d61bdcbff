// The pieces the validators are made of: number reading, due dates, the
// repair shortcut, list lookup and the error file's line forms.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "byte_printer.h"
#include "declarations/error_file.h"
#include "declarations/registry_checks.h"
#include "declarations/voucher_checks.h"
#include "support/varias.h"

namespace tarquelas {
namespace {

struct NumberCase {
  const char* text;
  double value;
};

class LeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(voucher::leadingNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, LeadingNumber,
                         ::testing::Values(NumberCase{"12", 12}, NumberCase{"03", 3}, NumberCase{"  ", 0},
                                           NumberCase{"", 0}, NumberCase{"AB", 0}, NumberCase{"1A", 1},
                                           NumberCase{" 7", 7}, NumberCase{"1 2", 12}, NumberCase{"-5", -5},
                                           NumberCase{"+4", 4}, NumberCase{"2.5", 2.5}, NumberCase{".5", 0.5},
                                           NumberCase{"1E3", 1000}, NumberCase{"2E", 2}, NumberCase{"-", 0},
                                           NumberCase{"2001", 2001}, NumberCase{"20x1", 20},
                                           // Only blanks are passed over; a tab is no blank.
                                           NumberCase{"\t7", 0}, NumberCase{"1\t2", 1}));

struct DueDateCase {
  const char* text;
  bool valid;
};

class DueDate : public ::testing::TestWithParam<DueDateCase> {};

TEST_P(DueDate, IsARealDateAfter1998) { EXPECT_EQ(voucher::isDueDate(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(Cases, DueDate,
                         ::testing::Values(DueDateCase{"19990101", true}, DueDateCase{"20240229", true},
                                           DueDateCase{"20000229", true}, DueDateCase{"99991231", true},
                                           DueDateCase{"19981231", false}, DueDateCase{"21000229", false},
                                           DueDateCase{"20230229", false}, DueDateCase{"20200231", false},
                                           DueDateCase{"20201301", false}, DueDateCase{"20200100", false},
                                           DueDateCase{"        ", false}, DueDateCase{"2020011", false},
                                           DueDateCase{"2020-1-1", false}, DueDateCase{" 2020011", false}));

TEST(RecordOf, LengthAloneTellsTheRecord) {
  EXPECT_EQ(voucher::recordOf(132), voucher::Record::Header);
  EXPECT_EQ(voucher::recordOf(549), voucher::Record::Detail);
  EXPECT_EQ(voucher::recordOf(18), voucher::Record::Closing);
  for (const qsizetype other : {0, 1, 17, 19, 131, 133, 300, 548, 550}) {
    EXPECT_EQ(voucher::recordOf(other), voucher::Record::NotARecord) << other;
  }
}

TEST(RepairedLine, AgreesWithTheRepairOnEveryKindOfByte) {
  // The shortcut for plain lines must never differ from the full repair.
  QRandomGenerator random(20261206);
  const QByteArray alphabet(
      "AZaz09 \x01\x7F\x80\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC2\xED\x00\xD3\xF4\xF5\xBF", 26);
  for (int round = 0; round < 5000; ++round) {
    QByteArray line;
    const int length = int(random.bounded(60));
    const bool plain = round % 2 == 0;
    for (int i = 0; i < length; ++i) {
      line.append(plain ? char(' ' + random.bounded(95)) : alphabet[random.bounded(alphabet.size())]);
    }
    QByteArray storage;
    EXPECT_EQ(voucher::repairedLine(line, storage), QByteArrayView(decodificarUTF8(line)))
        << line.toHex().constData();
  }
}

struct UnchangedCase {
  const char* name;
  QByteArray line;
};

class LineTheRepairLeavesAlone : public ::testing::TestWithParam<UnchangedCase> {};

TEST_P(LineTheRepairLeavesAlone, IsNotCopied) {
  const QByteArray& line = GetParam().line;
  QByteArray storage;
  EXPECT_EQ(voucher::repairedLine(line, storage).data(), line.constData());
  EXPECT_TRUE(storage.isEmpty());
  EXPECT_EQ(decodificarUTF8(line), line);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineTheRepairLeavesAlone,
                         ::testing::Values(UnchangedCase{"Plain", QByteArray(549, 'a')},
                                           UnchangedCase{"SingleByteAccents",
                                                         "CAPACITACI\xD3N PE\xD1"
                                                         "A \xC1LVAREZ"},
                                           UnchangedCase{"LeadByteAtTheEnd", "ABCDEFGH\xC3"},
                                           UnchangedCase{"ContinuationAlone", "ABCDEFGH\x80\xBF"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChangedCase {
  const char* name;
  QByteArray line;
  QByteArray repaired;
};

class LineTheRepairChanges : public ::testing::TestWithParam<ChangedCase> {};

TEST_P(LineTheRepairChanges, IsRepaired) {
  QByteArray storage;
  EXPECT_EQ(voucher::repairedLine(GetParam().line, storage), QByteArrayView(GetParam().repaired));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineTheRepairChanges,
    ::testing::Values(ChangedCase{"Utf8InFirstWord", "C\xC3\x93RDOBA", "C\xD3RDOBA"},
                      ChangedCase{"Utf8AcrossWords",
                                  "ABCDEFG\xC3\x93"
                                  "BCDEFGH",
                                  "ABCDEFG\xD3"
                                  "BCDEFGH"},
                      ChangedCase{"Utf8IntoTail", "ABCDEFG\xC3\x93", "ABCDEFG\xD3"},
                      ChangedCase{"Utf8InTail", "ABCDEFGHIJ\xC3\xB1", "ABCDEFGHIJ\xF1"},
                      ChangedCase{"NulInWord", QByteArray("ABC\0DEFGHIJ", 11), "ABCDEFGHIJ"},
                      ChangedCase{"NulInTail", QByteArray("ABCDEFGHI\0", 10), "ABCDEFGHI"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExisteEnArreglo, MatchesExactlyAndCaseSensitively) {
  const QList<QByteArray> list = {"30500000021", "abc", "30712345671"};
  EXPECT_TRUE(existeEnArreglo(list, "30500000021"));
  EXPECT_TRUE(existeEnArreglo(list, "30712345671"));
  EXPECT_TRUE(existeEnArreglo(list, "abc"));
  EXPECT_FALSE(existeEnArreglo(list, "ABC"));
  EXPECT_FALSE(existeEnArreglo(list, "3050000002"));
  EXPECT_FALSE(existeEnArreglo(list, " 30500000021"));
  EXPECT_FALSE(existeEnArreglo({}, "30500000021"));
  EXPECT_FALSE(existeEnArreglo({}, ""));
}

TEST(CuitSet, KeepsDigitsAndOtherTextsApart) {
  registry::CuitSet set;
  set.insert("30500000021");
  set.insert("123");
  set.insert("3050000002X");
  EXPECT_TRUE(set.contains("30500000021"));
  EXPECT_TRUE(set.contains("123"));
  EXPECT_TRUE(set.contains("3050000002X"));
  EXPECT_FALSE(set.contains("00000000123"));
  EXPECT_FALSE(set.contains(" 30500000021"));
  EXPECT_FALSE(set.contains("3050000002x"));
  EXPECT_FALSE(set.contains(""));
  // The same figures written otherwise are another text.
  set.insert("03050000000");
  EXPECT_TRUE(set.contains("03050000000"));
  EXPECT_FALSE(set.contains("3050000000 "));
  EXPECT_FALSE(set.contains(" 3050000000"));
}

TEST(ErrorFileLines, HaveTheirExactForms) {
  EXPECT_EQ(error_file::voucherLine(12, "CUIT. "), QByteArray("L\xEDnea 12: CUIT. "));
  EXPECT_EQ(error_file::voucherLine(4000000000LL, "Mes. "), QByteArray("L\xEDnea 4000000000: Mes. "));
  EXPECT_EQ(error_file::registryLine(12, ": El C.U.I.T. del consorcio es inv\xE1lido"),
            QByteArray("Error L\xEDnea 12: El C.U.I.T. del consorcio es inv\xE1lido"));
}

}  // namespace
}  // namespace tarquelas
