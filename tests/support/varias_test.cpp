#include "support/varias.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace tarquelas {
namespace {

TEST(ValidarCUIT, ElevenDigitsWithTheirModulus11CheckDigit) {
  // Remainders 5, 1 (check digit 1) and 0; then public bodies' published numbers.
  for (const char* ok :
       {"20123456786", "20000000011", "20100000130", "33693450239", "33637617449", "30500010912"})
    EXPECT_TRUE(validarCUIT(ok)) << ok;
  for (const char* bad : {"20123456780", "00123456789", "99123456789", "2012345678", "201234567860",
                          "2012345.786", "+2012345678", "201234567-6", "", "           ", "2O123456786"})
    EXPECT_FALSE(validarCUIT(bad)) << bad;
}

TEST(FormatearCUIT, PrintedFormOrBlankMask) {
  EXPECT_EQ(formatearCUIT(" 20123456786 "), "20-12345678-6");
  EXPECT_EQ(formatearCUIT("ABCDEFGHIJK"), "AB-CDEFGHIJ-K");  // digits not required
  for (const char* masked : {"", "   ", "-1", "-2012345678", "2012345678"})
    EXPECT_EQ(formatearCUIT(masked), "  -        - ") << masked;
}

TEST(ValorNumerico, ForgivingConversion) {
  EXPECT_EQ(valorNumerico("  -12.5 "), -12.5);
  EXPECT_EQ(valorNumerico("1e3"), 1000);
  for (const char* zero : {"abc", "12a", ".", "1e", ""}) EXPECT_EQ(valorNumerico(zero), 0) << zero;
  EXPECT_TRUE(esNumerico(" 1e-3"));
  for (const char* bad : {"1e", "1e+", "2ex"})
    EXPECT_FALSE(esNumerico(bad)) << bad;                      // an exponent needs digits
  EXPECT_EQ(valorEntero("99999999999999"), 99999999999999LL);  // beyond 32 bits
  for (const char* bad : {"12.5", "", "99999999999999999999999"}) EXPECT_FALSE(valorEntero(bad)) << bad;
}

TEST(ValidarFecha, YearsTo1998WithTheSimpleLeapRule) {
  for (const char* ok : {"29/02/1996", "30/04/1990", "31/12/1998", " 5/03/1995"})  // a blank for a leading 0
    EXPECT_TRUE(validarFecha(ok)) << ok;
  for (const char* bad : {"29/02/1997", "31/04/1990", "15/03/2005", "01/01/1899", "no es fecha", "",
                          "32/01/1990", "1/02/1996", "-5/03/1995", "+5/03/1995"})
    EXPECT_FALSE(validarFecha(bad)) << bad;
}

// Well-formed UTF-8 becomes one Windows-1252 byte ("-" for dashes, "?" when
// there is none); other bytes stay; NUL goes; CR becomes CR LF.
TEST(DecodificarUTF8, CollapsesUtf8AndKeepsSingleBytes) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"C\xc3\xb3n", "C\xf3n"},
      {"a\rb", "a\r\nb"},
      {QByteArray("a\0b", 3), "ab"},
      {"\xf1\xba\xb1\xe1", "\xf1\xba\xb1\xe1"},  // single-byte letters the old byte table destroyed
      {"1\xe2\x80\x90x\xe2\x88\x92y\xe2\x80\x94z\xe2\x80\x95\xe2\x82\xac", "1-x-y-z-\x80"},  // U+2010..U+2015
      {"\xe6\x97\xa5\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf", "???"},
      // Overlong, surrogate and cut sequences stay as they are.
      {"\xc0\xaf|\xed\xa0\x80|\xe2\x80|\xc3", "\xc0\xaf|\xed\xa0\x80|\xe2\x80|\xc3"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(decodificarUTF8(in), out) << in.toHex().constData();
}

TEST(SacaCeros, RemovesLeadingZerosOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"000120", "120"}, {"0000", "0"}, {"1000", "1000"}, {"", ""}, {" 012", " 012"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(sacaCeros(in), out) << in;
}

TEST(ExisteArchivo, PlainExistenceWithoutWildcards) {
  QTemporaryDir dir;
  EXPECT_TRUE(existeArchivo(dir.path()));
  EXPECT_FALSE(existeArchivo(QString()));
  EXPECT_FALSE(existeArchivo(dir.filePath(QStringLiteral("*"))));
}

TEST(CentredTopLeft, CentresAcrossAndSitsHigh) {
  EXPECT_EQ(centredTopLeft({1000, 800}, {200, 100}), QPoint(400, 140));
}

}  // namespace
}  // namespace tarquelas
