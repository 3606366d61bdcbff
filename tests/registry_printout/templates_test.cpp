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
const QByteArray kPA = "<@@BLOQUEADMINISTRACIONES@@>", kPT = "<@@BLOQUETRABAJADORES@@>";

TEST(CortarDisenoConsorcio, ShrinksEachBlockToItsPlaceholder) {
  struct Caso {
    const char* caso;
    QByteArray texto, pagina, admin, trab;
  };
  const Caso casos[] = {
      {"administrations first", "h" + IA + "a" + FA + "m" + IT + "w" + FT + "t", "h" + kPA + "m" + kPT + "t",
       "a", "w"},
      {"first occurrence only", "h" + IA + "a" + IA + "b" + FA + "m" + IT + "w" + FT + "t" + FT,
       "h" + kPA + "m" + kPT + "t" + FT, "a" + IA + "b", "w"},
      {"empty block", "h" + IA + FA + "m" + IT + "w" + FT, "h" + kPA + "m" + kPT, "", "w"},
      {"line ends stay", "h\r\n" + IA + "\r\na\r\n" + FA + "\r\n" + IT + "\r\nw\r\n" + FT + "\r\n",
       "h\r\n" + kPA + "\r\n" + kPT + "\r\n", "\r\na\r\n", "\r\nw\r\n"},
  };
  for (const Caso& c : casos) {
    const DisenoConsorcio d = cortarDisenoConsorcio(c.texto);
    EXPECT_EQ(d.sDisenoConsorcio, c.pagina) << c.caso;
    EXPECT_EQ(d.sBloqueAdministraciones, c.admin) << c.caso;
    EXPECT_EQ(d.sBloqueTrabajadores, c.trab) << c.caso;
  }
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

TEST(LeerPlantilla, JoinsLinesEachFollowedByCrLfAndKeepsWindows1252Bytes) {
  // CR LF and lone CR end lines; a lone LF stays; the last line has no end.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.htm"));
  const std::pair<QByteArray, QByteArray> casos[] = {{"a\r\nb\rc\nd", "a\r\nb\r\nc\nd\r\n"},
                                                     {"a\nb\n", "a\nb\n\r\n"},
                                                     {"", ""},
                                                     {"Direcci\xF3n", "Direcci\xF3n\r\n"}};
  for (const auto& [archivo, texto] : casos) {
    ASSERT_TRUE(testing::writeBytes(path, archivo));
    EXPECT_EQ(leerPlantilla(path), texto);
  }
}

TEST(LeerDiseno, UnreadableTemplateGivesEmptyTextsWithoutMessage) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("DisenoConsorcio.htm")));
  QStringList mensajes;
  const DisenoConsorcio c = leerDisenoConsorcio(dir.filePath(QStringLiteral("DisenoConsorcio.htm")),
                                                [&](const QString& m) { mensajes << m; });
  EXPECT_TRUE(c.sDisenoConsorcio.isEmpty());
  EXPECT_TRUE(mensajes.isEmpty());
}

using printout::Grupo;

void usaTodos(const QByteArray& diseno, std::initializer_list<Grupo> grupos, const char* que) {
  qsizetype conocidos = 0;
  for (const printout::Marcador& m : printout::kMarcadores) {
    if (std::find(grupos.begin(), grupos.end(), m.grupo) == grupos.end()) continue;
    EXPECT_TRUE(diseno.contains(m.nombre)) << que << " lacks " << m.nombre;
    conocidos += diseno.count(m.nombre);
  }
  EXPECT_EQ(diseno.count("<@@"), conocidos) << que << " holds a placeholder no step fills";
}

TEST(ProjectTemplates, UseEveryPlaceholderAndAreWindows1252) {
  QByteArray textos[2];
  const char* nombres[] = {"DisenoConsorcio.htm", "DisenoTrabajador.htm"};
  for (int i = 0; i < 2; ++i) {
    textos[i] =
        leerPlantilla(QStringLiteral(TARQUELAS_SOURCE_DIR "/templates/") + QLatin1StringView(nombres[i]))
            .value_or(QByteArray());
    EXPECT_TRUE(textos[i].contains("charset=windows-1252")) << nombres[i];
    EXPECT_TRUE(textos[i].contains("Padr\xF3n")) << nombres[i];  // o acute as one byte
    EXPECT_FALSE(textos[i].contains("\xC3")) << nombres[i] << " looks like UTF-8";
  }
  const DisenoConsorcio c = cortarDisenoConsorcio(textos[0]);
  usaTodos(c.sDisenoConsorcio,
           {Grupo::Presentacion, Grupo::Consorcio, Grupo::BloqueAdministraciones, Grupo::BloqueTrabajadores},
           "consortium page");
  usaTodos(c.sBloqueAdministraciones, {Grupo::Administracion}, "administration block");
  usaTodos(c.sBloqueTrabajadores, {Grupo::Trabajador}, "worker block");
  const DisenoTrabajador t = cortarDisenoTrabajador(textos[1]);
  usaTodos(t.sDisenoEmpleado,
           {Grupo::Presentacion, Grupo::Consorcio, Grupo::Trabajador, Grupo::BloqueBeneficiarios},
           "worker page");
  usaTodos(t.sBloqueBeneficiarios, {Grupo::Beneficiario}, "beneficiary block");
}

}  // namespace
}  // namespace tarquelas
