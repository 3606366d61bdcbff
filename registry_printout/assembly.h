// Assembly of the registry printout's pages from the registry lists and
// the cut templates. The lists are indexed once by C.U.I.T. and C.U.I.L.
// (entry indices in list order), so each page costs only its own entries
// and the printout grows linearly with the file. Lives for one printout;
// holds a reference to the registry.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <functional>
#include <utility>

#include "registry_printout/placeholders.h"
#include "registry_printout/registry.h"
#include "registry_printout/templates.h"

namespace tarquelas {

// Appended to every page, consortium and worker pages alike.
inline constexpr QByteArrayView kSaltoDePagina =
    "<table width='100%' border='0' style='page-break-before:right;'><tr><td></td></tr></table>";

class Armado {
 public:
  Armado(const Registry& registry, const DisenoConsorcio& consorcio, const DisenoTrabajador& trabajador,
         QByteArrayView sLineaCabecera);

  // A consortium's page: the filled design and the page break.
  QByteArray paginaConsorcio(const Entry& consorcio) const;
  // The administration blocks of a consortium, in relation order and, for
  // each relation, in administration list order; each followed by CR LF.
  QByteArray armarBloqueAdmin(QByteArrayView cuitConsorcio) const;
  // The worker blocks of a consortium, in list order, each followed by CR LF.
  QByteArray armarBloqueTrabajadores(QByteArrayView cuitConsorcio) const;
  // The worker pages of a consortium (each design, CR LF, page break), in
  // list order, handed to salida one page at a time; nothing for a
  // consortium without workers.
  using Salida = std::function<void(QByteArrayView)>;
  void generarTrabajadores(QByteArrayView cuitConsorcio, const Salida& salida) const;
  QByteArray generarTrabajadores(QByteArrayView cuitConsorcio) const;
  // The last consortium entry with that C.U.I.T., or nullptr.
  const Entry* getConsorcio(QByteArrayView cuitConsorcio) const;
  // A worker's beneficiaries: those carrying the C.U.I.L. that came after
  // that consortium's record (and before the next one), in file order.
  QByteArray armarBloqueBeneficiarios(QByteArrayView cuitConsorcio, QByteArrayView cuilTrabajador) const;

 private:
  using Indice = QHash<QByteArray, QList<qsizetype>>;
  using Par = std::pair<QByteArray, QByteArray>;

  QByteArray bloques(const printout::Plantilla& plantilla, printout::Grupo grupo, const QList<Entry>& lista,
                     const QList<qsizetype>& indices) const;

  const Registry& registry_;
  printout::Plantilla paginaConsorcio_, bloqueAdmin_, bloqueTrabajador_, paginaTrabajador_, bloqueBenef_;
  printout::Valores presentacion_;
  Indice relaciones_;                           // consortium C.U.I.T. -> relations
  Indice administraciones_;                     // C.U.I.T. -> administrations
  Indice trabajadores_;                         // consortium C.U.I.T. -> workers
  QHash<QByteArray, qsizetype> consorcios_;     // C.U.I.T. -> last consortium
  QHash<Par, QList<qsizetype>> beneficiarios_;  // (consortium C.U.I.T., C.U.I.L.) -> beneficiaries
};

}  // namespace tarquelas
