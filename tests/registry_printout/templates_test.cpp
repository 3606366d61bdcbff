// Reading the two templates and cutting them at their block markers; the
// templates installed beside the program.
#include "registry_printout/templates.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

#include "common/data_table.h"
#include "registry_printout/placeholders.h"

namespace tarquelas {
namespace {

QList<QByteArray> pieces(const QList<QByteArray>& row) {
  using printout::Regla;
  const QByteArrayView reglas[] = {"Texto",   "SinCeros",   "Entero",      "Fecha",
                                   "Importe", "NumeroCABA", "Nacionalidad"};
  if (row[0] == "regla")
    return {row[1], row[2], aplicarRegla(Regla(std::ranges::find(reglas, row[1]) - reglas), row[2])};
  if (row[0] == "trabajador") {
    const DisenoTrabajador t = cortarDisenoTrabajador(row[1]);
    return {row[1], t.sDisenoEmpleado, t.sBloqueBeneficiarios};
  }
  const DisenoConsorcio c = cortarDisenoConsorcio(row[1]);
  return {row[1], c.sDisenoConsorcio, c.sBloqueAdministraciones, c.sBloqueTrabajadores};
}

// Value rules and the cutting of templates at their markers: tests/data/printout_pieces.txt.
TEST(Pieces, AreThoseOfTheirTable) {
  for (const QList<QByteArray>& row :
       testing::dataRows("printout_pieces.txt", {{"regla", 4}, {"consorcio", 5}, {"trabajador", 4}})) {
    EXPECT_EQ(QByteArrayList(pieces(row)).join('|').toStdString(), row.sliced(1).join('|').toStdString());
  }
}

TEST(LeerPlantilla, JoinsLinesWithCrLfAndAnUnreadableTemplateIsAnErrorNamingIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.htm")), folder = dir.filePath(QStringLiteral("D.htm"));
  ASSERT_TRUE(testing::writeBytes(path, "a\r\nb\rc\nDirecci\xF3n\n") && QDir().mkdir(folder));
  EXPECT_EQ(leerPlantilla(path).texto, "a\r\nb\r\nc\nDirecci\xF3n\n\r\n");  // a lone LF stays inside its line
  QStringList mensajes;
  const auto leido = leerDisenoConsorcio(folder, [&](const QString& m) { mensajes << m; });
  EXPECT_TRUE(leido.status.isError() && leido.status.description().contains(folder));
  EXPECT_TRUE(leido.texto.sDisenoConsorcio.isEmpty() && mensajes.isEmpty());
}

using printout::Grupo;

// The shipped templates hold every placeholder of their parts, and no other.
TEST(ProjectTemplates, UseEveryPlaceholderAndAreWindows1252) {
  using enum Grupo;
  QByteArray textos[2];
  const char* nombres[] = {"DisenoConsorcio.htm", "DisenoTrabajador.htm"};
  for (int i = 0; i < 2; ++i) {
    const QString path = QStringLiteral(TARQUELAS_SOURCE_DIR "/templates/") + QLatin1StringView(nombres[i]);
    textos[i] = leerPlantilla(path).texto;
    EXPECT_TRUE(textos[i].contains("charset=windows-1252")) << nombres[i];
    EXPECT_TRUE(textos[i].contains("Padr\xF3n") && !textos[i].contains("\xC3")) << nombres[i] << " is UTF-8";
  }
  const DisenoConsorcio c = cortarDisenoConsorcio(textos[0]);
  const DisenoTrabajador t = cortarDisenoTrabajador(textos[1]);
  const std::pair<QByteArray, QList<Grupo>> partes[] = {
      {c.sDisenoConsorcio, {Presentacion, Consorcio, BloqueAdministraciones, BloqueTrabajadores}},
      {c.sBloqueAdministraciones, {Administracion}},
      {c.sBloqueTrabajadores, {Trabajador}},
      {t.sDisenoEmpleado, {Presentacion, Consorcio, Trabajador, BloqueBeneficiarios}},
      {t.sBloqueBeneficiarios, {Beneficiario}},
  };
  for (const auto& [diseno, grupos] : partes) {
    qsizetype conocidos = 0;
    for (const printout::Marcador& m : printout::kMarcadores) {
      if (!grupos.contains(m.grupo)) continue;
      EXPECT_TRUE(diseno.contains(m.nombre)) << diseno.left(60).data() << " lacks " << m.nombre;
      conocidos += diseno.count(m.nombre);
    }
    EXPECT_EQ(diseno.count("<@@"), conocidos)
        << diseno.left(60).data() << " holds a placeholder no step fills";
  }
}

}  // namespace
}  // namespace tarquelas
