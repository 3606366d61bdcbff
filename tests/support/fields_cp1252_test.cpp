#include <gtest/gtest.h>

#include "support/cp1252.h"
#include "support/fields.h"

namespace tarquelas {
namespace {

TEST(Field, TakesPiecesByOneBasedPositionCutAtTheLineEnd) {
  const std::pair<Field, const char*> cases[] = {{{1, 3}, "ABC"}, {{5, 10}, "EFG"}, {{8, 2}, ""},
                                                 {{0, 2}, ""},    {{3, 0}, ""},     {{3, -4}, ""}};
  for (const auto& [field, piece] : cases) EXPECT_EQ(field.in("ABCDEFG"), piece) << field.start;
  EXPECT_EQ(Field({2, 3}).end(), 4);
  EXPECT_EQ(Field({1, 8}).trimmedIn("  ab c \t  x"), "ab c \t");  // only ' ' is a blank
  EXPECT_EQ(trimBlanks("    "), "");
}

TEST(Cp1252, RoundTripsEveryByteAndMapsTheSpecialRange) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  ASSERT_EQ(fromCp1252(all).size(), 256);
  EXPECT_EQ(toCp1252(fromCp1252(all)), all);
  EXPECT_EQ(fromCp1252("\x80\x96\xf1\xba"), QString::fromUtf8("€–ñº"));
  EXPECT_EQ(toCp1252(QString::fromUtf8("Línea ñ € 日本 😀")), QByteArray("L\xednea \xf1 \x80 ?? ?"));
}

}  // namespace
}  // namespace tarquelas
