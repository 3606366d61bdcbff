// A fuzzed template, cut as both designs and held against a plain
// reading of the cutting rules; then read back from a file, and the cut
// designs filled from a small fixed registry whose values need escaping.
#include "fuzz/printout_checks.h"
#include "registry_printout/assembly.h"
#include "registry_printout/templates.h"

namespace tarquelas::fuzz {
namespace {

// The cutting rules read plainly: 1-based positions, markers found in any
// letter case, a negative length fails the step and every later one.
class Reference {
 public:
  explicit Reference(QByteArrayView t) : t_(t), up_(t.toByteArray().toUpper()) {}
  qint64 pos(QByteArrayView marker) const { return up_.indexOf(marker) + 1; }
  std::optional<QByteArray> cut(qint64 s, qint64 n) const {
    if (n < 0) return std::nullopt;
    if (s > t_.size()) return QByteArray();
    return t_.sliced(s - 1, qMin(n, t_.size() - (s - 1))).toByteArray();
  }
  QByteArray rest(qint64 s) const { return s > t_.size() ? QByteArray() : t_.sliced(s - 1).toByteArray(); }

 private:
  QByteArrayView t_;
  QByteArray up_;
};

DisenoConsorcio referenceConsorcio(QByteArrayView text) {
  const Reference r(text);
  const qint64 ia = r.pos("<@@INICIOBLOQUEADMINISTRACIONES@@>"),
               fa = r.pos("<@@FINBLOQUEADMINISTRACIONES@@>");
  const qint64 it = r.pos("<@@INICIOBLOQUETRABAJADORES@@>"), ft = r.pos("<@@FINBLOQUETRABAJADORES@@>");
  DisenoConsorcio d;
  std::optional<QByteArray> a, b;
  if (ia < it) {
    a = r.cut(1, ia - 1), b = r.cut(fa + 31, it - (fa + 31));
    if (!a || !b) return d;
    d.sDisenoConsorcio =
        *a + "<@@BLOQUEADMINISTRACIONES@@>" + *b + "<@@BLOQUETRABAJADORES@@>" + r.rest(ft + 27);
  } else {
    a = r.cut(1, it - 1), b = r.cut(ft + 27, ia - (ft + 27));
    if (!a || !b) return d;
    d.sDisenoConsorcio =
        *a + "<@@BLOQUETRABAJADORES@@>" + *b + "<@@BLOQUEADMINISTRACIONES@@>" + r.rest(fa + 31);
  }
  const auto admin = r.cut(ia + 34, fa - (ia + 34));
  if (!admin) return d;
  d.sBloqueAdministraciones = *admin;
  const auto workers = r.cut(it + 30, ft - (it + 30));
  if (!workers) return d;
  d.sBloqueTrabajadores = *workers;
  return d;
}

DisenoTrabajador referenceTrabajador(QByteArrayView text) {
  const Reference r(text);
  const qint64 ib = r.pos("<@@INICIOBLOQUEBENEFICIARIOS@@>"), fb = r.pos("<@@FINBLOQUEBENEFICIARIOS@@>");
  DisenoTrabajador d;
  const auto before = r.cut(1, ib - 1);
  if (!before) return d;
  d.sDisenoEmpleado = *before + "<@@BLOQUEBENEFICIARIOS@@>" + r.rest(fb + 28);
  const auto block = r.cut(ib + 31, fb - (ib + 31));
  if (!block) return d;
  d.sBloqueBeneficiarios = *block;
  return d;
}

void checkCutting(QByteArrayView text) {
  const DisenoConsorcio c = cortarDisenoConsorcio(text), rc = referenceConsorcio(text);
  FUZZ_CHECK(c.sDisenoConsorcio == rc.sDisenoConsorcio);
  FUZZ_CHECK(c.sBloqueAdministraciones == rc.sBloqueAdministraciones);
  FUZZ_CHECK(c.sBloqueTrabajadores == rc.sBloqueTrabajadores);
  const DisenoTrabajador w = cortarDisenoTrabajador(text), rw = referenceTrabajador(text);
  FUZZ_CHECK(w.sDisenoEmpleado == rw.sDisenoEmpleado);
  FUZZ_CHECK(w.sBloqueBeneficiarios == rw.sBloqueBeneficiarios);
}

// A template file reads as its lines, each followed by CR LF.
void checkReading(QByteArrayView bytes) {
  const QString path = scratchPath("DisenoConsorcio.htm");
  writeFile(path, bytes);
  const std::optional<QByteArray> text = leerPlantilla(path);
  FUZZ_CHECK(text.has_value());
  QByteArray expected;
  for (const QByteArray& line : referenceLines(bytes)) expected += line + "\r\n";
  FUZZ_CHECK(*text == expected);
  QList<QString> messages;
  const DisenoConsorcio d = leerDisenoConsorcio(path, [&](const QString& m) { messages << m; });
  FUZZ_CHECK(messages.isEmpty());
  FUZZ_CHECK(d.sDisenoConsorcio == cortarDisenoConsorcio(*text).sDisenoConsorcio);
}

void checkFilling(QByteArrayView text) {
  const Registry& registry = fixedRegistry();
  const DisenoConsorcio c = cortarDisenoConsorcio(text);
  const DisenoTrabajador w = cortarDisenoTrabajador(text);
  const Armado armado(registry, c, w, fixedHeader());
  const QByteArray designs = c.sDisenoConsorcio + c.sBloqueAdministraciones + c.sBloqueTrabajadores +
                             w.sDisenoEmpleado + w.sBloqueBeneficiarios;
  for (const Entry& consorcio : registry.aConsorcios) {
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

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  checkCutting(input);
  checkReading(input);
  checkFilling(input);
  return 0;
}
