#include "voucher_report/bar_code.h"

#include <gtest/gtest.h>

namespace tarquelas::report {
namespace {

// Bar1's box: 7229 x 851 twips.
const QRectF kBox(2409, 6803, 7229, 851);
const QString kValue = QStringLiteral("12345678901234567890123456789012345678901234567890123456789");

double twipsToMm(double twips) { return twips * 25.4 / kTwipsPerInch; }

TEST(BarCodeTest, FiftyNineDigitsMakeSixtyDigitsOfInterleavedBars) {
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, kValue, kBox);
  ASSERT_FALSE(code.bars.empty());
  // 30 pairs of 18 modules, a start of 4 and a stop of 5: 549 modules, so
  // the odd count took one leading zero and no check digit was added.
  const double modules = (code.bars.back().right() - code.bars.front().left()) / code.moduleWidth;
  EXPECT_NEAR(modules, 549, 0.01);
  // A bar per digit pair half (5 digits per pair of 2 digits), start and stop.
  EXPECT_EQ(code.bars.size(), 30u * 5u + 2u + 2u);
}

TEST(BarCodeTest, NarrowBarIsWideEnoughForTheCollectingNetworks) {
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, kValue, kBox);
  EXPECT_GE(twipsToMm(code.moduleWidth), 0.191);
  EXPECT_EQ(code.moduleWidth, 12.0);  // whole twips
}

TEST(BarCodeTest, SymbolIsCentredInTheBox) {
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, kValue, kBox);
  const double leftGap = code.bars.front().left() - kBox.left();
  const double rightGap = kBox.right() - code.bars.back().right();
  EXPECT_NEAR(leftGap, rightGap, 1.0);
  EXPECT_GE(std::min(leftGap, rightGap), kQuietModules * code.moduleWidth);
}

TEST(BarCodeTest, BarsStayInsideTheBoxLeavingTheQuietZones) {
  const BarCodeBars code = barCodeBars(Symbology::Interleaved2of5, kValue, kBox);
  const QRectF inner = kBox.adjusted(kQuietModules * code.moduleWidth - 0.01, -0.01,
                                     -kQuietModules * code.moduleWidth + 0.01, 0.01);
  for (const QRectF& bar : code.bars) EXPECT_TRUE(inner.contains(bar)) << bar.x() << "," << bar.width();
  EXPECT_NEAR(code.bars.front().top(), kBox.top(), 0.01);
  EXPECT_NEAR(code.bars.front().bottom(), kBox.bottom(), 0.01);
}

struct RefusedCase {
  Symbology symbology;
  const char* value;
};

class BarCodeRefusalTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(BarCodeRefusalTest, ValueThatCannotBeEncodedDrawsNothing) {
  EXPECT_TRUE(barCodeBars(GetParam().symbology, QString::fromLatin1(GetParam().value), kBox).bars.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, BarCodeRefusalTest,
                         ::testing::Values(RefusedCase{Symbology::Interleaved2of5, ""},
                                           RefusedCase{Symbology::Interleaved2of5, "12345X7890"},
                                           RefusedCase{Symbology::Interleaved2of5, "12 34"},
                                           RefusedCase{Symbology::Code128, ""},
                                           RefusedCase{Symbology::Code128, "tab\there"}));

TEST(BarCodeTest, Code128IsASettingOfTheControl) {
  const BarCodeBars code = barCodeBars(Symbology::Code128, QStringLiteral("ABC-123"), kBox);
  EXPECT_FALSE(code.bars.empty());
  const BarCodeBars digits = barCodeBars(Symbology::Code128, kValue, kBox);
  EXPECT_FALSE(digits.bars.empty());
}

}  // namespace
}  // namespace tarquelas::report
