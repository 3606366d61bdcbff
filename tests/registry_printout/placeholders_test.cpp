// The filling of designs.
#include "registry_printout/placeholders.h"

#include <gtest/gtest.h>

namespace tarquelas::printout {
namespace {

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
