// Placeholders: the "<@@NAME@@>" literals of the templates that the
// printout fills. A design is compiled once into literal pieces and
// placeholder slots; filling it joins the pieces with the values, so a
// value is never scanned again and a placeholder that its own step does not
// know stays as written.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <initializer_list>
#include <span>

#include "registry_printout/registry.h"

namespace tarquelas::printout {

// How a list text becomes a page text. A rule that cannot read its text
// (a number rule given letters or blanks) gives the text itself.
enum class Regla {
  Texto,         // unchanged
  SinCeros,      // sacaCeros
  Entero,        // whole number without leading zeros: 005 -> 5
  Fecha,         // yyyymmdd -> dd/mm/yyyy; missing characters left out
  Importe,       // two implied decimals: 12345 -> 123.45, 5 -> .05
  NumeroCABA,    // a number rounded down, then sacaCeros
  Nacionalidad,  // index 18 (as written) when index 17 is "OTRA", else 17
};

// Which step fills a placeholder. Each block placeholder is a group of its own.
enum class Grupo {
  Presentacion,
  Consorcio,
  Administracion,
  Trabajador,
  Beneficiario,
  BloqueAdministraciones,
  BloqueTrabajadores,
  BloqueBeneficiarios,
};

struct Marcador {
  const char* nombre;
  Grupo grupo;
  int indice;  // in the entry of the group's list
  Regla regla;
};

// Every placeholder the printout knows, grouped, each group in the order
// of its table; a placeholder's slot is its index here.
extern const std::span<const Marcador> kMarcadores;

using Valores = QList<QByteArray>;  // one HTML-escaped value per slot
Valores valoresVacios();

// The value of a rule applied to text, before escaping.
QByteArray aplicarRegla(Regla regla, QByteArrayView text);
// & < > " ' as entities; every other byte unchanged.
QByteArray escaparHtml(QByteArrayView text);

// Sets the slots of group (Consorcio, Administracion, Trabajador or
// Beneficiario) from entry; a missing text counts as empty.
void ponerValores(Valores& valores, Grupo grupo, const Entry& entry);
// Sets the three presentation slots from the header line: number 110-119
// without leading zeros, date 126-127/124-125/120-123, time 128-129:130-131.
void ponerPresentacion(Valores& valores, QByteArrayView sLineaCabecera);
// Sets the placeholder of a block group to an assembled block, which is
// HTML already and is inserted as it is.
void ponerBloque(Valores& valores, Grupo bloque, QByteArray texto);

// A design compiled for the placeholders of some groups.
class Plantilla {
 public:
  Plantilla() = default;
  Plantilla(QByteArrayView diseno, std::initializer_list<Grupo> grupos);

  // Appends the design to out with each known placeholder replaced by its
  // slot's value.
  void rellenarEn(QByteArray& out, const Valores& valores) const;
  QByteArray rellenar(const Valores& valores) const;

 private:
  struct Pieza {
    QByteArray literal;
    int slot = -1;  // filled after the literal; -1 for none
  };
  QList<Pieza> piezas_;
  qsizetype largoLiterales_ = 0;
};

}  // namespace tarquelas::printout
