// Value rules and the filling of designs.
#include "registry_printout/placeholders.h"

#include <gtest/gtest.h>

namespace tarquelas::printout {
namespace {

TEST(AplicarRegla, GivesThePageTextOrTheFieldItself) {
  struct Caso {
    Regla regla;
    const char *texto, *valor;
  };
  using enum Regla;
  // The printout tests hold the common cases; these are the edges: 16 bits,
  // over 21 million, negative amounts, a double overflowed.
  const Caso casos[] = {
      {Entero, "99999", "99999"},
      {Fecha, "", "//"},
      {Importe, "00000000100", "1.00"},
      {Importe, "12A45", "12A45"},
      {Importe, "99999999999", "999999999.99"},
      {Importe, "-0000012345", "-123.45"},
      {Importe, "-5", "-.05"},
      {NumeroCABA, "00000000", "0"},
      {NumeroCABA, "1e300", "1e300"},
      {NumeroCABA, "-1e400", "-1e400"},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(aplicarRegla(c.regla, c.texto), c.valor) << int(c.regla) << " '" << c.texto << "'";
}

TEST(Plantilla, FillsItsOwnGroupsOnlyAndLeavesBrokenMarkersAsWritten) {
  const Plantilla p(
      "<@@CUIT1@@>-<@@CUIT1@@>-<@@CUITA@@>-<@@cuit1@@>-<@@NADA@@>-<@@<@@CUIT1@@>@@> <@@CUIT1@@@> <@@",
      {Grupo::Consorcio});
  Valores v = valoresVacios();
  ponerValores(v, Grupo::Consorcio, Entry{"X"});  // a short entry: missing texts are empty
  EXPECT_EQ(p.rellenar(v), "X-X-<@@CUITA@@>-<@@cuit1@@>-<@@NADA@@>-<@@X@@> <@@CUIT1@@@> <@@");
  EXPECT_EQ(Plantilla("", {Grupo::Consorcio}).rellenar(v), "");
}

}  // namespace
}  // namespace tarquelas::printout
