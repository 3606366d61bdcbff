#include "app/command_line.h"

#include <QCoreApplication>

#include "voucher_report/symbology_setting.h"

namespace tarquelas {

namespace {

const QString kOptionPrefix = QStringLiteral("--");

CommandLine wrongUsage(const QString& problem) {
  CommandLine c;
  c.mode = CommandLine::Mode::WrongUsage;
  c.problem = problem;
  return c;
}

// The value after an option, or nothing when it is missing.
bool takeValue(const QStringList& args, qsizetype& i, QString& value) {
  if (i + 1 >= args.size() || args.at(i + 1).startsWith(kOptionPrefix)) return false;
  value = args.at(++i);
  return true;
}

CommandLine parseOptions(const QStringList& args) {
  CommandLine c;
  c.mode = CommandLine::Mode::Batch;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args.at(i);
    bool ok = true;
    if (arg == QStringLiteral("--help"))
      return CommandLine{CommandLine::Mode::Help, {}, {}, {}, false, {}, {}, {}};
    if (arg == QStringLiteral("--version"))
      return CommandLine{CommandLine::Mode::Version, {}, {}, {}, false, {}, {}, {}};
    if (arg == QStringLiteral("--procesar")) {
      ok = takeValue(args, i, c.path);
    } else if (arg == QStringLiteral("--directorio")) {
      ok = takeValue(args, i, c.directory);
    } else if (arg == QStringLiteral("--pdf")) {
      ok = takeValue(args, i, c.pdf);
    } else if (arg == QStringLiteral("--imprimir")) {
      ok = takeValue(args, i, c.printQueue);
    } else if (arg == QStringLiteral("--simbologia")) {
      ok = takeValue(args, i, c.symbology);
      if (ok && !report::symbologyNamed(c.symbology))
        return wrongUsage(QStringLiteral("Simbología desconocida: %1 (code128 o i2of5)").arg(c.symbology));
      c.symbology = c.symbology.toLower();
    } else if (arg == QStringLiteral("--trabajadores")) {
      c.trabajadores = true;
    } else {
      return wrongUsage(QStringLiteral("Opción desconocida: %1").arg(arg));
    }
    if (!ok) return wrongUsage(QStringLiteral("Falta el valor de %1").arg(arg));
  }
  if (c.path.isEmpty()) return wrongUsage(QStringLiteral("Falta --procesar ARCHIVO"));
  return c;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
  if (arguments.isEmpty() || !arguments.constFirst().startsWith(kOptionPrefix)) {
    CommandLine c;
    c.path = arguments.join(QLatin1Char(' ')).remove(QLatin1Char('"'));
    return c;
  }
  return parseOptions(arguments);
}

QString helpText() {
  return QStringLiteral(
      "Uso:\n"
      "  tarquelas [ARCHIVO]\n"
      "      Abre la ventana de generación de tarquelas y comprobantes. Si se\n"
      "      indica ARCHIVO (un archivo de presentación), se reconoce y, cuando\n"
      "      se reconoce, se procesa antes de mostrar la ventana.\n"
      "\n"
      "  tarquelas --procesar ARCHIVO [--directorio DIR] [--trabajadores] [--pdf SALIDA.pdf]\n"
      "            [--imprimir COLA] [--simbologia code128|i2of5]\n"
      "      Procesa ARCHIVO sin ventana: lo reconoce, lo valida y escribe los\n"
      "      comprobantes en PDF o los imprime en COLA (archivo de comprobantes),\n"
      "      o escribe Padron.html (archivo de padrón). Muestra el resumen de la\n"
      "      presentación.\n"
      "\n"
      "Opciones:\n"
      "  --procesar ARCHIVO  archivo de presentación a procesar\n"
      "  --directorio DIR    carpeta de trabajo: diseños, archivos de trabajo y\n"
      "                      Padron.html (por omisión, la carpeta de la aplicación)\n"
      "  --trabajadores      agrega al padrón las páginas de los trabajadores\n"
      "  --pdf SALIDA.pdf    dónde escribir los comprobantes (por omisión,\n"
      "                      Tarquelas.pdf en DIR; con --imprimir, sólo si se indica)\n"
      "  --imprimir COLA     imprime los comprobantes en la cola de impresión COLA\n"
      "                      (los nombres de las colas los da «lpstat -e»)\n"
      "  --simbologia NOMBRE código de barras de los comprobantes: code128 (Code 128)\n"
      "                      o i2of5 (Intercalado 2 de 5, con un 0 adelante); por\n"
      "                      omisión, el de la configuración (codigoDeBarras/simbologia\n"
      "                      en ~/.config/tarquelas/tarquelas.conf), o code128\n"
      "  --help              muestra esta ayuda\n"
      "  --version           muestra la versión\n"
      "\n"
      "Estado de salida: 0 procesado, 1 archivo con errores (se escribe\n"
      "TarquelasErrores.txt), 2 uso incorrecto o falla inesperada.\n");
}

QString versionText() { return QStringLiteral("tarquelas %1\n").arg(QStringLiteral(TARQUELAS_VERSION)); }

}  // namespace tarquelas
