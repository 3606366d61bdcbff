// Value rules and the filling of designs.
#include "registry_printout/placeholders.h"

#include <gtest/gtest.h>

namespace tarquelas::printout {
namespace {

struct Caso {
  Regla regla;
  const char* texto;
  const char* valor;
};

TEST(AplicarRegla, CaseTable) {
  const Caso casos[] = {
      {Regla::Texto, "AV. SIEMPRE VIVA", "AV. SIEMPRE VIVA"},
      {Regla::SinCeros, "000120", "120"},
      {Regla::SinCeros, "0000", "0"},
      {Regla::SinCeros, "", ""},
      {Regla::Entero, "005", "5"},
      {Regla::Entero, "000", "0"},
      {Regla::Entero, "", ""},            // blank floors: empty, no placeholder left
      {Regla::Entero, "A1", "A1"},        // not a number: the field's own text
      {Regla::Entero, "99999", "99999"},  // beyond 16 bits
      {Regla::Fecha, "20230115", "15/01/2023"},
      {Regla::Fecha, "", "//"},
      {Regla::Fecha, "2023", "//2023"},
      {Regla::Importe, "00000012345", "123.45"},
      {Regla::Importe, "00000000045", ".45"},
      {Regla::Importe, "00000000005", ".05"},
      {Regla::Importe, "00000000000", ".00"},
      {Regla::Importe, "00000000100", "1.00"},
      {Regla::Importe, "", ""},
      {Regla::Importe, "12A45", "12A45"},
      {Regla::Importe, "99999999999", "999999999.99"},  // over 21 million
      {Regla::Importe, "-0000012345", "-123.45"},
      {Regla::Importe, "-5", "-.05"},
      {Regla::NumeroCABA, "00012345", "12345"},
      {Regla::NumeroCABA, "12.9", "12"},
      {Regla::NumeroCABA, "00000000", "0"},
      {Regla::NumeroCABA, "", ""},
      {Regla::NumeroCABA, "S/N", "S/N"},
      {Regla::NumeroCABA, "1e300", "1e300"},
      {Regla::NumeroCABA, "1e400", "1e400"},  // beyond a double: the field's own text, not 0
      {Regla::NumeroCABA, "-1e400", "-1e400"},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(aplicarRegla(c.regla, c.texto), c.valor) << int(c.regla) << " '" << c.texto << "'";
}

TEST(EscaparHtml, EscapesTheFiveSpecialCharacters) {
  EXPECT_EQ(escaparHtml("A & B <C> \"D\" 'E'"), "A &amp; B &lt;C&gt; &quot;D&quot; &#39;E&#39;");
  EXPECT_EQ(escaparHtml("PE\xD1"
                        "A"),
            "PE\xD1"
            "A");
  EXPECT_EQ(escaparHtml(""), "");
}

// An entry of count texts, empty but for the ones given by index.
Entry entrada(int count, std::initializer_list<std::pair<int, QByteArray>> textos) {
  QList<QByteArray> t(count);
  for (const auto& [i, texto] : textos) t[i] = texto;
  return Entry(t);
}

Entry trabajador(QByteArray nac, QByteArray nacEscrita) {
  return entrada(kTextosTrabajador, {{17, nac}, {18, nacEscrita}});
}

TEST(PonerValores, NationalityOtherShowsTheWrittenOne) {
  const Plantilla p("[<@@NACIONALIDAD2@@>]", {Grupo::Trabajador});
  Valores v = valoresVacios();
  ponerValores(v, Grupo::Trabajador, trabajador("OTRA", "ESLOVENA"));
  EXPECT_EQ(p.rellenar(v), "[ESLOVENA]");
  ponerValores(v, Grupo::Trabajador, trabajador("CHILE", "CHILENA"));
  EXPECT_EQ(p.rellenar(v), "[CHILE]");
  ponerValores(v, Grupo::Trabajador, trabajador("", "X"));
  EXPECT_EQ(p.rellenar(v), "[]");
}

TEST(PonerValores, ValuesAreEscapedAndShortEntriesGiveEmptyTexts) {
  const Plantilla p("<@@DENOMINACIONA@@>|<@@CABAA@@>", {Grupo::Administracion});
  Valores v = valoresVacios();
  ponerValores(v, Grupo::Administracion, Entry{"30500010912", "PEREZ & <HIJOS>"});
  EXPECT_EQ(p.rellenar(v), "PEREZ &amp; &lt;HIJOS&gt;|");
}

TEST(PonerPresentacion, TakesNumberDateAndTimeFromTheHeader) {
  QByteArray cabecera(131, ' ');
  cabecera.replace(109, 22, "0000012345202301150930");
  const Plantilla p("<@@IDPRESENTACION@@> <@@FECHAPRESENTACION@@> <@@HORAPRESENTACION@@>",
                    {Grupo::Presentacion});
  Valores v = valoresVacios();
  ponerPresentacion(v, cabecera);
  EXPECT_EQ(p.rellenar(v), "12345 15/01/2023 09:30");
  cabecera.replace(109, 10, "0000000000");
  ponerPresentacion(v, cabecera);
  EXPECT_EQ(p.rellenar(v), "0 15/01/2023 09:30");
  ponerPresentacion(v, "");
  EXPECT_EQ(p.rellenar(v), " // :");
}

TEST(Plantilla, ReplacesEveryOccurrenceOfItsGroupsOnly) {
  const Plantilla p("<@@CUIT1@@>-<@@CUIT1@@>-<@@CUITA@@>-<@@cuit1@@>-<@@NADA@@>-<@@BLOQUEBENEFICIARIOS@@>",
                    {Grupo::Consorcio});
  Valores v = valoresVacios();
  ponerValores(v, Grupo::Consorcio, entrada(kTextosConsorcio, {{0, "30500010912"}}));
  EXPECT_EQ(p.rellenar(v),
            "30500010912-30500010912-<@@CUITA@@>-<@@cuit1@@>-<@@NADA@@>-<@@BLOQUEBENEFICIARIOS@@>");
}

TEST(Plantilla, OverlappingAndBrokenMarkersStayAsWritten) {
  const Plantilla p("<@@<@@CUIT1@@>@@> <@@CUIT1@@@> <@@ <@@", {Grupo::Consorcio});
  Valores v = valoresVacios();
  ponerValores(v, Grupo::Consorcio, entrada(kTextosConsorcio, {{0, "X"}}));
  EXPECT_EQ(p.rellenar(v), "<@@X@@> <@@CUIT1@@@> <@@ <@@");
}

TEST(Plantilla, InsertedValuesAreNeverScannedAgain) {
  const Plantilla p("<@@BLOQUEADMINISTRACIONES@@>|<@@BLOQUETRABAJADORES@@>",
                    {Grupo::BloqueAdministraciones, Grupo::BloqueTrabajadores});
  Valores v = valoresVacios();
  ponerBloque(v, Grupo::BloqueAdministraciones, "a<@@BLOQUETRABAJADORES@@>");
  ponerBloque(v, Grupo::BloqueTrabajadores, "w");
  EXPECT_EQ(p.rellenar(v), "a<@@BLOQUETRABAJADORES@@>|w");
}

TEST(Plantilla, EmptyDesignGivesEmptyText) {
  EXPECT_EQ(Plantilla("", {Grupo::Consorcio}).rellenar(valoresVacios()), "");
}

TEST(Marcadores, EveryPlaceholderIsUniqueAndWellFormed) {
  for (qsizetype i = 0; i < qsizetype(kMarcadores.size()); ++i) {
    const QByteArrayView n(kMarcadores[i].nombre);
    EXPECT_TRUE(n.startsWith("<@@") && n.endsWith("@@>")) << kMarcadores[i].nombre;
    for (qsizetype j = i + 1; j < qsizetype(kMarcadores.size()); ++j)
      EXPECT_NE(n, QByteArrayView(kMarcadores[j].nombre));
  }
  EXPECT_EQ(kMarcadores.size(), 3u + 13u + 11u + 19u + 6u + 3u);
}

}  // namespace
}  // namespace tarquelas::printout
