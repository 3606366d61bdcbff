#include "support/varias.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace tarquelas {
namespace {

TEST(DigitoVerificador, WorkedExamples) {
  EXPECT_EQ(digitoVerificador("2012345678"), 6);  // sum 148, remainder 5
  EXPECT_EQ(digitoVerificador("2000000001"), 1);  // sum 12, remainder 1
  EXPECT_EQ(digitoVerificador("2010000013"), 0);  // remainder 0
  EXPECT_FALSE(digitoVerificador("20123456"));
  EXPECT_FALSE(digitoVerificador("20.2345678"));
}

TEST(ValidarCUIT, AcceptsRightCheckDigitsOnly) {
  EXPECT_TRUE(validarCUIT("20123456786"));
  EXPECT_FALSE(validarCUIT("20123456780"));
  EXPECT_TRUE(validarCUIT("20000000011"));
  EXPECT_TRUE(validarCUIT("20100000130"));
  // Published C.U.I.T.s of public bodies.
  EXPECT_TRUE(validarCUIT("33693450239"));  // tax agency
  EXPECT_TRUE(validarCUIT("33637617449"));  // social security agency
  EXPECT_TRUE(validarCUIT("30500010912"));  // national bank
}

TEST(ValidarCUIT, RefusesBadShapes) {
  EXPECT_FALSE(validarCUIT("00123456789"));
  EXPECT_FALSE(validarCUIT("99123456789"));
  EXPECT_FALSE(validarCUIT("2012345678"));
  EXPECT_FALSE(validarCUIT("201234567860"));
  EXPECT_FALSE(validarCUIT("2012345.786"));
  EXPECT_FALSE(validarCUIT("+2012345678"));
  EXPECT_FALSE(validarCUIT("201234567-6"));
  EXPECT_FALSE(validarCUIT(""));
  EXPECT_FALSE(validarCUIT("           "));
  EXPECT_FALSE(validarCUIT("2O123456786"));
}

TEST(FormatearCUIT, PrintedFormOrBlankMask) {
  EXPECT_EQ(formatearCUIT("20123456786"), "20-12345678-6");
  EXPECT_EQ(formatearCUIT(" 20123456786 "), "20-12345678-6");
  EXPECT_EQ(formatearCUIT("ABCDEFGHIJK"), "AB-CDEFGHIJ-K");  // digits not required
  const QByteArray mask = "  -        - ";
  ASSERT_EQ(mask.size(), 13);
  EXPECT_EQ(formatearCUIT(""), mask);
  EXPECT_EQ(formatearCUIT("   "), mask);
  EXPECT_EQ(formatearCUIT("-1"), mask);
  EXPECT_EQ(formatearCUIT("-2012345678"), mask);  // 11 characters but negative
  EXPECT_EQ(formatearCUIT("2012345678"), mask);
}

TEST(ValorNumerico, ForgivingConversion) {
  EXPECT_EQ(valorNumerico("00012345"), 12345);
  EXPECT_EQ(valorNumerico("  -12.5 "), -12.5);
  EXPECT_EQ(valorNumerico("1e3"), 1000);
  EXPECT_EQ(valorNumerico("abc"), 0);
  EXPECT_EQ(valorNumerico(""), 0);
  EXPECT_EQ(valorNumerico("12a"), 0);
  EXPECT_EQ(valorNumerico("."), 0);
  EXPECT_EQ(valorNumerico("1e"), 0);
  EXPECT_EQ(valorEntero("00000012345"), 12345);
  EXPECT_EQ(valorEntero("99999999999999"), 99999999999999LL);  // beyond 32 bits
  EXPECT_FALSE(valorEntero("12.5"));
  EXPECT_FALSE(valorEntero(""));
  EXPECT_FALSE(valorEntero("99999999999999999999999"));
}

TEST(ValidarFecha, YearsTo1998WithTheSimpleLeapRule) {
  EXPECT_TRUE(validarFecha("29/02/1996"));
  EXPECT_FALSE(validarFecha("29/02/1997"));
  EXPECT_FALSE(validarFecha("31/04/1990"));
  EXPECT_TRUE(validarFecha("30/04/1990"));
  EXPECT_TRUE(validarFecha("31/12/1998"));
  EXPECT_FALSE(validarFecha("15/03/2005"));
  EXPECT_FALSE(validarFecha("01/01/1899"));
  EXPECT_FALSE(validarFecha("no es fecha"));
  EXPECT_FALSE(validarFecha(""));
  EXPECT_FALSE(validarFecha("32/01/1990"));
  EXPECT_FALSE(validarFecha("1/02/1996"));  // day not at its positions: no crash, false
  EXPECT_TRUE(validarFecha(" 5/03/1995"));  // a blank for the leading zero
  EXPECT_FALSE(validarFecha("-5/03/1995"));
}

TEST(DecodificarUTF8, CollapsesUtf8AndKeepsSingleBytes) {
  EXPECT_EQ(decodificarUTF8("C\xc3\xb3"
                            "d"),
            QByteArray("C\xf3"
                       "d"));
  EXPECT_EQ(decodificarUTF8(""), QByteArray());
  EXPECT_EQ(decodificarUTF8("a\rb"), QByteArray("a\r\nb"));
  EXPECT_EQ(decodificarUTF8(QByteArray("a\0b", 3)), QByteArray("ab"));
  // Single-byte letters that the old byte table destroyed.
  EXPECT_EQ(decodificarUTF8("\xf1\xba\xb1\xe1"), QByteArray("\xf1\xba\xb1\xe1"));
  // En dash, minus sign and em dash become one "-"; the euro sign its byte.
  EXPECT_EQ(decodificarUTF8("1\xe2\x80\x93"
                            "2\xe2\x88\x92"
                            "3\xe2\x80\x94"),
            QByteArray("1-2-3-"));
  EXPECT_EQ(decodificarUTF8("\xe2\x82\xac"), QByteArray("\x80"));
  // No Windows-1252 character: one "?" per sequence, 4-byte ones too.
  EXPECT_EQ(decodificarUTF8("\xe6\x97\xa5\xf0\x9f\x98\x80"), QByteArray("??"));
  // Broken sequences keep their bytes.
  EXPECT_EQ(decodificarUTF8("\xc3"), QByteArray("\xc3"));
  EXPECT_EQ(decodificarUTF8("\xe2\x80"), QByteArray("\xe2\x80"));
  EXPECT_EQ(decodificarUTF8("\xc0\xaf"), QByteArray("\xc0\xaf"));          // overlong
  EXPECT_EQ(decodificarUTF8("\xed\xa0\x80"), QByteArray("\xed\xa0\x80"));  // surrogate
}

TEST(DecodificarUTF8, Utf8VoucherLineKeepsItsFieldPositions) {
  QByteArray line(549, 'x');
  line.replace(10, 1, "\xc3\xb3");  // ó
  line.replace(40, 1, "\xc3\xb1");  // ñ
  ASSERT_EQ(line.size(), 551);
  const QByteArray repaired = decodificarUTF8(line);
  EXPECT_EQ(repaired.size(), 549);
  EXPECT_EQ(repaired[10], '\xf3');
  EXPECT_EQ(repaired[39], '\xf1');  // shifted back by the first repair
}

TEST(SacaCeros, RemovesLeadingZerosOnly) {
  EXPECT_EQ(sacaCeros("000120"), "120");
  EXPECT_EQ(sacaCeros("0000"), "0");
  EXPECT_EQ(sacaCeros("1000"), "1000");
  EXPECT_EQ(sacaCeros(""), "");
  EXPECT_EQ(sacaCeros(" 012"), " 012");
  EXPECT_EQ(sacaCeros("005"), "5");
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
