// Reading the two templates and cutting them at their block markers; the
// templates installed beside the program.
#include "registry_printout/templates.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "common/temp_dir.h"
#include "registry_printout/placeholders.h"

namespace tarquelas {
namespace {

const QByteArray IA = "<@@INICIOBLOQUEADMINISTRACIONES@@>", FA = "<@@FINBLOQUEADMINISTRACIONES@@>",
                 IT = "<@@INICIOBLOQUETRABAJADORES@@>", FT = "<@@FINBLOQUETRABAJADORES@@>",
                 IB = "<@@INICIOBLOQUEBENEFICIARIOS@@>", FB = "<@@FINBLOQUEBENEFICIARIOS@@>";

// The round trip of blocks is the template_cut fuzz harness's; here, a marker written twice.
TEST(CortarDisenoConsorcio, CutsAtTheFirstOccurrenceOfEachMarker) {
  const DisenoConsorcio d =
      cortarDisenoConsorcio("h" + IA + "a" + IA + "b" + FA + "m" + IT + "w" + FT + "t" + FT);
  EXPECT_EQ(d.sDisenoConsorcio, "h<@@BLOQUEADMINISTRACIONES@@>m<@@BLOQUETRABAJADORES@@>t" + FT);
  EXPECT_EQ(d.sBloqueAdministraciones, "a" + IA + "b");
  EXPECT_EQ(d.sBloqueTrabajadores, "w");
}

// The cutting stops at the step whose cut has a negative length; that
// step's text and the later ones stay empty.
TEST(CortarDisenoConsorcio, StopsAtTheFirstImpossibleCut) {
  struct Fallo {
    const char* caso;
    QByteArray texto;
    bool pagina, admin, trab;
  };
  const QByteArray x40(40, 'x');
  const Fallo casos[] = {
      {"empty template", "", false, false, false},
      {"no markers", "<html>nothing</html>", false, false, false},
      {"no administration start", "h" + FA + "m" + IT + "w" + FT, false, false, false},
      {"no worker start", "h" + IA + "a" + FA + "m" + FT, false, false, false},
      {"administration end before its start", "h" + FA + x40 + IA + "a" + IT + "w" + FT, true, false, false},
      {"administration end missing", "h" + IA + "a" + x40 + IT + "w" + FT + "t", true, false, false},
      {"worker end missing", "h" + IA + "a" + FA + "m" + IT + "w", true, true, false},
      {"worker end before its start", "h" + IA + "a" + FA + "m" + FT + IT + "w", true, true, false},
  };
  for (const Fallo& c : casos) {
    const DisenoConsorcio d = cortarDisenoConsorcio(c.texto);
    EXPECT_EQ(!d.sDisenoConsorcio.isEmpty(), c.pagina) << c.caso;
    EXPECT_EQ(!d.sBloqueAdministraciones.isEmpty(), c.admin) << c.caso;
    EXPECT_EQ(!d.sBloqueTrabajadores.isEmpty(), c.trab) << c.caso;
  }
}

TEST(CortarDisenoTrabajador, CutsTheBeneficiaryBlockOrStops) {
  const struct {
    QByteArray texto, pagina, benef;
  } casos[] = {
      {"p<@@iniciobloquebeneficiarios@@>\r\nb\r\n" + FB + "\r\ne", "p<@@BLOQUEBENEFICIARIOS@@>\r\ne",
       "\r\nb\r\n"},
      {"", "", ""},
      {"p" + FB, "", ""},
      // The design takes everything after where the end marker stands.
      {"p" + FB + "x" + IB + "b", "p" + FB + "x<@@BLOQUEBENEFICIARIOS@@>x" + IB + "b", ""},
  };
  for (const auto& c : casos) {
    const DisenoTrabajador d = cortarDisenoTrabajador(c.texto);
    EXPECT_EQ(d.sDisenoEmpleado, c.pagina) << c.texto.data();
    EXPECT_EQ(d.sBloqueBeneficiarios, c.benef) << c.texto.data();
  }
}

TEST(LeerPlantilla, JoinsLinesWithCrLfAndAnUnreadableTemplateGivesNothingWithoutMessage) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.htm")), folder = dir.filePath(QStringLiteral("D.htm"));
  ASSERT_TRUE(testing::writeBytes(path, "a\r\nb\rc\nDirecci\xF3n\n") && QDir().mkdir(folder));
  EXPECT_EQ(leerPlantilla(path), "a\r\nb\r\nc\nDirecci\xF3n\n\r\n");  // a lone LF stays inside its line
  QStringList mensajes;
  EXPECT_TRUE(
      leerDisenoConsorcio(folder, [&](const QString& m) { mensajes << m; }).sDisenoConsorcio.isEmpty());
  EXPECT_TRUE(mensajes.isEmpty());
}

using printout::Grupo;

// The shipped templates hold every placeholder of their parts, and no other.
TEST(ProjectTemplates, UseEveryPlaceholderAndAreWindows1252) {
  using enum Grupo;
  QByteArray textos[2];
  const char* nombres[] = {"DisenoConsorcio.htm", "DisenoTrabajador.htm"};
  for (int i = 0; i < 2; ++i) {
    const QString path = QStringLiteral(TARQUELAS_SOURCE_DIR "/templates/") + QLatin1StringView(nombres[i]);
    textos[i] = leerPlantilla(path).value_or(QByteArray());
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
