#include "registry_printout/code_tables.h"

#include "support/fields.h"
#include "support/varias.h"

namespace tarquelas {
namespace {

constexpr FilaCodigo kTiposDeDocumentos[] = {{"1", "DNI"}, {"2", "LE"}, {"3", "LC"}};

// There is no code "5".
constexpr FilaCodigo kEstadosCiviles[] = {
    {"0", "No Informado"},   {"1", "SOLTERO"},    {"2", "CASADO"},      {"3", "VIUDO"},
    {"4", "SEPARADO LEGAL"}, {"6", "DIVORCIADO"}, {"7", "CONCUBINATO"},
};

constexpr FilaCodigo kNacionalidades[] = {
    {"1", "ARGENTINA"}, {"2", "BOLIVIA"},     {"3", "BRASIL"},   {"8", "CHILE"},   {"18", "PARAGUAY"},
    {"19", "PERU"},     {"22", "URUGUAY"},    {"36", "ESPANA"},  {"43", "ITALIA"}, {"45", "POLONIA"},
    {"50", "RUSIA"},    {"51", "YOGOSLAVIA"}, {"90", "UCRANIA"}, {"99", "OTRA"},
};

constexpr FilaCodigo kFunciones[] = {
    {"-1", "Seleccione una Funci\xF3n"},
    {"1", "ENCARGADO PERMANENTE CON VIVIENDA"},
    {"2", "ENCARGADO PERMANENTE SIN VIVIENDA"},
    {"3", "AYUDANTE PERMANENTE SIN VIVIENDA"},
    {"4", "AYUDANTE MEDIA JORNADA"},
    {"6", "ENCARGADO GUARDACOCHES SIN VIVIENDA"},
    {"9", "ENCARGADO GUARDACOCHES CON VIVIENDA"},
    {"10", "AYUDANTE PERMANENTE CON VIVIENDA"},
    {"11", "ENCARGADO NO PERMANTE SIN VIVIENDA 4 HORAS"},
    {"14", "MAYORDOMO SIN VIVIENDA"},
    {"15", "ENCARGADO NO PERMANTE CON VIVIENDA 4 HORAS"},
    {"16", "MAYORDOMO CON VIVIENDA"},
    {"17", "PERSONAL ASIMILADO SIN VIVIENDA"},
    {"18", "PERSONAL  VIGILANCIA NOCTURNA"},
    {"27", "SUPLENTE CON HORARIO - POR DIA"},
    {"30", "PERSONAL JORNALIZADO NO MAS DE 18 HORAS"},
    {"36", "PERSONAL ASIMILADO CON VIVIENDA"},
    {"39", "PERSONAL CON MAS DE UNA FUNCION SIN VIVIENDA"},
    {"40", "PERSONAL CON MAS DE UNA FUNCION CON VIVIENDA"},
    {"45", "PERSONAL VIGILANCIA MEDIA JORNADA"},
    {"46", "AYUDANTE TEMPORARIO MEDIA JORNADA"},
    {"52", "AYUDANTE TEMPORARIO"},
    {"99", "PERSONAL DE VIGILANCIA DIURNA"},
};

QByteArrayView textoDe(const FilaCodigo& fila) { return trimBlanks(QByteArrayView(fila.texto)); }

// Codes have no blanks; a row's code is compared without them all the same.
QByteArrayView codigoDe(const FilaCodigo& fila) { return trimBlanks(QByteArrayView(fila.codigo)); }

}  // namespace

const std::span<const FilaCodigo> aTiposDeDocumentos{kTiposDeDocumentos};
const std::span<const FilaCodigo> aEstadosCiviles{kEstadosCiviles};
const std::span<const FilaCodigo> aNacionalidades{kNacionalidades};
const std::span<const FilaCodigo> aFunciones{kFunciones};

QByteArrayView buscarPorTexto(QByteArrayView sID, std::span<const FilaCodigo> tabla) {
  for (const FilaCodigo& fila : tabla)
    if (codigoDe(fila) == sID) return textoDe(fila);
  return {};
}

QByteArrayView buscarPorNumero(QByteArrayView sID, std::span<const FilaCodigo> tabla) {
  const std::optional<qint64> buscado = valorEntero(sID);
  if (!buscado) return {};
  for (const FilaCodigo& fila : tabla)
    if (valorEntero(codigoDe(fila)) == buscado) return textoDe(fila);
  return {};
}

}  // namespace tarquelas
