#include "registry_printout/printout.h"

#include "registry_printout/assembly.h"
#include "support/text_file.h"

namespace tarquelas {
namespace {

constexpr qint64 kConsorciosPorAviso = 32;

qint64 contarConsorcios(const Registry& registry) {
  qint64 n = 0;
  for (const Entry& e : registry.aConsorcios) n += esEntradaVacia(e) ? 0 : 1;
  return n;
}

}  // namespace

Status GenerarHTMLFinal(const Registry& registry, const WorkPaths& paths, QByteArrayView sLineaCabecera,
                        bool trabajadores, const ShowMessage& showMessage, Progress& progress) {
  // Both templates are read first, whether or not worker pages are wanted.
  const Leido<DisenoConsorcio> consorcio = leerDisenoConsorcio(paths.disenoConsorcio, showMessage);
  if (!consorcio.status.isOk()) return consorcio.status;
  const Leido<DisenoTrabajador> trabajador = leerDisenoTrabajador(paths.disenoTrabajador, showMessage);
  if (!trabajador.status.isOk()) return trabajador.status;
  const Armado armado(registry, consorcio.texto, trabajador.texto, sLineaCabecera);

  const qint64 total = contarConsorcios(registry);
  if (!progress.report(Progress::Stage::WritingPrintout, 0, total)) return Status::cancelled();
  LineWriter padron;
  if (Status s = padron.open(paths.padron, LineWriter::Mode::Atomic); !s.isOk()) return s;
  padron.writeLine({});
  qint64 hechos = 0;
  for (const Entry& entry : registry.aConsorcios) {
    if (esEntradaVacia(entry)) continue;
    padron.writeLine(armado.paginaConsorcio(entry));
    if (trabajadores) {
      // All the worker pages of a consortium end in one line end; they go
      // out page by page so a consortium of many workers needs no more memory.
      armado.generarTrabajadores(entry.value(0), [&padron](QByteArrayView pagina) { padron.write(pagina); });
      padron.writeLine({});
    }
    ++hechos;
    if ((hechos % kConsorciosPorAviso == 0 || hechos == total) &&
        !progress.report(Progress::Stage::WritingPrintout, hechos, total)) {
      return Status::cancelled();  // the writer is dropped: Padron.html stays as it was
    }
  }
  return padron.close();
}

}  // namespace tarquelas
