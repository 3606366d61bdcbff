#include <gtest/gtest.h>

#include "support/cp1252.h"
#include "support/fields.h"

namespace tarquelas {
namespace {

TEST(Field, TakesPiecesByOneBasedPosition) {
  const QByteArrayView line = "ABCDEFG";
  EXPECT_EQ(Field({1, 3}).in(line), "ABC");
  EXPECT_EQ(Field({5, 10}).in(line), "EFG");  // cut at the end of the line
  EXPECT_EQ(Field({8, 2}).in(line), "");      // starts past the end
  EXPECT_EQ(Field({100, 2}).in(line), "");
  EXPECT_EQ(Field({0, 2}).in(line), "");  // no such position
  EXPECT_EQ(Field({3, 0}).in(line), "");
  EXPECT_EQ(Field({3, -4}).in(line), "");
  EXPECT_EQ(Field({2, 3}).end(), 4);
}

TEST(Field, TrimsOnlyBlanks) {
  EXPECT_EQ(Field({1, 8}).trimmedIn("  ab c \t  x"), "ab c \t");
  EXPECT_EQ(trimBlanks("    "), "");
  EXPECT_EQ(trimBlanks(""), "");
}

TEST(Cp1252, RoundTripsEveryByte) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  const QString text = fromCp1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(toCp1252(text), all);
}

TEST(Cp1252, MapsTheSpecialRangeAndAccents) {
  EXPECT_EQ(fromCp1252("\x80\x96\xf1\xba"), QString::fromUtf8("€–ñº"));
  EXPECT_EQ(toCp1252(QString::fromUtf8("Línea ñ €")), QByteArray("L\xednea \xf1 \x80"));
  EXPECT_EQ(toCp1252(QString::fromUtf8("日本")), QByteArray("??"));
  EXPECT_EQ(toCp1252(QString::fromUtf8("😀")), QByteArray("?"));  // one character, one byte
}

}  // namespace
}  // namespace tarquelas
