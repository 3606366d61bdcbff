// The templates installed beside the program: Windows-1252 HTML that says
// so, cut cleanly, and use every placeholder of their pages and blocks.
#include <gtest/gtest.h>

#include "registry_printout/placeholders.h"
#include "registry_printout/templates.h"

namespace tarquelas {
namespace {

using printout::Grupo;

QByteArray plantilla(const char* nombre) {
  const auto texto =
      leerPlantilla(QStringLiteral(TARQUELAS_SOURCE_DIR "/templates/") + QLatin1StringView(nombre));
  EXPECT_TRUE(texto.has_value()) << nombre;
  return texto.value_or(QByteArray());
}

// Every placeholder of the groups appears in design, and every "<@@" of the
// design starts one of them.
void usaTodos(const QByteArray& diseno, std::initializer_list<Grupo> grupos, const char* que) {
  qsizetype conocidos = 0;
  for (const printout::Marcador& m : printout::kMarcadores) {
    bool delGrupo = false;
    for (Grupo g : grupos) delGrupo |= m.grupo == g;
    if (!delGrupo) continue;
    EXPECT_TRUE(diseno.contains(m.nombre)) << que << " lacks " << m.nombre;
    conocidos += diseno.count(m.nombre);
  }
  EXPECT_EQ(diseno.count("<@@"), conocidos) << que << " holds a placeholder no step fills";
}

TEST(ProjectTemplates, ConsortiumTemplateUsesEveryPlaceholder) {
  const QByteArray texto = plantilla("DisenoConsorcio.htm");
  EXPECT_TRUE(texto.contains("charset=windows-1252"));
  const DisenoConsorcio d = cortarDisenoConsorcio(texto);
  usaTodos(d.sDisenoConsorcio,
           {Grupo::Presentacion, Grupo::Consorcio, Grupo::BloqueAdministraciones, Grupo::BloqueTrabajadores},
           "page");
  usaTodos(d.sBloqueAdministraciones, {Grupo::Administracion}, "administration block");
  usaTodos(d.sBloqueTrabajadores, {Grupo::Trabajador}, "worker block");
}

TEST(ProjectTemplates, WorkerTemplateUsesEveryPlaceholder) {
  const QByteArray texto = plantilla("DisenoTrabajador.htm");
  EXPECT_TRUE(texto.contains("charset=windows-1252"));
  const DisenoTrabajador d = cortarDisenoTrabajador(texto);
  usaTodos(d.sDisenoEmpleado,
           {Grupo::Presentacion, Grupo::Consorcio, Grupo::Trabajador, Grupo::BloqueBeneficiarios}, "page");
  usaTodos(d.sBloqueBeneficiarios, {Grupo::Beneficiario}, "beneficiary block");
}

TEST(ProjectTemplates, AreWindows1252TextWithoutUtf8) {
  for (const char* nombre : {"DisenoConsorcio.htm", "DisenoTrabajador.htm"}) {
    const QByteArray texto = plantilla(nombre);
    EXPECT_TRUE(texto.contains("Padr\xF3n")) << nombre;  // o acute as one byte
    EXPECT_FALSE(texto.contains("\xC3")) << nombre << " looks like UTF-8";
  }
}

}  // namespace
}  // namespace tarquelas
