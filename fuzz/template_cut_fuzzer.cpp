// Template cutting and filling: pieces joined by the block markers cut back into those pieces;
// the input as both templates prints a fixed registry whose texts need HTML escaping.
#include "fuzz/printout_checks.h"

namespace tarquelas::fuzz {
namespace {

// Up to five pieces joined by the split marker: head, administrations block, middle, workers
// block, tail; "<@@" in them is broken up so that they hold no marker.
void checkRoundTrip(QByteArrayView input) {
  QList<QByteArray> p;
  for (QByteArrayView v : splitInput(input, 5)) p << v.toByteArray().replace("<@@", "<@_@");
  const auto cat = [](std::initializer_list<QByteArrayView> l) {
    QByteArray s;
    for (QByteArrayView v : l) s += v;
    return s;
  };
  const char *ia = "<@@INICIOBLOQUEADMINISTRACIONES@@>", *fa = "<@@FINBLOQUEADMINISTRACIONES@@>";
  const char *it = "<@@iniciobloquetrabajadores@@>", *ft = "<@@FinBloqueTrabajadores@@>";
  const char *ba = "<@@BLOQUEADMINISTRACIONES@@>", *bt = "<@@BLOQUETRABAJADORES@@>";
  const DisenoConsorcio adminFirst =
      cortarDisenoConsorcio(cat({p[0], ia, p[1], fa, p[2], it, p[3], ft, p[4]}));
  FUZZ_CHECK(adminFirst.sDisenoConsorcio == cat({p[0], ba, p[2], bt, p[4]}));
  const DisenoConsorcio workersFirst =
      cortarDisenoConsorcio(cat({p[0], it, p[3], ft, p[2], ia, p[1], fa, p[4]}));
  FUZZ_CHECK(workersFirst.sDisenoConsorcio == cat({p[0], bt, p[2], ba, p[4]}));
  for (const DisenoConsorcio& d : {adminFirst, workersFirst}) {
    FUZZ_CHECK(d.sBloqueAdministraciones == p[1] && d.sBloqueTrabajadores == p[3]);
  }
  const DisenoTrabajador w = cortarDisenoTrabajador(
      cat({p[0], "<@@INICIOBLOQUEBENEFICIARIOS@@>", p[1], "<@@FINBLOQUEBENEFICIARIOS@@>", p[2]}));
  FUZZ_CHECK(w.sDisenoEmpleado == cat({p[0], "<@@BLOQUEBENEFICIARIOS@@>", p[2]}) &&
             w.sBloqueBeneficiarios == p[1]);
}

// Blocks are pieces of the template, or nothing; a page design keeps its blocks' places.
void checkCut(QByteArrayView text) {
  const DisenoConsorcio c = cortarDisenoConsorcio(text);
  const DisenoTrabajador w = cortarDisenoTrabajador(text);
  for (const QByteArray* block :
       {&c.sBloqueAdministraciones, &c.sBloqueTrabajadores, &w.sBloqueBeneficiarios})
    FUZZ_CHECK(text.contains(*block));
  if (!c.sDisenoConsorcio.isEmpty()) FUZZ_CHECK(c.sDisenoConsorcio.contains("<@@BLOQUETRABAJADORES@@>"));
  if (!w.sDisenoEmpleado.isEmpty()) FUZZ_CHECK(w.sDisenoEmpleado.contains("<@@BLOQUEBENEFICIARIOS@@>"));
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  // Texts with HTML's special characters, odd numbers and repeated keys; none holds '@'.
  static const QByteArray registry =
      readFile(QStringLiteral(TARQUELAS_SOURCE_DIR "/fuzz/data/escaping-registry.txt")).value();
  const QByteArrayView input = bytesOf(data, size);
  checkRoundTrip(input);
  checkCut(input);
  checkPrintout(registry, input, input, {"<zq", "zq>", "& Hijos", "\"x\"", "'y'", "& Eva", "\"o\""});
  return 0;
}
