#include "registry_printout/code_tables.h"

#include <gtest/gtest.h>

namespace tarquelas {
namespace {

struct Caso {
  const char* codigo;
  const char* texto;
};

TEST(CodeTables, HoldTheOfficeTextsLetterForLetter) {
  EXPECT_EQ(aTiposDeDocumentos.size(), 3u);
  EXPECT_EQ(aEstadosCiviles.size(), 7u);
  EXPECT_EQ(aNacionalidades.size(), 14u);
  EXPECT_EQ(aFunciones.size(), 23u);
  EXPECT_EQ(getFunciones("11"), "ENCARGADO NO PERMANTE SIN VIVIENDA 4 HORAS");
  EXPECT_EQ(getFunciones("15"), "ENCARGADO NO PERMANTE CON VIVIENDA 4 HORAS");
  EXPECT_EQ(getFunciones("18"), "PERSONAL  VIGILANCIA NOCTURNA");          // two blanks
  EXPECT_EQ(getFunciones("-1"), QByteArray("Seleccione una Funci\xF3n"));  // Windows-1252 o acute
  EXPECT_EQ(getNacionalidad("51"), "YOGOSLAVIA");
}

TEST(GetTipoDeDocumento, MatchesTheCodeAsText) {
  const Caso casos[] = {{"1", "DNI"}, {"2", "LE"}, {"3", "LC"}, {"4", ""}, {"", ""}, {"01", ""}, {"d", ""}};
  for (const Caso& c : casos) EXPECT_EQ(getTipoDeDocumento(c.codigo), c.texto) << c.codigo;
}

TEST(GetEstadoCivil, MatchesTheCodeAsTextAndHasNoFive) {
  const Caso casos[] = {{"0", "No Informado"},
                        {"1", "SOLTERO"},
                        {"2", "CASADO"},
                        {"3", "VIUDO"},
                        {"4", "SEPARADO LEGAL"},
                        {"5", ""},
                        {"6", "DIVORCIADO"},
                        {"7", "CONCUBINATO"},
                        {"8", ""},
                        {"", ""},
                        {"00", ""}};
  for (const Caso& c : casos) EXPECT_EQ(getEstadoCivil(c.codigo), c.texto) << c.codigo;
}

TEST(GetNacionalidad, MatchesByNumber) {
  const Caso casos[] = {{"8", "CHILE"},    {"08", "CHILE"},  {"1", "ARGENTINA"}, {"99", "OTRA"},
                        {"90", "UCRANIA"}, {"36", "ESPANA"}, {"7", ""},          {"", ""},
                        {"AR", ""},        {"0", ""},        {"-1", ""}};
  for (const Caso& c : casos) EXPECT_EQ(getNacionalidad(c.codigo), c.texto) << c.codigo;
}

TEST(GetFunciones, MatchesByNumber) {
  const Caso casos[] = {{"01", "ENCARGADO PERMANENTE CON VIVIENDA"},
                        {"1", "ENCARGADO PERMANENTE CON VIVIENDA"},
                        {"27", "SUPLENTE CON HORARIO - POR DIA"},
                        {"99", "PERSONAL DE VIGILANCIA DIURNA"},
                        {"5", ""},
                        {"", ""},
                        {"XX", ""},
                        {"1.", ""}};
  for (const Caso& c : casos) EXPECT_EQ(getFunciones(c.codigo), c.texto) << c.codigo;
}

TEST(CodeTables, EveryTableRowIsFoundByItsOwnCode) {
  for (auto tabla : {aTiposDeDocumentos, aEstadosCiviles})
    for (const FilaCodigo& f : tabla) EXPECT_EQ(buscarPorTexto(f.codigo, tabla), f.texto);
  for (auto tabla : {aNacionalidades, aFunciones})
    for (const FilaCodigo& f : tabla) EXPECT_EQ(buscarPorNumero(f.codigo, tabla), f.texto);
}

}  // namespace
}  // namespace tarquelas
