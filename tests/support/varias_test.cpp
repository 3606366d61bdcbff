#include "support/varias.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/data_table.h"

namespace tarquelas {
namespace {

QByteArray yesNo(bool b) { return b ? "true" : "false"; }

QByteArray result(const QByteArray& function, const QByteArray& text) {
  if (function == "validarCUIT") return yesNo(validarCUIT(text));
  if (function == "formatearCUIT") return formatearCUIT(text);
  if (function == "valorNumerico") return QByteArray::number(valorNumerico(text));
  if (function == "esNumerico") return yesNo(esNumerico(text));
  if (function == "validarFecha") return yesNo(validarFecha(text));
  if (function == "decodificarUTF8") return decodificarUTF8(text);
  if (function == "sacaCeros") return sacaCeros(text);
  EXPECT_EQ(function, "valorEntero");
  const std::optional<qint64> whole = valorEntero(text);
  return whole ? QByteArray::number(*whole) : QByteArray("none");
}

// CUITs, numbers, dates to 1998 with the simple leap rule, UTF-8 repair: tests/data/varias.txt.
TEST(Varias, GiveTheResultsOfTheirTable) {
  const testing::RowKinds kinds = {{"decodificarUTF8", 3}, {"esNumerico", 3},   {"formatearCUIT", 3},
                                   {"sacaCeros", 3},       {"validarCUIT", 3},  {"validarFecha", 3},
                                   {"valorEntero", 3},     {"valorNumerico", 3}};
  for (const QList<QByteArray>& row : testing::dataRows("varias.txt", kinds)) {
    EXPECT_EQ(result(row[0], row[1]), row[2])
        << row[0].constData() << " of " << row[1].toHex(' ').constData();
  }
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
