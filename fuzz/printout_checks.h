// The registry printout run both printout harnesses make, and what they hold Padron.html to.
#pragma once

#include "fuzz/fuzz_support.h"
#include "registry_printout/assembly.h"
#include "registry_printout/printout.h"

namespace tarquelas::fuzz {

// True when design holds no '@' besides the placeholders of groups: every '@' in such a
// design belongs to a placeholder its own step fills.
inline bool isClean(QByteArrayView design, std::initializer_list<printout::Grupo> groups) {
  QByteArray rest = design.toByteArray();
  for (const printout::Marcador& m : printout::kMarcadores) {
    // A mark in its place, so taking one out cannot join its neighbours into another.
    if (std::find(groups.begin(), groups.end(), m.grupo) != groups.end()) rest.replace(m.nombre, "\x01");
  }
  return !rest.contains('@');
}

// Every list keeps at least its empty entry; entries are whole and trimmed. Gives the consortia.
inline qsizetype checkLists(const Registry& r) {
  const std::pair<const QList<Entry>*, int> lists[] = {
      {&r.aAdministraciones, kTextosAdministracion},
      {&r.aConsorcios, kTextosConsorcio},
      {&r.aTrabajadores, kTextosTrabajador},
      {&r.aBeneficiarios, kTextosBeneficiario},
      {&r.aRelaciones, kTextosRelacion},
  };
  for (const auto& [list, texts] : lists) {
    FUZZ_CHECK(!list->isEmpty());
    for (const Entry& e : *list) {
      FUZZ_CHECK(esEntradaVacia(e) || e.size() == texts);
      for (const QByteArray& t : e) FUZZ_CHECK(t.isEmpty() || (t.front() != ' ' && t.back() != ' '));
    }
  }
  return std::count_if(r.aConsorcios.begin(), r.aConsorcios.end(),
                       [](const Entry& e) { return !esEntradaVacia(e); });
}

// Loads the auxiliary file and writes Padron.html from the two templates (an empty one is
// missing): one message per missing template, a page break per consortium at least, no '@'
// from clean designs and data without it, and none of `escaped` raw where no design holds it.
inline void checkPrintout(QByteArrayView aux, QByteArrayView consorcio, QByteArrayView trabajador,
                          std::initializer_list<QByteArrayView> escaped = {}) {
  static const WorkPaths paths = WorkPaths::inDirectory(scratchPath());
  // The same auxiliary file as the input before (template_cut's fixed registry) is loaded once.
  static std::optional<std::pair<QByteArray, LoadResult>> last;
  if (!last || last->first != aux) {
    writeFile(paths.auxiliar, aux);
    last.emplace(aux.toByteArray(), cargarPadron(paths.auxiliar));
    FUZZ_CHECK(last->second.status.isOk());
  }
  const LoadResult& loaded = last->second;
  writeFile(paths.disenoConsorcio, consorcio, true);
  writeFile(paths.disenoTrabajador, trabajador, true);
  QFile::remove(paths.padron);
  const qsizetype consortia = checkLists(loaded.registry);
  int messages = 0;
  const Status s = GenerarHTMLFinal(loaded.registry, paths, referenceLines(aux).value(0), true,
                                    [&](const QString&) { ++messages; });
  FUZZ_CHECK(s.isOk() && messages == int(consorcio.isEmpty()) + int(trabajador.isEmpty()));
  const std::optional<QByteArray> padron = readFile(paths.padron);
  FUZZ_CHECK(padron && padron->startsWith("\r\n") && padron->count(kSaltoDePagina) >= consortia);

  using G = printout::Grupo;
  const DisenoConsorcio c = cortarDisenoConsorcio(leerPlantilla(paths.disenoConsorcio).texto);
  const DisenoTrabajador w = cortarDisenoTrabajador(leerPlantilla(paths.disenoTrabajador).texto);
  const bool clean =
      isClean(c.sDisenoConsorcio,
              {G::Presentacion, G::Consorcio, G::BloqueAdministraciones, G::BloqueTrabajadores}) &&
      isClean(c.sBloqueAdministraciones, {G::Administracion}) &&
      isClean(c.sBloqueTrabajadores, {G::Trabajador}) &&
      isClean(w.sDisenoEmpleado, {G::Presentacion, G::Consorcio, G::Trabajador, G::BloqueBeneficiarios}) &&
      isClean(w.sBloqueBeneficiarios, {G::Beneficiario});
  if (clean && !aux.contains('@')) FUZZ_CHECK(!padron->contains('@'));
  const QByteArray designs = c.sDisenoConsorcio + c.sBloqueAdministraciones + c.sBloqueTrabajadores +
                             w.sDisenoEmpleado + w.sBloqueBeneficiarios;
  for (QByteArrayView raw : escaped) {
    if (!designs.contains(raw)) FUZZ_CHECK(!padron->contains(raw));
  }
}

}  // namespace tarquelas::fuzz
