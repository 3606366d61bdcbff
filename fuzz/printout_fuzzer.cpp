// The registry printout end to end: an auxiliary file, the consortium and the worker template
// (an empty part is a missing one) loaded by cargarPadron and written by GenerarHTMLFinal.
#include "fuzz/printout_checks.h"
#include "registry_printout/assembly.h"
#include "registry_printout/printout.h"

namespace tarquelas::fuzz {
namespace {

// Every list keeps at least its empty entry; entries are whole and trimmed.
qsizetype checkLists(const Registry& r) {
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

void checkPrintout(QByteArrayView aux, QByteArrayView consorcio, QByteArrayView trabajador) {
  static const WorkPaths paths = WorkPaths::inDirectory(scratchPath());
  writeFile(paths.auxiliar, aux);
  writeFile(paths.disenoConsorcio, consorcio, true);
  writeFile(paths.disenoTrabajador, trabajador, true);
  QFile::remove(paths.padron);

  const LoadResult loaded = cargarPadron(paths.auxiliar);
  FUZZ_CHECK(loaded.status.isOk());
  const qsizetype consortia = checkLists(loaded.registry);
  int messages = 0;  // one per missing template
  const Status s = GenerarHTMLFinal(loaded.registry, paths, referenceLines(aux).value(0), true,
                                    [&](const QString&) { ++messages; });
  FUZZ_CHECK(s.isOk());
  FUZZ_CHECK(messages == int(consorcio.isEmpty()) + int(trabajador.isEmpty()));

  const std::optional<QByteArray> padron = readFile(paths.padron);
  FUZZ_CHECK(padron && padron->startsWith("\r\n"));
  FUZZ_CHECK(padron->count(kSaltoDePagina) >= consortia);
  // Clean designs and data without '@' leave no '@' in the printout.
  const DisenoConsorcio c =
      cortarDisenoConsorcio(leerPlantilla(paths.disenoConsorcio).value_or(QByteArray()));
  const DisenoTrabajador w =
      cortarDisenoTrabajador(leerPlantilla(paths.disenoTrabajador).value_or(QByteArray()));
  if (!aux.contains('@') && pageDesignsAreClean(c) && workerDesignsAreClean(w))
    FUZZ_CHECK(!padron->contains('@'));
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QList<QByteArrayView> parts = tarquelas::fuzz::splitInput(tarquelas::fuzz::bytesOf(data, size), 3);
  tarquelas::fuzz::checkPrintout(parts[0], parts[1], parts[2]);
  return 0;
}
