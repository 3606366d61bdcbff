// Both validators end to end over the input as a presentation file: every input line is
// accounted for once, as a report of the expected form or a line of the auxiliary file.
#include <QHash>

#include "declarations/validators.h"
#include "fuzz/fuzz_support.h"
#include "support/varias.h"
#include "support/work_paths.h"

namespace tarquelas::fuzz {
namespace {

// The auxiliary and error files' lines; a file that is written ends every line with CR LF.
std::pair<QList<QByteArray>, std::optional<QByteArray>> validate(
    Status (*validator)(const QString&, const WorkPaths&, Progress&), QByteArrayView input) {
  static const WorkPaths paths = WorkPaths::inDirectory(scratchPath());
  QFile::remove(paths.auxiliar);
  QFile::remove(paths.errores);
  writeFile(scratchPath("presentacion.txt"), input);
  FUZZ_CHECK(validator(scratchPath("presentacion.txt"), paths, noProgress()).isOk());
  const std::optional<QByteArray> aux = readFile(paths.auxiliar), errors = readFile(paths.errores);
  for (const auto& file : {aux, errors}) FUZZ_CHECK(!file || file->endsWith("\r\n"));
  return {referenceLines(aux.value_or(QByteArray())), errors};
}

// The line number of an error report "<prefix>N: ..." (N from 1, plain digits).
qint64 reportedLine(const QByteArray& report, QByteArrayView prefix) {
  const qsizetype colon = report.indexOf(": ", prefix.size());
  FUZZ_CHECK(report.startsWith(prefix) && colon > prefix.size() && report[prefix.size()] != '0');
  bool ok = false;
  const qint64 n = report.mid(prefix.size(), colon - prefix.size()).toLongLong(&ok);
  FUZZ_CHECK(ok && n > 0);
  return n;
}

void checkVouchers(QByteArrayView input) {
  const QList<QByteArray> lines = referenceLines(input);
  const auto [aux, errors] = validate(&validarArchivoTarquelas, input);
  QHash<qint64, QByteArray> reports;
  qint64 previous = 0;
  for (const QByteArray& e : referenceLines(errors.value_or(QByteArray()))) {
    const qint64 n = reportedLine(e, "L\xEDnea ");
    FUZZ_CHECK(n > previous && n <= lines.size() && e.endsWith(". "));  // one report per line, in order
    reports.insert(previous = n, e);
  }
  // Every line is either reported, copied (repaired) or a closing record of 18 bytes.
  qsizetype next = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray repaired = decodificarUTF8(lines[i]);
    const qsizetype length = repaired.size();
    const bool reported = reports.contains(i + 1);
    if (length != 132 && length != 549 && length != 18) {
      FUZZ_CHECK(reported && reports[i + 1].endsWith("Longitud de l\xEDnea. "));
    }
    FUZZ_CHECK(length != 18 || !reported);
    if (reported || length == 18) continue;
    FUZZ_CHECK(next < aux.size() && aux[next++] == repaired);
  }
  FUZZ_CHECK(next == aux.size());
}

// The auxiliary file is the input up to the first faulty line; a wrong length is always reported.
void checkRegistry(QByteArrayView input) {
  const QList<QByteArray> lines = referenceLines(input);
  const auto [aux, errors] = validate(&validarArchivoPadron, input);
  qint64 first = lines.size() + 1;
  if (errors) {
    // All reports, then one empty line.
    const QList<QByteArray> reports = referenceLines(*errors);
    FUZZ_CHECK(errors->endsWith("\r\n\r\n") && reports.size() >= 2 && reports.back().isEmpty());
    qint64 previous = 0;
    for (const QByteArray& e : reports.first(reports.size() - 1)) {
      const qint64 n = reportedLine(e, "Error L\xEDnea ");
      FUZZ_CHECK(n >= previous && n <= lines.size());
      first = qMin(first, previous = n);
    }
  }
  FUZZ_CHECK(aux == lines.first(first - 1));
  for (qsizetype i = 0; i < lines.size(); ++i) FUZZ_CHECK(lines[i].size() == 300 || first <= i + 1);
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView input = tarquelas::fuzz::bytesOf(data, size);
  tarquelas::fuzz::checkVouchers(input);
  tarquelas::fuzz::checkRegistry(input);
  return 0;
}
