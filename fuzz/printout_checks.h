// What the printout harnesses hold filled pages to: escaped data, and no '@' from a clean
// design (every '@' in it belongs to a placeholder its own step fills).
#pragma once

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "registry_printout/placeholders.h"
#include "registry_printout/registry.h"
#include "registry_printout/templates.h"

namespace tarquelas::fuzz {

// Texts with HTML's special characters, odd numbers and repeated keys; none holds '@'.
inline const Registry& fixedRegistry() {
  static const Registry r = [] {
    const QByteArray c1 = "30345678903", c2 = "30765432107", a1 = "20345678906", w1 = "27345678904";
    Registry g;
    g.aConsorcios = {{c1, "0004567", "Av. Siempre Viva <zq>", "000734", "C1405", "007", "048", "19950315",
                      "A", "00000034567", "H", "P\xE9rez & Hijos \"x\" 'y'", "S"},
                     {c2, "", "", "", "", "", "abc", "2023", "", "5", "R", "", "N"},
                     {}};
    g.aAdministraciones = {{a1, "Admin & Co <zq>", "Calle", "000012", "003", "0B", "1405", "4555-1234",
                            "correo en ejemplo.com", "Resp", "00001234.75"},
                           {a1, "Otra", "", "", "", "", "", "", "", "", "letras"}};
    g.aRelaciones = {{c1, a1}, {c1, a1}, {c2, "20000000000"}};
    g.aTrabajadores = {
        {c1,         w1,       "G\xF3mez <zq>",  "Ana & Eva", "D.N.I.", "0012345678", "F",    "Soltera",
         "19800101", "000123", "Calle",          "000010",    "",       "",           "1405", "",
         "",         "OTRA",   "Uruguaya \"o\"", "Portera"},
        {c2, w1, "Otro", "", "", "", "", "", "1990", "", "", "", "", "", "", "", "", "", "", ""}};
    g.aBeneficiarios = {{w1, c1, "Hijo <zq>", "Uno", "L.E.", "0012345678", "hijo & heredero", "050"},
                        {w1, "", "Sin consorcio", "", "", "", "", ""}};
    return g;
  }();
  return r;
}

// Data that must arrive escaped: where no design holds it raw, no page may.
inline void checkEscaped(const QByteArray& pages, const QByteArray& designs) {
  for (const char* raw : {"<zq>", "& Hijos", "\"x\"", "'y'", "& Eva", "\"o\""}) {
    if (!designs.contains(raw)) FUZZ_CHECK(!pages.contains(raw));
  }
}

// True when design holds no '@' besides the placeholders of groups.
inline bool isClean(QByteArrayView design, std::initializer_list<printout::Grupo> groups) {
  QByteArray rest = design.toByteArray();
  for (const printout::Marcador& m : printout::kMarcadores) {
    // A mark in its place, so taking one out cannot join its neighbours into another.
    if (std::find(groups.begin(), groups.end(), m.grupo) != groups.end()) rest.replace(m.nombre, "\x01");
  }
  return !rest.contains('@');
}

inline bool pageDesignsAreClean(const DisenoConsorcio& d) {
  using G = printout::Grupo;
  return isClean(d.sDisenoConsorcio,
                 {G::Presentacion, G::Consorcio, G::BloqueAdministraciones, G::BloqueTrabajadores}) &&
         isClean(d.sBloqueAdministraciones, {G::Administracion}) &&
         isClean(d.sBloqueTrabajadores, {G::Trabajador});
}

inline bool workerDesignsAreClean(const DisenoTrabajador& d) {
  using G = printout::Grupo;
  return isClean(d.sDisenoEmpleado, {G::Presentacion, G::Consorcio, G::Trabajador, G::BloqueBeneficiarios}) &&
         isClean(d.sBloqueBeneficiarios, {G::Beneficiario});
}

}  // namespace tarquelas::fuzz
