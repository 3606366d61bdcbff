// Template cutting, reading and filling: pieces joined by the block markers cut back into
// those pieces; the input as a template is read from a file and filled from a fixed registry.
#include "fuzz/printout_checks.h"
#include "registry_printout/assembly.h"
#include "registry_printout/templates.h"

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

// A template file reads as its lines, each followed by CR LF.
void checkReading(QByteArrayView bytes) {
  const QString path = scratchPath("DisenoConsorcio.htm");
  writeFile(path, bytes);
  const std::optional<QByteArray> text = leerPlantilla(path);
  QByteArray expected;
  for (const QByteArray& line : referenceLines(bytes)) expected += line + "\r\n";
  FUZZ_CHECK(text == expected);
  int messages = 0;
  const DisenoConsorcio d = leerDisenoConsorcio(path, [&](const QString&) { ++messages; });
  FUZZ_CHECK(messages == 0 && d.sDisenoConsorcio == cortarDisenoConsorcio(*text).sDisenoConsorcio);
}

void checkFilling(QByteArrayView text) {
  const DisenoConsorcio c = cortarDisenoConsorcio(text);
  const DisenoTrabajador w = cortarDisenoTrabajador(text);
  // Blocks are pieces of the template, or nothing.
  for (const QByteArray* block :
       {&c.sBloqueAdministraciones, &c.sBloqueTrabajadores, &w.sBloqueBeneficiarios}) {
    FUZZ_CHECK(text.contains(*block));
  }
  if (!c.sDisenoConsorcio.isEmpty()) FUZZ_CHECK(c.sDisenoConsorcio.contains("<@@BLOQUETRABAJADORES@@>"));
  if (!w.sDisenoEmpleado.isEmpty()) FUZZ_CHECK(w.sDisenoEmpleado.contains("<@@BLOQUEBENEFICIARIOS@@>"));

  QByteArray header(300, ' ');
  header.replace(0, 2, "CD").replace(109, 22, "0000012345202301151030");
  const Armado armado(fixedRegistry(), c, w, header);
  const QByteArray designs = c.sDisenoConsorcio + c.sBloqueAdministraciones + c.sBloqueTrabajadores +
                             w.sDisenoEmpleado + w.sBloqueBeneficiarios;
  for (const Entry& consorcio : fixedRegistry().aConsorcios) {
    if (esEntradaVacia(consorcio)) continue;
    const QByteArray page = armado.paginaConsorcio(consorcio);
    FUZZ_CHECK(page.endsWith(kSaltoDePagina));
    checkEscaped(page, designs);
    if (pageDesignsAreClean(c)) FUZZ_CHECK(!page.contains('@'));
    const QByteArray workers = armado.generarTrabajadores(consorcio.value(0));
    checkEscaped(workers, designs);
    if (workerDesignsAreClean(w)) FUZZ_CHECK(!workers.contains('@'));
  }
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  checkRoundTrip(input);
  checkReading(input);
  checkFilling(input);
  return 0;
}
