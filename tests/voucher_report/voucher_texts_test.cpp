#include "voucher_report/voucher_texts.h"

#include <gtest/gtest.h>

namespace tarquelas::voucher {
namespace {

struct TextCase {
  const char* field;
  const char* text;
};

class AmountTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AmountTextTest, WritesWholePartWithoutZerosAndTwoDecimals) {
  EXPECT_EQ(amountText(GetParam().field), QByteArray(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Amounts, AmountTextTest,
                         ::testing::Values(TextCase{"00012345", "123,45"}, TextCase{"00000005", "0,05"},
                                           TextCase{"00000000", "0,00"}, TextCase{"12345678", "123456,78"},
                                           TextCase{"99999999", "999999,99"},
                                           // hand-edited or short fields never fail
                                           TextCase{"", "0,"}, TextCase{"0001", "1,"},
                                           TextCase{"ABCDEF12", "0,12"}, TextCase{"  12  34", "12,34"},
                                           TextCase{"12X45678", "12,78"}));

class CountTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CountTextTest, ReadsTheLeadingNumber) {
  EXPECT_EQ(countText(GetParam().field), QByteArray(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Counts, CountTextTest,
                         ::testing::Values(TextCase{"007", "7"}, TextCase{"000", "0"}, TextCase{"120", "120"},
                                           TextCase{"   ", "0"}, TextCase{"", "0"}, TextCase{"1 2", "12"},
                                           TextCase{"4a5", "4"}, TextCase{"abc", "0"}, TextCase{"-3", "-3"},
                                           // read as the header's month is read: a tab is no
                                           // blank, and "D" opens an exponent
                                           TextCase{"\t7", "0"}, TextCase{"1D2", "100"}));

class VoucherNumberTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(VoucherNumberTest, FollowsTheMask) {
  EXPECT_EQ(voucherNumberText(GetParam().field), QByteArray(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Numbers, VoucherNumberTest,
                         ::testing::Values(TextCase{"0000012345", "00-00012345"},
                                           TextCase{"1234567890", "12-34567890"},
                                           TextCase{"0000000000", "00-00000000"},
                                           TextCase{"12345", "00-00012345"}, TextCase{"12AB", "12AB"},
                                           TextCase{"", ""}));

TEST(DateTextTest, WritesDayMonthYearAsTheDigitsStand) {
  EXPECT_EQ(dateText("20090415"), QByteArray("15/04/2009"));
  EXPECT_EQ(dateText("20200231"), QByteArray("31/02/2020"));
  EXPECT_EQ(dateText("2009"), QByteArray("//2009"));
}

TEST(PlainDecimalTest, WritesWholeNumbersBeyondThirtyTwoBits) {
  EXPECT_EQ(plainDecimal(42), QByteArray("42"));
  EXPECT_EQ(plainDecimal(9999999), QByteArray("9999999"));
  EXPECT_EQ(plainDecimal(99999999999.0), QByteArray("99999999999"));
  EXPECT_EQ(plainDecimal(2.5), QByteArray("2.5"));
}

class WorkerListTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(WorkerListTest, ListsTheCuilsInLowerCase) {
  EXPECT_EQ(workerListText(GetParam().field), QByteArray(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Observations, WorkerListTest,
    ::testing::Values(TextCase{"Trabajadores: 20123456786, 20000000011 -",
                               "CUILES: 20123456786, 20000000011"},
                      TextCase{"  TRABAJADORES: 20123456786 -   ", "CUILES: 20123456786"},
                      TextCase{"20123456786", "CUILES: 20123456786"}, TextCase{"", ""},
                      TextCase{"      ", ""},
                      // the blanks go before the word is looked for, as described
                      TextCase{"Trabajadores: ", "CUILES: trabajadores:"}, TextCase{"Trabajadores: -", ""},
                      // the whole text in lower case, accented capitals too
                      TextCase{"Trabajadores: N\xd1"
                               "ANDU \xc1LVAREZ -",
                               "CUILES: n\xf1"
                               "andu \xe1lvarez"}));

}  // namespace
}  // namespace tarquelas::voucher
