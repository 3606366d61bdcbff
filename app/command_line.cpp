#include "app/command_line.h"

#include <QCoreApplication>
#include <algorithm>

#include "support/varias.h"
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

// Why text, its dashes removed, is not a C.U.I.T.; empty when it is one.
QString cuitProblem(const QString& digits) {
  if (std::any_of(digits.begin(), digits.end(), [](QChar c) { return c < u'0' || c > u'9'; }))
    return QStringLiteral("tiene caracteres que no son dígitos");
  if (digits.size() != 11) return QStringLiteral("no tiene 11 dígitos");
  const QByteArray bytes = digits.toLatin1();
  if (digitoVerificador(bytes) != bytes.back() - '0')
    return QStringLiteral("el dígito verificador no corresponde");
  if (!validarCUIT(bytes)) return QStringLiteral("no puede empezar con 00 ni con 99");
  return {};
}

// Adds the C.U.I.T.s of a comma list to c; the problem of the first one
// that is not a C.U.I.T., if any.
QString addCuits(CommandLine& c, const QString& list) {
  for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
    const QString given = item.trimmed();
    const QString digits = QString(given).remove(u'-');
    if (const QString problem = cuitProblem(digits); !problem.isEmpty())
      return QStringLiteral("La C.U.I.T. «%1» no es válida: %2.").arg(given, problem);
    if (!c.cuits.contains(digits)) c.cuits.append(digits);
  }
  return {};
}

// Where the value of a batch option goes; nothing for an unknown option.
QString* valueOf(CommandLine& c, const QString& option) {
  if (option == QStringLiteral("--procesar")) return &c.path;
  if (option == QStringLiteral("--directorio")) return &c.directory;
  if (option == QStringLiteral("--pdf")) return &c.pdf;
  if (option == QStringLiteral("--imprimir")) return &c.printQueue;
  if (option == QStringLiteral("--simbologia")) return &c.symbology;
  return nullptr;
}

CommandLine modeOnly(CommandLine::Mode mode) {
  CommandLine c;
  c.mode = mode;
  return c;
}

CommandLine parseOptions(const QStringList& args) {
  CommandLine c;
  c.mode = CommandLine::Mode::Batch;
  QStringList given;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args.at(i);
    if (arg == QStringLiteral("--help")) return modeOnly(CommandLine::Mode::Help);
    if (arg == QStringLiteral("--version")) return modeOnly(CommandLine::Mode::Version);
    // --cuit adds up; any other value given twice would silently win over the first.
    const bool cuit = arg == QStringLiteral("--cuit");
    QString list;
    QString* value = cuit ? &list : valueOf(c, arg);
    if (value == nullptr && arg != QStringLiteral("--trabajadores"))
      return wrongUsage(QStringLiteral("Opción desconocida: %1").arg(arg));
    if (!cuit && given.contains(arg))
      return wrongUsage(QStringLiteral("La opción %1 se dio dos veces").arg(arg));
    given.append(arg);
    if (value == nullptr) {
      c.trabajadores = true;
    } else if (!takeValue(args, i, *value)) {
      return wrongUsage(QStringLiteral("Falta el valor de %1").arg(arg));
    } else if (cuit ? QString(list).remove(u',').trimmed().isEmpty() : value->isEmpty()) {
      return wrongUsage(QStringLiteral("El valor de %1 está vacío").arg(arg));
    } else if (const QString problem = cuit ? addCuits(c, list) : QString(); !problem.isEmpty()) {
      return wrongUsage(problem);
    } else if (value == &c.symbology) {
      if (!report::symbologyNamed(c.symbology))
        return wrongUsage(QStringLiteral("Simbología desconocida: %1 (code128 o i2of5)").arg(c.symbology));
      c.symbology = c.symbology.toLower();
    }
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
      "            [--imprimir COLA] [--cuit CUIT[,CUIT...]] [--simbologia code128|i2of5]\n"
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
      "  --cuit CUIT         sólo los comprobantes del consorcio de esa C.U.I.T., todas\n"
      "                      sus páginas (con guiones o sin ellos); se repite o se\n"
      "                      indican varias separadas por comas\n"
      "  --simbologia NOMBRE código de barras de los comprobantes: code128 (Code 128)\n"
      "                      o i2of5 (Intercalado 2 de 5, con un 0 adelante); por\n"
      "                      omisión, el de la configuración (codigoDeBarras/simbologia\n"
      "                      en ~/.config/tarquelas/tarquelas.conf), o code128\n"
      "  --help              muestra esta ayuda\n"
      "  --version           muestra la versión\n"
      "\n"
      "Estado de salida: 0 procesado, 1 archivo con errores (se escribe\n"
      "TarquelasErrores.txt) o una C.U.I.T. de --cuit sin comprobantes en el\n"
      "archivo, 2 uso incorrecto o falla inesperada.\n");
}

QString versionText() { return QStringLiteral("tarquelas %1\n").arg(QStringLiteral(TARQUELAS_VERSION)); }

}  // namespace tarquelas
