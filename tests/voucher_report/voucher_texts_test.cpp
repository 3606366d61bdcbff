// The texts computed from record fields, and the bars drawn for a bar code.
#include "voucher_report/voucher_texts.h"

#include <gtest/gtest.h>

#include "voucher_report/bar_code.h"

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
      {amountText, "", "0,"},
      {amountText, "ABCDEF12", "0,12"},
      {amountText, "  12  34", "12,34"},
      {amountText, "12X45678", "12,78"},
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
      {voucherNumberText, "0000012345", "00-00012345"},
      {voucherNumberText, "1234567890", "12-34567890"},
      {voucherNumberText, "12345", "00-00012345"},
      {voucherNumberText, "12AB", "12AB"},
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

// Bar1's box: 7229 x 851 twips.
const QRectF kBox(2409, 6803, 7229, 851);
const QString kValue = QStringLiteral("12345678901234567890123456789012345678901234567890123456789");

TEST(BarCodeTest, FiftyNineDigitsMakeCentredInterleavedBarsReadableByTheNetworks) {
  using namespace report;
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, kValue, kBox);
  ASSERT_EQ(code.bars.size(), 30u * 5u + 2u + 2u);  // 30 digit pairs, start and stop
  // 30 pairs of 18 modules, start 4, stop 5: one leading zero, no check digit.
  EXPECT_NEAR((code.bars.back().right() - code.bars.front().left()) / code.moduleWidth, 549, 0.01);
  EXPECT_GE(code.moduleWidth * 25.4 / kTwipsPerInch, 0.191);  // narrowest bar in mm
  const double leftGap = code.bars.front().left() - kBox.left();
  const double rightGap = kBox.right() - code.bars.back().right();
  EXPECT_NEAR(leftGap, rightGap, 1.0);
  EXPECT_GE(std::min(leftGap, rightGap), kQuietModules * code.moduleWidth);
  for (const QRectF& bar : code.bars) {
    EXPECT_NEAR(bar.top(), kBox.top(), 0.01);
    EXPECT_NEAR(bar.bottom(), kBox.bottom(), 0.01);
  }
}

TEST(BarCodeTest, OnlyValuesTheSymbologyCanEncodeDrawBars) {
  using report::Symbology;
  const struct {
    Symbology symbology;
    QString value;
    bool drawn;
  } cases[] = {
      {Symbology::Interleaved2of5, QString(), false},
      {Symbology::Interleaved2of5, QStringLiteral("12345X7890"), false},
      {Symbology::Interleaved2of5, QStringLiteral("12 34"), false},
      {Symbology::Code128, QString(), false},
      {Symbology::Code128, QStringLiteral("tab\there"), false},
      {Symbology::Code128, QStringLiteral("ABC-123"), true},
      {Symbology::Code128, kValue, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.toStdString());
    EXPECT_EQ(report::barCodeBars(c.symbology, c.value, kBox).bars.empty(), !c.drawn);
  }
}

}  // namespace
}  // namespace tarquelas::voucher
