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

// 59 digits in Bar1's box (7229 x 851 twips) painted at 1200 dpi: Code 128
// with a start, 29 digit pairs in set C, a change of set and the last digit,
// the check character (33 symbols of 11 modules) and a stop of 13; modules
// whole device pixels, as wide as the quiet zones allow; bars only, full
// height, no text.
TEST(BarCodeTest, DigitsMakeCentredCode128BarsAndOtherValuesNone) {
  using namespace report;
  const QRectF box(2409, 6803, 7229, 851);
  const double pixel = kTwipsPerInch / 1200.0;
  const BarCodeBars code = barCodeBars(Symbology::Code128, QString(59, u'7'), box, pixel);
  EXPECT_EQ(code.modules, 33 * 11 + 13);
  EXPECT_NEAR((code.bars.back().right() - code.bars.front().left()) / code.moduleWidth, code.modules, 0.01);
  EXPECT_NEAR(std::fmod(code.moduleWidth / pixel + 0.5, 1.0), 0.5, 1e-6);
  EXPECT_GT((code.modules + 2 * kQuietModules) * (code.moduleWidth + pixel), box.width());
  const double leftGap = code.bars.front().left() - box.left(),
               rightGap = box.right() - code.bars.back().right();
  EXPECT_NEAR(leftGap, rightGap, pixel);
  EXPECT_GE(std::min(leftGap, rightGap), kQuietModules * code.moduleWidth);
  for (const QRectF& bar : code.bars) {
    EXPECT_EQ(bar.top(), box.top());
    EXPECT_EQ(bar.bottom(), box.bottom());
  }
  for (const QString& refused : {QString(), u"tab\there"_s, u"\u00f1"_s})
    EXPECT_TRUE(barCodeBars(Symbology::Code128, refused, box).bars.empty()) << refused.toStdString();
}

}  // namespace
}  // namespace tarquelas::voucher
