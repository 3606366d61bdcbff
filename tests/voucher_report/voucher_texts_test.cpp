// The texts computed from record fields, and the bars drawn for a bar code.
#include "voucher_report/voucher_texts.h"

#include <gtest/gtest.h>

#include "voucher_report/bar_code.h"

using namespace Qt::StringLiterals;

namespace tarquelas::voucher {
namespace {

struct TextCase {
  QByteArray (*text)(QByteArrayView);
  const char* field;
  const char* expected;
};

TEST(VoucherTextsTest, FieldsGiveTheirPrintedTextsAndHandEditedOnesNeverFail) {
  const TextCase cases[] = {
      {amountText, "00012345", "123,45"},
      {amountText, "00000005", "0,05"},
      {amountText, "00000000", "0,00"},
      {amountText, "12345678", "123456,78"},
      {amountText, "ABCDEF12", "0,12"},
      {amountText, "  12  34", "12,34"},
      {amountText, "12X45678", "12,78"},
      // not a finite whole number, or no two decimals: the field's own text
      {amountText, "", ""},
      {amountText, "-1e30000", "-1e30000"},
      {amountText, "1e999   ", "1e999"},
      {amountText, "NaN     ", "NaN"},
      {amountText, " -inf 12", "-inf 12"},
      {amountText, "12.5X678", "12.5X678"},
      {amountText, "000123  ", "000123"},
      {countText, "007", "7"},
      {countText, "   ", "0"},
      {countText, "1 2", "12"},
      {countText, "4a5", "4"},
      {countText, "abc", "0"},
      {countText, "-3", "-3"},
      {countText, "\t7", "0"},    // read as the header's month: a tab is no blank
      {countText, "1D2", "100"},  // and "D" opens an exponent
      {countText, "2.5", "2.5"},
      {countText, "99999999999", "99999999999"},  // beyond 32 bits
      {countText, "9e9", "9000000000"},
      {countText, "1e300", "1e300"},
      {countText, "-1e30000 ", "-1e30000"},
      {countText, " NaN", "NaN"},
      {countText, "inf", "inf"},
      {periodText, "03", "03"},
      {periodText, " 3", "3"},
      {periodText, "1e10", "10000000000"},
      {periodText, "9e99", "9e99"},
      {consortiumNumberText, "0000042", "42"},
      {consortiumNumberText, "ABC", "0"},
      {consortiumNumberText, "1e300  ", "1e300"},
      {voucherNumberText, "0000012345", "00-00012345"},
      {voucherNumberText, "1234567890", "12-34567890"},
      {voucherNumberText, "12345", "00-00012345"},
      {voucherNumberText, "12AB      ", "12AB"},
      {voucherNumberText, "inf       ", "inf"},
      {voucherNumberText, "1e300", "1e300"},
      {voucherNumberText, "", ""},
      {dateText, "20090415", "15/04/2009"},
      {dateText, "20200231", "31/02/2020"},
      {dateText, "2009", "//2009"},
      {workerListText, "Trabajadores: 20123456786, 20000000011 -", "CUILES: 20123456786, 20000000011"},
      {workerListText, "  TRABAJADORES: 20123456786 -   ", "CUILES: 20123456786"},
      {workerListText, "20123456786", "CUILES: 20123456786"},
      {workerListText, "", ""},
      {workerListText, "      ", ""},
      {workerListText, "Trabajadores: ", "CUILES: trabajadores:"},  // blanks go before the word is sought
      {workerListText, "Trabajadores: -", ""},
      // accented capitals are lower-cased too
      {workerListText,
       "Trabajadores: N\xd1"
       "ANDU \xc1LVAREZ -",
       "CUILES: n\xf1"
       "andu \xe1lvarez"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(c.text(c.field), QByteArray(c.expected));
  }
}

// 59 digits in Bar1's box (7229 x 851 twips): 60 digits with one leading
// zero and no check digit, 30 pairs of 18 modules plus a start of 4 and a
// stop of 5, centred between the quiet zones, the narrow bar wide enough for
// the collecting networks.
TEST(BarCodeTest, DigitsMakeCentredInterleavedBarsAndOtherValuesNone) {
  using namespace report;
  const QRectF box(2409, 6803, 7229, 851);
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, QString(59, u'7'), box);
  ASSERT_EQ(code.bars.size(), 30u * 5u + 2u + 2u);
  EXPECT_NEAR((code.bars.back().right() - code.bars.front().left()) / code.moduleWidth, 549, 0.01);
  EXPECT_GE(code.moduleWidth * 25.4 / kTwipsPerInch, 0.191);
  const double leftGap = code.bars.front().left() - box.left(),
               rightGap = box.right() - code.bars.back().right();
  EXPECT_NEAR(leftGap, rightGap, 1.0);
  EXPECT_GE(std::min(leftGap, rightGap), kQuietModules * code.moduleWidth);
  EXPECT_EQ(code.bars.front().top(), box.top());
  EXPECT_EQ(code.bars.front().bottom(), box.bottom());
  for (const char* refused : {"", "12345X7890", "12 34"})
    EXPECT_TRUE(barCodeBars(Symbology::Interleaved2of5, QString::fromLatin1(refused), box).bars.empty())
        << refused;
  EXPECT_TRUE(barCodeBars(Symbology::Code128, u"tab\there"_s, box).bars.empty());
  EXPECT_FALSE(barCodeBars(Symbology::Code128, u"ABC-123"_s, box).bars.empty());
}

}  // namespace
}  // namespace tarquelas::voucher
