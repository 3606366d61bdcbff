// The registry printout end to end: a fuzzed auxiliary file loaded by
// cargarPadron, and Padron.html written by GenerarHTMLFinal from two fuzzed
// templates. The input is the auxiliary file, the consortium template and
// the worker template, joined by the split marker; an empty template part
// stands for a missing template.
#include "fuzz/printout_checks.h"
#include "registry_printout/assembly.h"
#include "registry_printout/printout.h"

namespace tarquelas::fuzz {
namespace {

void checkLists(const Registry& r) {
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
}

void placeTemplate(const QString& path, QByteArrayView bytes) {
  if (bytes.isEmpty()) {
    removeFile(path);
  } else {
    writeFile(path, bytes);
  }
}

qsizetype nonEmpty(const QList<Entry>& list) {
  qsizetype n = 0;
  for (const Entry& e : list) n += esEntradaVacia(e) ? 0 : 1;
  return n;
}

void checkPrintout(QByteArrayView auxBytes, QByteArrayView consorcio, QByteArrayView trabajador) {
  static const WorkPaths paths = WorkPaths::inDirectory(scratch().path());
  writeFile(paths.auxiliar, auxBytes);
  placeTemplate(paths.disenoConsorcio, consorcio);
  placeTemplate(paths.disenoTrabajador, trabajador);
  removeFile(paths.padron);

  const LoadResult loaded = cargarPadron(paths.auxiliar);
  FUZZ_CHECK(loaded.status.isOk());
  checkLists(loaded.registry);

  const QList<QByteArray> lines = referenceLines(auxBytes);
  const QByteArray header = lines.isEmpty() ? QByteArray() : lines.front();
  int messages = 0;
  const Status s =
      GenerarHTMLFinal(loaded.registry, paths, header, true, [&](const QString&) { ++messages; });
  FUZZ_CHECK(s.isOk());
  FUZZ_CHECK(messages == int(consorcio.isEmpty()) + int(trabajador.isEmpty()));

  const std::optional<QByteArray> padron = readFile(paths.padron);
  FUZZ_CHECK(padron && padron->startsWith("\r\n"));
  FUZZ_CHECK(padron->count(kSaltoDePagina) >= nonEmpty(loaded.registry.aConsorcios));

  // Clean designs and data without '@' leave no '@' in the printout.
  const DisenoConsorcio c =
      cortarDisenoConsorcio(leerPlantilla(paths.disenoConsorcio).value_or(QByteArray()));
  const DisenoTrabajador w =
      cortarDisenoTrabajador(leerPlantilla(paths.disenoTrabajador).value_or(QByteArray()));
  if (!auxBytes.contains('@') && pageDesignsAreClean(c) && workerDesignsAreClean(w)) {
    FUZZ_CHECK(!padron->contains('@'));
  }
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QList<QByteArrayView> parts = splitInput(bytesOf(data, size), 3);
  checkPrintout(parts[0], parts[1], parts[2]);
  return 0;
}
