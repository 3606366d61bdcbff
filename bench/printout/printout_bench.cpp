// Loads a validated registry file as the auxiliary file and writes
// Padron.html into an App directory that holds the two templates; prints
// the time of each step, the peak memory and the pages a printed copy
// should have (one per consortium page and per worker page).
//
//   printout_bench REGISTRY APPDIR [--sin-trabajadores]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <cstdio>

#include "registry_printout/printout.h"
#include "support/fields.h"
#include "support/text_file.h"

using namespace tarquelas;

namespace {

// Consortium pages plus, for each, the workers of its C.U.I.T.
qint64 paginasEsperadas(const Registry& registry, bool trabajadores) {
  QHash<QByteArray, qint64> porConsorcio;
  for (const Entry& w : registry.aTrabajadores)
    if (!w.isEmpty() && !w[0].isEmpty()) ++porConsorcio[w[0].toByteArray()];
  qint64 paginas = 0;
  for (const Entry& c : registry.aConsorcios)
    if (!c.isEmpty()) paginas += 1 + (trabajadores ? porConsorcio.value(c[0].toByteArray()) : 0);
  return paginas;
}

rusage uso() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u;
}

long picoDeMemoriaKb() { return uso().ru_maxrss; }

// Processor time (user and system) so far, which other work on the
// machine does not stretch the way it stretches the elapsed time.
qint64 msDeProcesador() {
  const rusage u = uso();
  const auto ms = [](const timeval& t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

int fallar(const QString& texto) {
  std::fprintf(stderr, "%s\n", qPrintable(texto));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3)
    return fallar(QStringLiteral("uso: printout_bench REGISTRO APPDIR [--sin-trabajadores]"));
  const QString registro = args[1];
  const WorkPaths paths = WorkPaths::inDirectory(args[2]);
  const bool trabajadores = !args.contains(QStringLiteral("--sin-trabajadores"));

  const FirstLineResult cabecera = readFirstLine(registro);
  if (!cabecera.status.isOk()) return fallar(cabecera.status.description());

  QElapsedTimer reloj;
  reloj.start();
  const qint64 cpuInicio = msDeProcesador();
  const LoadResult cargado = cargarPadron(registro);
  if (!cargado.status.isOk()) return fallar(cargado.status.description());
  const qint64 msCarga = reloj.restart();
  const long picoCargaKb = picoDeMemoriaKb();
  const Status escrito =
      GenerarHTMLFinal(cargado.registry, paths, cabecera.line.value_or(QByteArray()), trabajadores,
                       [](const QString& m) { std::fprintf(stderr, "mensaje: %s\n", qPrintable(m)); });
  if (!escrito.isOk()) return fallar(escrito.description());
  const qint64 msEscritura = reloj.elapsed();

  std::printf("carga_ms %lld\nescritura_ms %lld\ntotal_ms %lld\n", msCarga, msEscritura,
              msCarga + msEscritura);
  std::printf("cpu_ms %lld\n", msDeProcesador() - cpuInicio);
  std::printf("pico_carga_kb %ld\npico_kb %ld\n", picoCargaKb, picoDeMemoriaKb());
  std::printf("padron_bytes %lld\npaginas %lld\n", QFileInfo(paths.padron).size(),
              paginasEsperadas(cargado.registry, trabajadores));
  return 0;
}
