#include "registry_printout/assembly.h"

#include "support/fields.h"

namespace tarquelas {
namespace {

using printout::Grupo;
using printout::Plantilla;

QByteArray clave(const Entry& entry, int indice) { return trimBlanks(entry.value(indice)).toByteArray(); }

// Entry indices by the trimmed text at indice, in list order. The empty
// entry takes no part; an empty key is left out when sinVacias.
QHash<QByteArray, QList<qsizetype>> indexar(const QList<Entry>& lista, int indice, bool sinVacias) {
  QHash<QByteArray, QList<qsizetype>> indice_;
  for (qsizetype i = 0; i < lista.size(); ++i) {
    if (esEntradaVacia(lista[i])) continue;
    QByteArray k = clave(lista[i], indice);
    if (sinVacias && k.isEmpty()) continue;
    indice_[std::move(k)].append(i);
  }
  return indice_;
}

const QList<qsizetype>& buscar(const QHash<QByteArray, QList<qsizetype>>& indice, QByteArrayView k) {
  static const QList<qsizetype> ninguno;
  const auto it = indice.constFind(trimBlanks(k).toByteArray());
  return it == indice.cend() ? ninguno : *it;
}

}  // namespace

Armado::Armado(const Registry& registry, const DisenoConsorcio& consorcio, const DisenoTrabajador& trabajador,
               QByteArrayView sLineaCabecera)
    : registry_(registry),
      paginaConsorcio_(
          consorcio.sDisenoConsorcio,
          {Grupo::Presentacion, Grupo::Consorcio, Grupo::BloqueAdministraciones, Grupo::BloqueTrabajadores}),
      bloqueAdmin_(consorcio.sBloqueAdministraciones, {Grupo::Administracion}),
      bloqueTrabajador_(consorcio.sBloqueTrabajadores, {Grupo::Trabajador}),
      paginaTrabajador_(trabajador.sDisenoEmpleado, {Grupo::Presentacion, Grupo::Consorcio, Grupo::Trabajador,
                                                     Grupo::BloqueBeneficiarios}),
      bloqueBenef_(trabajador.sBloqueBeneficiarios, {Grupo::Beneficiario}),
      presentacion_(printout::valoresVacios()),
      relaciones_(indexar(registry.aRelaciones, 0, false)),
      administraciones_(indexar(registry.aAdministraciones, 0, false)),
      trabajadores_(indexar(registry.aTrabajadores, 0, true)) {
  printout::ponerPresentacion(presentacion_, sLineaCabecera);
  for (qsizetype i = 0; i < registry.aConsorcios.size(); ++i)
    if (!esEntradaVacia(registry.aConsorcios[i])) consorcios_[clave(registry.aConsorcios[i], 0)] = i;
  for (qsizetype i = 0; i < registry.aBeneficiarios.size(); ++i) {
    const Entry& b = registry.aBeneficiarios[i];
    if (esEntradaVacia(b) || clave(b, 1).isEmpty()) continue;  // before any consortium
    beneficiarios_[Par(clave(b, 1), clave(b, 0))].append(i);
  }
}

QByteArray Armado::bloques(const Plantilla& plantilla, Grupo grupo, const QList<Entry>& lista,
                           const QList<qsizetype>& indices) const {
  QByteArray out;
  printout::Valores valores = printout::valoresVacios();
  for (qsizetype i : indices) {
    printout::ponerValores(valores, grupo, lista[i]);
    plantilla.rellenarEn(out, valores);
    out += "\r\n";
  }
  return out;
}

QByteArray Armado::armarBloqueAdmin(QByteArrayView cuitConsorcio) const {
  QList<qsizetype> indices;
  for (qsizetype r : buscar(relaciones_, cuitConsorcio))
    indices += buscar(administraciones_, clave(registry_.aRelaciones[r], 1));
  return bloques(bloqueAdmin_, Grupo::Administracion, registry_.aAdministraciones, indices);
}

QByteArray Armado::armarBloqueTrabajadores(QByteArrayView cuitConsorcio) const {
  return bloques(bloqueTrabajador_, Grupo::Trabajador, registry_.aTrabajadores,
                 buscar(trabajadores_, cuitConsorcio));
}

QByteArray Armado::armarBloqueBeneficiarios(QByteArrayView cuitConsorcio,
                                            QByteArrayView cuilTrabajador) const {
  static const QList<qsizetype> ninguno;
  const auto it = beneficiarios_.constFind(
      Par(trimBlanks(cuitConsorcio).toByteArray(), trimBlanks(cuilTrabajador).toByteArray()));
  return bloques(bloqueBenef_, Grupo::Beneficiario, registry_.aBeneficiarios,
                 it == beneficiarios_.cend() ? ninguno : *it);
}

const Entry* Armado::getConsorcio(QByteArrayView cuitConsorcio) const {
  const auto it = consorcios_.constFind(trimBlanks(cuitConsorcio).toByteArray());
  return it == consorcios_.cend() ? nullptr : &registry_.aConsorcios[*it];
}

QByteArray Armado::paginaConsorcio(const Entry& consorcio) const {
  printout::Valores valores = presentacion_;
  printout::ponerValores(valores, Grupo::Consorcio, consorcio);
  const QByteArray cuit = clave(consorcio, 0);
  printout::ponerBloque(valores, Grupo::BloqueAdministraciones, armarBloqueAdmin(cuit));
  printout::ponerBloque(valores, Grupo::BloqueTrabajadores, armarBloqueTrabajadores(cuit));
  QByteArray out = paginaConsorcio_.rellenar(valores);
  out += kSaltoDePagina;
  return out;
}

void Armado::generarTrabajadores(QByteArrayView cuitConsorcio, const Salida& salida) const {
  printout::Valores valores = presentacion_;
  // Called with the C.U.I.T. of a page just written, so the consortium is
  // always found; a stray call fills its placeholders with empty texts.
  const Entry* consorcio = getConsorcio(cuitConsorcio);
  printout::ponerValores(valores, Grupo::Consorcio, consorcio ? *consorcio : Entry{});
  QByteArray pagina;
  for (qsizetype w : buscar(trabajadores_, cuitConsorcio)) {
    const Entry& trabajador = registry_.aTrabajadores[w];
    printout::ponerValores(valores, Grupo::Trabajador, trabajador);
    printout::ponerBloque(valores, Grupo::BloqueBeneficiarios,
                          armarBloqueBeneficiarios(clave(trabajador, 0), clave(trabajador, 1)));
    pagina.resize(0);  // keeps the capacity for the next page
    paginaTrabajador_.rellenarEn(pagina, valores);
    pagina += "\r\n";
    pagina += kSaltoDePagina;
    salida(pagina);
  }
}

QByteArray Armado::generarTrabajadores(QByteArrayView cuitConsorcio) const {
  QByteArray out;
  generarTrabajadores(cuitConsorcio, [&out](QByteArrayView pagina) { out += pagina; });
  return out;
}

}  // namespace tarquelas
